// The page's touch controls. The page tracks every finger and sends the actions they hold on
// each change; the game reads them beside the keys. A control pressed and let go between two
// passes (a tap shorter than a frame) still holds its action for one pass, as a quick key tap does.
#include <emscripten.h>

#include "platform/web/web_platform.h"

namespace {

struct WebTouch {
  ActionMask held = 0;
  ActionMask tapped = 0;  // went down since the pass began
};

WebTouch touch;

// The actions that hold one of the game's keys (the program's own, such as mute, never do).
ActionMask game_actions() {
  ActionMask mask = 0;
  for (int32_t a = 0; a < ACTION_COUNT; ++a)
    if (ACTIONS[a].game_key != 0) mask |= action_bit(static_cast<Action>(a));
  return mask;
}

}  // namespace

// Called by the page with every change of what the fingers hold (bit a: Action a); also on
// every touch at all, which lets the sound start (browsers allow it only inside a gesture).
extern "C" EMSCRIPTEN_KEEPALIVE void zorvane_touch(uint32_t held) {
  const ActionMask mask = held & ((ActionMask{1} << ACTION_COUNT) - 1);
  touch.tapped |= mask & ~touch.held;
  touch.held = mask;
  web_audio_unlock();
}

ActionMask web_touch_actions() { return touch.held | touch.tapped; }

bool web_touch_any_game_key() { return (web_touch_actions() & game_actions()) != 0; }

void web_touch_begin_pass() { touch.tapped = 0; }

void web_touch_reset() { touch = WebTouch{}; }

// The bit of an action named as in the configuration file ("slow", "confirm", ...), 0 for
// none: the page builds its controls' table from here, so the numbers live in one place.
extern "C" EMSCRIPTEN_KEEPALIVE uint32_t zorvane_touch_action(const char* name) {
  const Action a = action_by_name(name);
  return a == ACTION_COUNT ? 0 : action_bit(a);
}
