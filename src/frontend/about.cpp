// The about screen: the goal, the three enemies with their pictures, and the controls.
#include "display/display.h"
#include "display/text.h"
#include "frontend/frontend.h"
#include "sound/sound.h"

namespace {

struct AboutText {
  const char* text;
  int32_t x, y;
  int32_t shadow_x, shadow_y;
  COLORREF colour;
};

const AboutText ABOUT_HEADER[] = {
    {"Created by Quarrel Forge", 260, 30, 261, 31, COLOUR_PALE_YELLOW},
    {"About Zorvane", 290, 70, 291, 71, COLOUR_ORANGE},
    {"Press Esc key to go back to the menu again!", 180, 460, 181, 461, COLOUR_WHITE},
    {"You must cover as much territory as possible without getting killed", 100, 100, 101, 101,
     COLOUR_PALE_YELLOW},
    {"by the enemies. You cover a territory by filling rectangles on the", 100, 115, 101, 116,
     COLOUR_PALE_YELLOW},
    {"screen, and when you've covered enough area, you can proceed to the", 100, 130, 101, 131,
     COLOUR_PALE_YELLOW},
    {"next level and start again on a new territory.", 100, 145, 101, 146, COLOUR_PALE_YELLOW},
    {"These are your enemies:", 100, 180, 101, 181, COLOUR_PALE_YELLOW},
};

const AboutText ABOUT_QIX = {"The spinning \"QIX\" which moves around inside the territory.", 140, 224,
                             141, 225, COLOUR_PALE_YELLOW};
const AboutText ABOUT_SPARX = {"The travelling \"Sparx\" which move along the borders of the territory.",
                               140, 264, 141, 265, COLOUR_PALE_YELLOW};
const AboutText ABOUT_FUSE = {"The \"Fuse\" which will track you down if you're hesitating....", 140,
                              304, 141, 305, COLOUR_PALE_YELLOW};

// Shift and Control are given the other way round from the game itself, and the last shadow
// sits two pixels low: the page has always looked like this.
const AboutText ABOUT_CONTROLS[] = {
    {"Controls:", 100, 360, 101, 361, COLOUR_PALE_YELLOW},
    {"Arrow keys - move up, down, left and south.", 100, 375, 101, 376, COLOUR_PALE_YELLOW},
    {"Shift - move slow", 100, 390, 101, 391, COLOUR_PALE_YELLOW},
    {"Control - move fast", 100, 405, 101, 406, COLOUR_PALE_YELLOW},
    {"Esc - Quit game", 100, 420, 101, 421, COLOUR_PALE_YELLOW},
    {"F1 - Pause game", 100, 435, 101, 437, COLOUR_PALE_YELLOW},
};

void about_text(const AboutText& t) {
  text_format("%s", t.text);
  draw_text(text_buffer, t.shadow_x, t.shadow_y, COLOUR_BLACK, display.display_back);
  draw_text(text_buffer, t.x, t.y, t.colour, display.display_back);
}

void about_sprite(const Bob& bob, int32_t x, int32_t y) { bob_draw_at(bob, x, y, display.display_back); }

void about_draw_page(const Assets& assets) {
  display_fill(display.display_back, 0);
  about_sprite(assets.menu_picture_sprite, 0, 0);
  about_sprite(assets.title_sprite, 280, 0);
  for (const AboutText& t : ABOUT_HEADER) about_text(t);

  about_sprite(assets.icon_frame_sprite, 100, 220);
  about_sprite(assets.qix_picture_sprite, 100, 220);
  about_text(ABOUT_QIX);
  about_sprite(assets.icon_frame_sprite, 100, 260);
  about_sprite(assets.sparx_sprite, 109, 269);
  about_text(ABOUT_SPARX);
  about_sprite(assets.icon_frame_sprite, 100, 300);
  about_sprite(assets.fuse_sprite, 110, 310);
  about_text(ABOUT_FUSE);

  for (const AboutText& t : ABOUT_CONTROLS) about_text(t);
}

}  // namespace

// One page a pass until Esc; a window closed from the desktop stops the drawing, and the main
// loop then shuts down.
FrontendResult about_screen_run(Frontend& fe, const Assets& assets, const Input& input) {
  if (input.close_requested) return FrontendResult{};
  if (!input_held(input, VK_ESCAPE)) {
    about_draw_page(assets);
    return FrontendResult{false, PASS_END_PRESENT, {}};
  }
  sound_effect(SND_MENUSELECT);
  fe.menu.menu_frames = 0;
  fe.screen_state = SCREEN_MENU;
  return FrontendResult{};
}
