// The minute clock of the Sparx: two more join after the first minute of play, and every
// later minute changes the speed of all four.
#include "enemies/sparx.h"
#include "game/game.h"
#include "sound/sound.h"

namespace {
constexpr int32_t PERIOD_SECONDS = 60;
}

void sparx_timer_update() {
  const int32_t now = game_now();
  time_left = time_base - now + PERIOD_SECONDS;
  if (game_phase != PHASE_PLAYING || time_left >= 0) return;

  if (sparx_count == SPARX_SLOTS) {
    // Speeds run 0, 1, 2, 1, 2, ... and all four always share one.
    for (Sparx& s : sparx) s.sprite.state = s.sprite.state == 1 ? 2 : 1;
  } else {
    // Slots 2 and 3 have stood where the reset put them; they start running from there.
    sparx_count = SPARX_SLOTS;
  }
  time_base = now;
  sound_effect(SND_NEWSPARX);
}
