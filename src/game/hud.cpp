// The side panel of the game screen and the messages of the game phases over the playfield.
#include "game/hud.h"

#include "display/display.h"
#include "display/gdi.h"
#include "display/text.h"

namespace {

// 100 / 219961 in single precision: claimed cells to percent of the playfield.
constexpr float CELL_PERCENT = 0.00045462605f;
// -148 / 60 in single precision: seconds left to the width of the time bar.
constexpr float BAR_PER_SECOND = -2.4666667f;
constexpr int32_t BAR_LEFT = 490;

constexpr int32_t LABEL_X = 489;
constexpr int32_t VALUE_X = 568;
constexpr int32_t LIVES_Y = 157;
constexpr int32_t LIVES_FIRST_X = 568;
constexpr int32_t LIVES_LAST_X = 624;
constexpr int32_t LIVES_STEP = 14;

// Draws what text_format left in text_buffer.
void show(Surface* target, int32_t x, int32_t y, COLORREF colour) { draw_text(text_buffer, x, y, colour, target); }

void panel_label(Surface* target, const char* label, int32_t y) {
  text_format("%s", label);
  show(target, LABEL_X, y, COLOUR_WHITE);
}

void panel_number(Surface* target, int32_t value, int32_t y) {
  text_format("%d", value);
  show(target, VALUE_X, y, COLOUR_WHITE);
}

void panel_values(const Game& game, const Round& round, Surface* target) {
  panel_label(target, "Score", 24);
  panel_number(target, game.game_score, 24);
  panel_label(target, "High", 36);
  panel_number(target, game.high_shown, 36);
  panel_label(target, "Level", 60);
  panel_number(target, game.game_level, 60);
  panel_label(target, "Filled", 84);
  hud_filled_text(round.claimed_cells);
  show(target, VALUE_X, 84, COLOUR_WHITE);
  panel_label(target, "Required", 96);
  text_format("%d%%", CLAIM_TARGET_PERCENT);
  show(target, VALUE_X, 96, COLOUR_WHITE);
  panel_label(target, "Time left", 120);
}

// The gauge under a device context of its own; 0 when the surface gives none.
bool time_bar(int32_t time_left, Surface* target) {
  DeviceContext dc;
  if (!surface_get_dc(target, &dc)) return false;
  const Rect frame{489, 135, 639, 147};
  gdi_frame_rect(&dc, &frame, COLOUR_YELLOW);
  const Rect bar{BAR_LEFT, 136, hud_time_bar_right(time_left), 146};
  if (bar.right > bar.left) gdi_fill_rect(&dc, &bar, COLOUR_RED);
  surface_release_dc(target, &dc);
  return true;
}

void lives_row(int32_t game_lives, const Assets& assets, Surface* target) {
  auto sprite_at = [target](const Bob& sprite, int32_t x, int32_t y) { bob_draw_at(sprite, x, y, target); };
  panel_label(target, "Lives", 156);
  int32_t x = LIVES_FIRST_X;
  for (int32_t lost = LIVES_AT_START - game_lives; lost > 0 && x <= LIVES_LAST_X; --lost, x += LIVES_STEP)
    sprite_at(assets.skull_sprite, x, LIVES_Y);
  if (game_lives > 0 && game_lives <= LIVES_AT_START) {
    x = LIVES_LAST_X + LIVES_STEP - LIVES_STEP * game_lives;
    sprite_at(assets.marker_sprite_a, x, LIVES_Y);
    for (x += LIVES_STEP; x <= LIVES_LAST_X; x += LIVES_STEP) sprite_at(assets.marker_sprite_b, x, LIVES_Y);
  }
}

void controls_help(Surface* target) {
  struct HelpText {
    const char* text;
    int32_t x, y;
    COLORREF colour;
  };
  static const HelpText HELP[] = {
      {"Up", 556, 208, COLOUR_YELLOW},          {"Down", 546, 306, COLOUR_YELLOW},
      {"Left", 496, 260, COLOUR_YELLOW},        {"Right", 606, 260, COLOUR_YELLOW},
      {"SHIFT", 489, 330, COLOUR_YELLOW},       {"- Fast move", 548, 330, COLOUR_VIOLET},
      {"CTRL", 489, 342, COLOUR_YELLOW},        {"- Slow move", 548, 342, COLOUR_VIOLET},
      {"F1", 489, 354, COLOUR_YELLOW},          {"- Pause game", 548, 354, COLOUR_VIOLET},
      {"Esc", 489, 366, COLOUR_YELLOW},         {"- Quit game", 548, 366, COLOUR_VIOLET},
  };
  for (const HelpText& h : HELP) {
    text_format("%s", h.text);
    show(target, h.x, h.y, h.colour);
  }
}

void level_complete_message(const Game& game, const Round& round, Surface* target) {
  text_format("Level %d completed!", game.game_level);
  show(target, 210, 210, COLOUR_WHITE);
  const int32_t extra = hud_extra_percent(round.claimed_cells);
  text_format("Additional territory claimed: %d%%", extra);
  show(target, 170, 230, COLOUR_GREY);
  if (extra < 1) {
    text_format("Sorry no bonus points!");
    show(target, 210, 250, COLOUR_GREY);
  } else {
    text_format("Bonus points: 1000 x %d = %d", extra, extra * LEVEL_BONUS_PER_PERCENT);
    show(target, 180, 250, COLOUR_GREY);
  }
  // The bonus itself is paid after this frame's picture (the score shows it from the next one).
  if (round.phase_frames >= PHASE_WAIT_FRAMES) {
    text_format("Get ready for level %d!", game.game_level + 1);
    show(target, 206, 280, COLOUR_WHITE);
  }
}

void hiscore_entry_message(const Hiscores& hiscores, Surface* target) {
  text_format("Well done! You're on the Top 10 list!");
  show(target, 120, 40, COLOUR_PALE_YELLOW);
  text_format("Use arrow keys to enter initials and then press ENTER.");
  show(target, 80, 360, COLOUR_WHITE);
  text_format("Top 10 Hi-Scores");
  show(target, 190, 100, COLOUR_PALE_YELLOW);
  hiscore_table_draw(hiscores, true);
}

void phase_message(const Game& game, const Round& round, const Hiscores& hiscores, Surface* target) {
  const int32_t game_lives = game.game_lives, game_score = game.game_score;
  switch (game.game_phase) {
    case PHASE_PLAYING:
      if (round.qix.qix_captured) {
        text_format("QIX split - well done!");
        show(target, 220, 230, COLOUR_WHITE);
        text_format("Bonus points: %d!", game.game_level * CAPTURE_BONUS_PER_LEVEL);
        show(target, 100, 250, COLOUR_GREY);
      }
      break;
    case PHASE_LIFE_LOST:
      if (game_lives >= 1 && round.phase_announced) {
        text_format("OUCH! You lost one life! %d %s left...", game_lives, game_lives == 1 ? "life" : "lives");
        show(target, 120, 230, COLOUR_WHITE);
        if (round.phase_frames > PHASE_WAIT_FRAMES) {
          text_format("Press SPACE bar when you're ready!");
          show(target, 120, 250, COLOUR_WHITE);
        }
      }
      break;
    case PHASE_PAUSED:
      text_format("Game Paused");
      show(target, 220, 230, COLOUR_WHITE);
      text_format("Press F1 to resume game or ESC to quit!");
      show(target, 80, 250, COLOUR_GREY);
      if (game.paused_by_focus) {
        text_format("(paused while the window was in the background)");
        show(target, 110, 270, COLOUR_GREY);
      }
      break;
    case PHASE_GAME_OVER:
      if (game_score == 0 || game_score < game.recorded_score) {
        text_format("Game Over");
        show(target, 220, 230, COLOUR_WHITE);
        text_format("Press ENTER key to play again or ESC key for menu!");
        show(target, 80, 250, COLOUR_GREY);
      }
      break;
    case PHASE_LEVEL_COMPLETE:
      level_complete_message(game, round, target);
      break;
    case PHASE_HISCORE_ENTRY:
      hiscore_entry_message(hiscores, target);
      break;
    default:
      break;
  }
}

}  // namespace

const char* hud_filled_text(int32_t cells) {
  return text_format("%2.1f%%", static_cast<double>(static_cast<float>(cells) * CELL_PERCENT));
}

int32_t hud_time_bar_right(int32_t seconds_left) {
  float width = static_cast<float>(seconds_left) * BAR_PER_SECOND;
  // A clock that jumps far would otherwise leave the range of the conversion.
  if (width > 1.0e6f) width = 1.0e6f;
  if (width < -1.0e6f) width = -1.0e6f;
  return BAR_LEFT - static_cast<int32_t>(width);
}

int32_t hud_extra_percent(int32_t cells) {
  const float beyond = static_cast<float>(static_cast<int64_t>(cells) - CLAIM_TARGET_CELLS);
  return static_cast<int32_t>(beyond * CELL_PERCENT);
}

bool hud_draw_panel(const Game& game, const Round& round, const Assets& assets, Surface* target) {
  panel_values(game, round, target);
  // Without a device context for the gauge nothing more is drawn this frame.
  if (!time_bar(game.time_left, target)) return false;
  lives_row(game.game_lives, assets, target);
  controls_help(target);
  return true;
}

void hud_draw_message(const Game& game, const Round& round, const Hiscores& hiscores, Surface* target) {
  phase_message(game, round, hiscores, target);
}
