// The screens around the game: which one runs, the main menu's state, and one pass of them.
#pragma once
#include <cstdint>

#include "common/input.h"
#include "display/still.h"
#include "game/game.h"

enum : int32_t { SCREEN_MENU = 0, SCREEN_GAME = 1, SCREEN_HISCORES = 2, SCREEN_ABOUT = 3 };

constexpr int32_t MENU_ITEMS = 5;
constexpr int32_t MENU_ESC_FRAMES = 50;
// The farewell stays two seconds: 120 ticks of the 60 Hz clock.
constexpr int32_t FAREWELL_TICKS = 120;

struct Menu {
  int32_t menu_selection = 0;
  int32_t menu_key_latch = 0;  // shared with the initials entry: one press acts once
  int32_t menu_frames = 0;     // menu frames since it was entered; Esc counts from the 50th
  float scroll_x_intro = 700.0f;
  float scroll_x_credits = 700.0f;
  int32_t farewell_ticks = 0;  // while above 0 the farewell is up and the menu's frame waits
  // The picture without its scrolling lines, kept on the display's still layer, and what it
  // was composed for: drawn again only when one of these changed.
  StillFrame still;
  int32_t still_selection = -1;
  int32_t still_title_x = 0;
  PALETTEENTRY still_palette[256] = {};
};

struct Frontend {
  int32_t screen_state = SCREEN_MENU;
  Menu menu;
};

// What a pass asks of the program.
struct FrontendResult {
  bool quit = false;  // the program is to end (Esc in the menu, or "Quit" after its farewell)
  int32_t pass_end = PASS_END_NOTHING;  // how the main loop ends the pass (game.h)
  GameFrameResult game;  // a game frame's requests, taken once its picture is shown
};

// One pass of the screen that screen_state names (or of a game frame that waits for F1).
FrontendResult frontend_run_pass(Frontend& frontend, Game& game, Round& round, Hiscores& hiscores,
                                 const Assets& assets, const Input& input);
// After the pass's picture is shown: the screen a game frame's Esc or new game chose.
void frontend_finish_pass(Frontend& frontend, const FrontendResult& result);

// The menu's part of a new game: the scrolling lines start again, "New Game" is chosen.
void menu_on_new_game(Menu& menu);

// The screens, each one pass.
FrontendResult menu_run_frame(Frontend& frontend, Game& game, Round& round, Hiscores& hiscores, const Assets& assets,
                              const Input& input);
FrontendResult about_screen_run(Frontend& frontend, const Assets& assets, const Input& input);
FrontendResult hiscore_screen_run(Frontend& frontend, Hiscores& hiscores, const Assets& assets, const Input& input);

// The two information lines (779 and 269 characters).
const char* menu_intro_line();
const char* menu_credits_line();
