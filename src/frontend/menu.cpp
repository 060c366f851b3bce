// The main menu: one complete picture per frame, the five items, the two scrolling lines.
#include "frontend/menu.h"

#include <cstdio>

#include "app/app.h"
#include "app/sprites.h"
#include "display/display.h"
#include "display/draw.h"
#include "game/game.h"
#include "game/hud.h"
#include "platform/platform.h"
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

constexpr uint32_t QUIT_PAUSE_MS = 2000;
constexpr float INTRO_RESTART_AT = -5000.0f;
constexpr float CREDITS_RESTART_AT = -2500.0f;
constexpr float SCROLL_START = 640.0f;

void draw_formatted_shadowed(const char* text, int32_t x, int32_t y, COLORREF colour) {
  std::snprintf(text_buffer, sizeof text_buffer, "%s", text);
  draw_text_shadowed(text_buffer, x, y, colour);
}

void menu_choose() {
  sound_effect(SND_MENUSELECT);
  switch (menu_selection) {
    case ITEM_RESUME:
      sound_effect(SND_CONNECT);
      sound_effect(SND_STARTUP);
      screen_state = SCREEN_GAME;
      break;
    case ITEM_NEW_GAME:
      sound_effect(SND_CONNECT);
      sound_effect(SND_STARTUP);
      screen_state = SCREEN_GAME;
      game_new();
      game_new_level();
      break;
    case ITEM_HISCORES:
      screen_state = SCREEN_HISCORES;
      break;
    case ITEM_ABOUT:
      screen_state = SCREEN_ABOUT;
      break;
    case ITEM_QUIT:
      // The farewell goes straight over the last picture, without shadows.
      std::snprintf(text_buffer, sizeof text_buffer, "Thanks for playing Zorvane!");
      draw_text(text_buffer, 240, 380, COLOUR_PALE_YELLOW, display_back);
      std::snprintf(text_buffer, sizeof text_buffer, "Be back soon to beat the hi-score!");
      draw_text(text_buffer, 230, 400, COLOUR_PALE_YELLOW, display_back);
      display_flip();
      sound_effect(SND_QUIT);
      clock_sleep(QUIT_PAUSE_MS);
      platform_post_message(WM_DESTROY, 0, 0);
      break;
    default:
      break;
  }
}

void menu_browse(const Input& input) {
  // Down wins when both are held; the latch makes one press move one item.
  if (menu_key_latch) return;
  if (input_held(input, VK_DOWN)) {
    menu_selection = menu_selection >= MENU_ITEMS - 1 ? 0 : menu_selection + 1;
    sound_effect(SND_MENUBROWSE);
  } else if (input_held(input, VK_UP)) {
    menu_selection = menu_selection <= 0 ? MENU_ITEMS - 1 : menu_selection - 1;
    sound_effect(SND_MENUBROWSE);
  }
}

void menu_draw_items() {
  for (int32_t i = 0; i < MENU_ITEMS; ++i) {
    bob_set_position(&menu_button_sprite, 290, 137 + 40 * i);
    bob_draw(&menu_button_sprite, display_back);
  }
  // All five shadows first, then all five labels.
  for (int32_t i = 0; i < MENU_ITEMS; ++i) {
    std::snprintf(text_buffer, sizeof text_buffer, "%s", MENU_ITEM_TEXTS[i].label);
    draw_text(text_buffer, 301, 141 + 40 * i, COLOUR_BLACK, display_back);
  }
  for (int32_t i = 0; i < MENU_ITEMS; ++i) {
    std::snprintf(text_buffer, sizeof text_buffer, "%s", MENU_ITEM_TEXTS[i].label);
    COLORREF colour = i == menu_selection ? COLOUR_PALE_YELLOW : COLOUR_PURPLE;
    draw_text(text_buffer, 300, 140 + 40 * i, colour, display_back);
  }
}

void menu_scroll() {
  draw_text_shadowed(menu_intro_line(), static_cast<int32_t>(scroll_x_intro), 440, COLOUR_PALE_YELLOW);
  draw_text_shadowed(menu_credits_line(), static_cast<int32_t>(scroll_x_credits), 460, COLOUR_GOLD);
  scroll_x_intro -= 1.0f;
  if (scroll_x_intro <= INTRO_RESTART_AT) scroll_x_intro = SCROLL_START;
  scroll_x_credits -= 0.5f;
  if (scroll_x_credits <= CREDITS_RESTART_AT) scroll_x_credits = SCROLL_START;
}

}  // namespace

int32_t menu_run_frame(const Input& input) {
  // Esc only counts from the 50th frame, so the press that left another screen does not also
  // close the program.
  ++menu_frames;
  if (input_held(input, VK_ESCAPE) && menu_frames >= MENU_ESC_FRAMES) {
    platform_post_message(WM_DESTROY, 0, 0);
    return 0;
  }
  clock_start();

  if (input_held(input, VK_RETURN)) menu_choose();

  display_fill(display_back, 0);
  bob_set_position(&menu_picture_sprite, 0, 0);
  bob_draw(&menu_picture_sprite, display_back);

  menu_browse(input);
  bob_set_position(&menu_pointer_sprite, 280, 140 + 40 * menu_selection);
  bob_draw(&menu_pointer_sprite, display_back);
  if (menu_selection >= 0 && menu_selection < MENU_ITEMS)
    draw_formatted_shadowed(MENU_ITEM_TEXTS[menu_selection].description, 410, 141 + 40 * menu_selection,
                            COLOUR_WHITE);
  menu_key_latch = input_held(input, VK_DOWN) || input_held(input, VK_UP) ? 1 : 0;

  menu_draw_items();
  menu_scroll();
  draw_formatted_shadowed("Created by Quarrel Forge", 260, 30, COLOUR_PALE_YELLOW);

  // The game shows the title at the top right; in the frame that starts it, so does the menu.
  if (screen_state == SCREEN_GAME)
    bob_set_position(&title_sprite, 515, 0);
  else
    bob_set_position(&title_sprite, 280, 0);
  bob_draw(&title_sprite, display_back);

  display_flip();
  return 1;
}
