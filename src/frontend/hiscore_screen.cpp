// The hi-score list screen, and the drawing of the table that the end of a game shares.
#include "frontend/hiscore_screen.h"

#include "app/app.h"
#include "app/sprites.h"
#include "display/display.h"
#include "frontend/menu.h"
#include "game/hiscore.h"
#include "game/hud.h"
#include "sound/sound.h"

namespace {

constexpr int32_t TABLE_TOP = 120;
constexpr int32_t ROW_HEIGHT = 20;
constexpr int32_t INITIALS_X = 260;
constexpr int32_t INITIAL_WIDTH = 12;
constexpr int32_t EMPTY_INITIALS_X = 264;
constexpr int32_t SCORE_X = 360;
constexpr int32_t SHIFT_LEFT_DX = -60;

char initial_of(const HiscoreRow& row, int32_t k) { return row.initials != nullptr ? row.initials[k] : '\0'; }

void draw_initials(const HiscoreRow& row, int32_t dx, int32_t y, int32_t highlighted) {
  for (int32_t k = 0; k < 3; ++k) {
    text_format("%c", initial_of(row, k));
    draw_text_shadowed(text_buffer, dx + INITIALS_X + INITIAL_WIDTH * k, y,
                       k == highlighted ? COLOUR_PALE_YELLOW : COLOUR_MAGENTA);
  }
}

void draw_score(const HiscoreRow& row, int32_t dx, int32_t y) {
  text_format("%d", row.score);
  draw_text_shadowed(text_buffer, dx + SCORE_X, y, COLOUR_PALE_YELLOW);
}


}  // namespace

void hiscore_table_draw(int32_t shift_left) {
  const int32_t dx = shift_left ? SHIFT_LEFT_DX : 0;
  for (int32_t i = 0; i < HISCORE_ENTRIES; ++i) {
    HiscoreRow& row = hiscore_table.rows[i];
    const int32_t y = TABLE_TOP + ROW_HEIGHT * i;
    if (i == hiscore_edit_row) {
      // The row shows the letter on offer at the cursor: the table itself takes it.
      const bool cursor_valid = hiscore_edit_cursor >= 0 && hiscore_edit_cursor < 3;
      if (cursor_valid && row.initials != nullptr) row.initials[hiscore_edit_cursor] = static_cast<char>(hiscore_edit_letter);
      draw_initials(row, dx, y, cursor_valid ? hiscore_edit_cursor : -1);
      draw_score(row, dx, y);
    } else if (row.score <= 0) {
      draw_text_shadowed("-", dx + EMPTY_INITIALS_X, y, COLOUR_MAGENTA);
      draw_text_shadowed("-", dx + SCORE_X, y, COLOUR_PALE_YELLOW);
    } else {
      draw_initials(row, dx, y, -1);
      draw_score(row, dx, y);
    }
  }
}

// One page a pass until Esc; closing the window leaves as Esc does, and the main loop then
// takes the close.
void hiscore_screen_run(const Input& input) {
  if (!input_held(input, VK_ESCAPE) && !input.close_requested) {
    display_fill(display_back, 0);
    bob_set_position(&menu_picture_sprite, 0, 0);
    bob_draw(&menu_picture_sprite, display_back);
    bob_set_position(&title_sprite, 280, 0);
    bob_draw(&title_sprite, display_back);
    text_format("Created by Quarrel Forge");
    draw_text_shadowed(text_buffer, 260, 30, COLOUR_PALE_YELLOW);
    text_format("HI-SCORE LIST");
    draw_text_shadowed(text_buffer, 290, 70, COLOUR_ORANGE);
    text_format("Press Esc key to go back to the menu again!");
    draw_text_shadowed(text_buffer, 180, 460, COLOUR_WHITE);
    if (hiscore_loaded == 0) {
      hiscore_edit_row = hiscore_load(-1);
      hiscore_loaded = 1;
    }
    hiscore_table_draw(0);
    display_flip();
    return;
  }
  sound_effect(SND_MENUSELECT);
  menu_frames = 0;
  screen_state = SCREEN_MENU;
}
