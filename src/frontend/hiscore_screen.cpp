// The hi-score list screen.
#include "display/display.h"
#include "display/text.h"
#include "frontend/frontend.h"
#include "sound/sound.h"

namespace {

void hiscore_page_draw(const Hiscores& hiscores, const Assets& assets) {
  display_fill(display.display_back, 0);
  bob_draw_at(assets.menu_picture_sprite, 0, 0, display.display_back);
  bob_draw_at(assets.title_sprite, 280, 0, display.display_back);
  draw_text_shadowed(text_format("Created by Quarrel Forge"), 260, 30, COLOUR_PALE_YELLOW, display.display_back);
  draw_text_shadowed(text_format("HI-SCORE LIST"), 290, 70, COLOUR_ORANGE, display.display_back);
  draw_text_shadowed(text_format("Press Esc key to go back to the menu again!"), 180, 460,
                     COLOUR_WHITE, display.display_back);
  hiscore_table_draw(hiscores, false);
}

}  // namespace

// One page a pass until Esc; closing the window leaves as Esc does, and the main loop then
// takes the close.
FrontendResult hiscore_screen_run(Frontend& fe, Hiscores& hiscores, const Assets& assets, const Input& input) {
  if (!input_held(input, VK_ESCAPE) && !input.close_requested) {
    if (hiscores.hiscore_loaded == 0) {
      hiscores.hiscore_edit_row = hiscore_load(hiscores, -1);
      hiscores.hiscore_loaded = 1;
    }
    hiscore_offer_letter(hiscores);
    hiscore_page_draw(hiscores, assets);
    return FrontendResult{false, PASS_END_PRESENT, {}};
  }
  sound_effect(SND_MENUSELECT);
  fe.menu.menu_frames = 0;
  fe.screen_state = SCREEN_MENU;
  return FrontendResult{};
}
