// The main menu: one complete picture per frame, the five items, the two scrolling lines, and
// the farewell of "Quit".
#include <cstring>

#include "display/display.h"
#include "display/text.h"
#include "frontend/frontend.h"
#include "sound/sound.h"

namespace {

struct MenuItem {
  const char* label;
  const char* description;
};

const MenuItem MENU_ITEM_TEXTS[MENU_ITEMS] = {
    {"Resume", "Resume interrupted game"},
    {"New Game", "Start a new game."},
    {"Hi-Scores", "View the hi-score list."},
    {"About", "General information"},
    {"Quit", "Exit to Windows"},
};

enum : int32_t { ITEM_RESUME = 0, ITEM_NEW_GAME = 1, ITEM_HISCORES = 2, ITEM_ABOUT = 3, ITEM_QUIT = 4 };

constexpr float INTRO_RESTART_AT = -5000.0f;
constexpr float CREDITS_RESTART_AT = -2500.0f;
constexpr float SCROLL_START = 640.0f;

void draw_formatted_shadowed(const char* text, int32_t x, int32_t y, COLORREF colour, Surface* target) {
  draw_text_shadowed(text_format("%s", text), x, y, colour, target);
}

// The farewell goes straight over whatever the back buffer holds, without shadows; the main
// loop shows it at the end of the pass.
void farewell_draw() {
  draw_text(text_format("Thanks for playing Zorvane!"), 240, 380, COLOUR_PALE_YELLOW, display.display_back);
  draw_text(text_format("Be back soon to beat the hi-score!"), 230, 400, COLOUR_PALE_YELLOW, display.display_back);
}

void menu_choose(Frontend& fe, Game& game, Round& round, Hiscores& hiscores) {
  Menu& menu = fe.menu;
  sound_effect(SND_MENUSELECT);
  switch (menu.menu_selection) {
    case ITEM_RESUME:
      sound_effect(SND_CONNECT);
      sound_effect(SND_STARTUP);
      fe.screen_state = SCREEN_GAME;
      break;
    case ITEM_NEW_GAME:
      sound_effect(SND_CONNECT);
      sound_effect(SND_STARTUP);
      fe.screen_state = SCREEN_GAME;
      game_new(game, hiscores);
      menu_on_new_game(menu);
      game_new_level(game, round);
      break;
    case ITEM_HISCORES:
      fe.screen_state = SCREEN_HISCORES;
      break;
    case ITEM_ABOUT:
      fe.screen_state = SCREEN_ABOUT;
      break;
    case ITEM_QUIT:
      farewell_draw();
      menu.farewell_ticks = FAREWELL_TICKS;
      break;
    default:
      break;
  }
}

void menu_browse(Menu& menu, const Input& input) {
  // Down wins when both are held; the latch makes one press move one item.
  if (menu.menu_key_latch) return;
  if (input_held(input, VK_DOWN)) {
    menu.menu_selection = menu.menu_selection >= MENU_ITEMS - 1 ? 0 : menu.menu_selection + 1;
    sound_effect(SND_MENUBROWSE);
  } else if (input_held(input, VK_UP)) {
    menu.menu_selection = menu.menu_selection <= 0 ? MENU_ITEMS - 1 : menu.menu_selection - 1;
    sound_effect(SND_MENUBROWSE);
  }
}

// Everything of the menu's picture but the two scrolling lines, in the order it has always
// been drawn; the lines lie in rows nothing drawn after them reaches, so they can go last.
void menu_draw_still(const Menu& menu, const Assets& assets, int32_t title_x, Surface* target) {
  display_fill(target, 0);
  bob_draw_at(assets.menu_picture_sprite, 0, 0, target);
  bob_draw_at(assets.menu_pointer_sprite, 280, 140 + 40 * menu.menu_selection, target);
  if (menu.menu_selection >= 0 && menu.menu_selection < MENU_ITEMS)
    draw_formatted_shadowed(MENU_ITEM_TEXTS[menu.menu_selection].description, 410, 141 + 40 * menu.menu_selection,
                            COLOUR_WHITE, target);
  for (int32_t i = 0; i < MENU_ITEMS; ++i) bob_draw_at(assets.menu_button_sprite, 290, 137 + 40 * i, target);
  // All five shadows first, then all five labels.
  for (int32_t i = 0; i < MENU_ITEMS; ++i)
    draw_text(text_format("%s", MENU_ITEM_TEXTS[i].label), 301, 141 + 40 * i, COLOUR_BLACK, target);
  for (int32_t i = 0; i < MENU_ITEMS; ++i) {
    const COLORREF colour = i == menu.menu_selection ? COLOUR_PALE_YELLOW : COLOUR_PURPLE;
    draw_text(text_format("%s", MENU_ITEM_TEXTS[i].label), 300, 140 + 40 * i, colour, target);
  }
  draw_formatted_shadowed("Created by Quarrel Forge", 260, 30, COLOUR_PALE_YELLOW, target);
  bob_draw_at(assets.title_sprite, title_x, 0, target);
}

void menu_draw_lines(const Menu& menu) {
  draw_text_shadowed(menu_intro_line(), static_cast<int32_t>(menu.scroll_x_intro), 440, COLOUR_PALE_YELLOW,
                     display.display_back);
  draw_text_shadowed(menu_credits_line(), static_cast<int32_t>(menu.scroll_x_credits), 460, COLOUR_GOLD,
                     display.display_back);
}

void menu_draw(Frontend& fe, const Assets& assets) {
  Menu& menu = fe.menu;
  // The game shows the title at the top right; in the frame that starts it, so does the menu.
  const int32_t title_x = fe.screen_state == SCREEN_GAME ? 515 : 280;
  Surface* layer = display_still_layer();
  if (!layer || !display.display_back) {
    menu_draw_still(menu, assets, title_x, display.display_back);
    menu_draw_lines(menu);
    return;
  }
  FrameChanges layer_changes;
  frame_changes_reset(&layer_changes, layer->width, layer->height);
  if (!still_is_ours(menu.still) || menu.still_selection != menu.menu_selection || menu.still_title_x != title_x ||
      std::memcmp(menu.still_palette, current_palette, sizeof menu.still_palette) != 0) {
    layer->clipper = display.display_back->clipper;
    menu_draw_still(menu, assets, title_x, layer);
    layer->clipper = nullptr;
    still_take(&menu.still);
    menu.still_selection = menu.menu_selection;
    menu.still_title_x = title_x;
    std::memcpy(menu.still_palette, current_palette, sizeof menu.still_palette);
    frame_changes_set_whole(&layer_changes);
  }
  still_begin(&menu.still, layer_changes);
  menu_draw_lines(menu);
  still_end(&menu.still);
}

void menu_scroll(Menu& menu) {
  menu.scroll_x_intro -= 1.0f;
  if (menu.scroll_x_intro <= INTRO_RESTART_AT) menu.scroll_x_intro = SCROLL_START;
  menu.scroll_x_credits -= 0.5f;
  if (menu.scroll_x_credits <= CREDITS_RESTART_AT) menu.scroll_x_credits = SCROLL_START;
}

// The frame after the chosen item: the browse, the picture, the scroll.
FrontendResult menu_finish_frame(Frontend& fe, const Assets& assets, const Input& input) {
  Menu& menu = fe.menu;
  menu_browse(menu, input);
  menu.menu_key_latch = input_held(input, VK_DOWN) || input_held(input, VK_UP) ? 1 : 0;
  menu_draw(fe, assets);
  menu_scroll(menu);
  return FrontendResult{false, PASS_END_PRESENT, {}};
}

}  // namespace

FrontendResult menu_run_frame(Frontend& fe, Game& game, Round& round, Hiscores& hiscores, const Assets& assets,
                              const Input& input) {
  Menu& menu = fe.menu;
  if (menu.farewell_ticks > 0) {
    // The farewell stays up for its ticks; then the program is asked to end and the menu's
    // frame that chose "Quit" is finished. Its sound starts once its picture is shown.
    if (menu.farewell_ticks == FAREWELL_TICKS) sound_effect(SND_QUIT);
    if (--menu.farewell_ticks > 0) return FrontendResult{false, PASS_END_WAIT_TICK, {}};
    FrontendResult result = menu_finish_frame(fe, assets, input);
    result.quit = true;
    return result;
  }
  // Esc only counts from the 50th frame, so the press that left another screen does not also
  // close the program.
  ++menu.menu_frames;
  if (input_held(input, VK_ESCAPE) && menu.menu_frames >= MENU_ESC_FRAMES)
    return FrontendResult{true, PASS_END_NOTHING, {}};
  if (input_held(input, VK_RETURN)) menu_choose(fe, game, round, hiscores);
  if (menu.farewell_ticks > 0) return FrontendResult{false, PASS_END_PRESENT, {}};  // the farewell
  return menu_finish_frame(fe, assets, input);
}
