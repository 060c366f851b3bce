// The drawing of the hi-score table, shared by the initials entry and the hi-score list.
#include "display/display.h"
#include "display/text.h"
#include "game/hiscore.h"

namespace {

constexpr int32_t TABLE_TOP = 120;
constexpr int32_t ROW_HEIGHT = 20;
constexpr int32_t INITIALS_X = 260;
constexpr int32_t INITIAL_WIDTH = 12;
constexpr int32_t EMPTY_INITIALS_X = 264;
constexpr int32_t SCORE_X = 360;
constexpr int32_t SHIFT_LEFT_DX = -60;

void draw_initials(const HiscoreRow& row, int32_t dx, int32_t y, int32_t highlighted) {
  for (int32_t k = 0; k < 3; ++k) {
    text_format("%c", row.initials[k]);
    draw_text_shadowed(text_buffer, dx + INITIALS_X + INITIAL_WIDTH * k, y,
                       k == highlighted ? COLOUR_PALE_YELLOW : COLOUR_MAGENTA, display.display_back);
  }
}

void draw_score(const HiscoreRow& row, int32_t dx, int32_t y) {
  text_format("%d", row.score);
  draw_text_shadowed(text_buffer, dx + SCORE_X, y, COLOUR_PALE_YELLOW, display.display_back);
}

}  // namespace

void hiscore_table_draw(const Hiscores& h, bool shift_left) {
  const int32_t dx = shift_left ? SHIFT_LEFT_DX : 0;
  for (int32_t i = 0; i < HISCORE_ENTRIES; ++i) {
    const HiscoreRow& row = h.hiscore_table.rows[i];
    const int32_t y = TABLE_TOP + ROW_HEIGHT * i;
    if (i == h.hiscore_edit_row) {
      const bool cursor_valid = h.hiscore_edit_cursor >= 0 && h.hiscore_edit_cursor < 3;
      draw_initials(row, dx, y, cursor_valid ? h.hiscore_edit_cursor : -1);
      draw_score(row, dx, y);
    } else if (row.score <= 0) {
      draw_text_shadowed("-", dx + EMPTY_INITIALS_X, y, COLOUR_MAGENTA, display.display_back);
      draw_text_shadowed("-", dx + SCORE_X, y, COLOUR_PALE_YELLOW, display.display_back);
    } else {
      draw_initials(row, dx, y, -1);
      draw_score(row, dx, y);
    }
  }
}
