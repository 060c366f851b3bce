// Keys from the page's keyboard events, by physical place (KeyboardEvent.code), through the
// bindings in force. Bound keys are taken from the page (no scrolling on arrows or Space, no help
// page on F1); every other key keeps its browser meaning.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstring>

#include "common/input.h"
#include "platform/common/bindings.h"
#include "platform/common/controls.h"
#include "platform/common/key_codes.h"
#include "platform/common/settings.h"
#include "platform/platform.h"
#include "platform/web/web_platform.h"

namespace {

constexpr int32_t KEY_CODE_COUNT_MAX = 128;  // room for every KEY_CODE_NAMES entry

struct WebKeys {
  bool down[KEY_CODE_COUNT_MAX] = {};
  // Went down since the pass began: a tap that is over before the game looks (the page handles
  // events only between frames) still counts as held for one pass.
  bool tapped[KEY_CODE_COUNT_MAX] = {};
  int32_t others_down = 0;    // keys we have no name for, for "any key"
  ActionMask program_tapped = 0;  // program actions pressed since the pass began
  ControlEdges edges;
  bool driven = false;        // a test sets the keys
  uint16_t driven_mask = 0;
};

WebKeys keys;

// The key of an event by its physical place (code), whatever the layout types there.
int32_t key_of(const EmscriptenKeyboardEvent& e) { return key_code_by_name(e.code); }

uint8_t mods_of(const EmscriptenKeyboardEvent& e) {
  return static_cast<uint8_t>((e.altKey ? KEY_MOD_ALT : 0) | (e.ctrlKey ? KEY_MOD_CTRL : 0) |
                              (e.shiftKey ? KEY_MOD_SHIFT : 0));
}

// Full screen, asked for in the pass after the key or button: browsers allow it for a few
// seconds after the player's own input.
EM_JS(void, page_toggle_fullscreen, (), {
  var canvas = Module['canvas'];
  if (document.fullscreenElement) document.exitFullscreen();
  else if (canvas && canvas.requestFullscreen) canvas.requestFullscreen().catch(function() {});
});

// The actions the keyboard holds this pass.
ActionMask keyboard_actions() {
  bool held[KEY_CODE_COUNT_MAX];
  for (int32_t k = 0; k < KEY_CODE_COUNT; ++k) held[k] = keys.down[k] || keys.tapped[k];
  return bindings_held(settings_now().keys, held);
}

EM_BOOL on_key(int type, const EmscriptenKeyboardEvent* e, void*) {
  const bool down = type == EMSCRIPTEN_EVENT_KEYDOWN;
  web_audio_unlock();  // browsers let sound start only after a key press
  const int32_t k = key_of(*e);
  if (k == KEY_NONE) {
    // Repeats add nothing; a release the page never saw the press of does not go below zero.
    if (down && !e->repeat) ++keys.others_down;
    if (!down && keys.others_down > 0) --keys.others_down;
    return EM_FALSE;
  }
  keys.down[k] = down;
  if (down) keys.tapped[k] = true;
  const ActionMask pressed = bindings_pressed(settings_now().keys, k, mods_of(*e));
  if (down && !e->repeat) keys.program_tapped |= pressed & PROGRAM_ACTIONS;
  // A bound key belongs to the game: the page does not scroll, open its help or zoom. Other
  // keys keep their browser meaning.
  return pressed != 0 ? EM_TRUE : EM_FALSE;
}

void let_go() {
  for (bool& k : keys.down) k = false;
  for (bool& k : keys.tapped) k = false;
  keys.others_down = 0;
}

EM_BOOL on_focus(int type, const EmscriptenFocusEvent*, void*) {
  web_focus_changed(type == EMSCRIPTEN_EVENT_FOCUS);
  return EM_FALSE;
}

EM_BOOL on_visibility(int, const EmscriptenVisibilityChangeEvent* e, void*) {
  web_focus_changed(!e->hidden);
  return EM_FALSE;
}

bool listening = false;

void listen() {
  if (listening) return;
  listening = true;
  const char* target = EMSCRIPTEN_EVENT_TARGET_WINDOW;
  emscripten_set_keydown_callback(target, nullptr, EM_TRUE, on_key);
  emscripten_set_keyup_callback(target, nullptr, EM_TRUE, on_key);
  emscripten_set_focus_callback(target, nullptr, EM_TRUE, on_focus);
  emscripten_set_blur_callback(target, nullptr, EM_TRUE, on_focus);
  emscripten_set_visibilitychange_callback(nullptr, EM_TRUE, on_visibility);
}

}  // namespace

ActionMask web_actions_held() {
  // Every source of actions, OR-ed: the keyboard's, the controllers' and the touch controls'.
  return keyboard_actions() | web_gamepad_actions() | web_touch_actions();
}

void web_program_actions(ActionMask held, ActionMask tapped) {
  if (controls_apply(controls_begun(&keys.edges, held, tapped), platform_ticks()) & action_bit(ACTION_FULLSCREEN))
    page_toggle_fullscreen();
  settings_tick(platform_ticks());
}

void web_focus_changed(bool focused) {
  // A key held while the page loses the focus is never seen going up.
  if (!focused) let_go();
  web_window_focus(focused);
}

void web_keys_begin_pass() {
  // The program's own actions from every source at once, before this pass's taps are let go.
  if (!keys.driven) web_program_actions(web_actions_held(), keys.program_tapped);
  keys.program_tapped = 0;
  for (bool& k : keys.tapped) k = false;
  web_touch_begin_pass();
}

void web_keys_drive(bool on, uint16_t mask) {
  keys.driven = on;
  keys.driven_mask = mask;
}

void web_keys_reset() {
  keys = WebKeys{};
  listen();
}

int32_t platform_key_down(int32_t vk) {
  listen();
  if (keys.driven) return (keys.driven_mask & input_key_bit(vk)) != 0 ? 1 : 0;
  return action_game_key_down(web_actions_held(), vk);
}

int32_t platform_any_key_down() {
  listen();
  if (keys.driven) return keys.driven_mask != 0 ? 1 : 0;
  if (keys.others_down > 0 || web_touch_any_game_key()) return 1;
  for (int32_t k = 0; k < KEY_CODE_COUNT; ++k)
    if (keys.down[k] || keys.tapped[k]) return 1;
  return 0;
}
