// One pass of the screens, and what a game frame's results mean for them.
#include "frontend/frontend.h"

void menu_on_new_game(Menu& menu) {
  menu.scroll_x_intro = 700.0f;
  menu.scroll_x_credits = 700.0f;
  menu.menu_selection = 1;
  menu.menu_key_latch = 0;
  menu.menu_frames = 0;
}

FrontendResult frontend_run_pass(Frontend& frontend, Game& game, Round& round, Hiscores& hiscores,
                                 const Assets& assets, const Input& input) {
  // A game frame that waits for F1 to be released goes on whatever screen its Esc chose.
  const int32_t screen = game_frame_waiting(game) ? SCREEN_GAME : frontend.screen_state;
  switch (screen) {
    case SCREEN_MENU:
      return menu_run_frame(frontend, game, round, hiscores, assets, input);
    case SCREEN_GAME: {
      FrontendResult result;
      result.game = game_run_frame(game, round, hiscores, frontend.menu.menu_key_latch, assets, input);
      result.pass_end = result.game.pass_end;
      return result;
    }
    case SCREEN_HISCORES:
      return hiscore_screen_run(frontend, hiscores, assets, input);
    case SCREEN_ABOUT:
      return about_screen_run(frontend, assets, input);
    default:
      return FrontendResult{};
  }
}

void frontend_finish_pass(Frontend& frontend, const FrontendResult& result) {
  // In the frame's order: its Esc came first, a new game after it.
  if (result.game.to_menu) {
    frontend.screen_state = SCREEN_MENU;
    frontend.menu.menu_frames = 1;
  }
  if (result.game.new_game) menu_on_new_game(frontend.menu);
}
