// Keys from the page's keyboard events. The game's keys are taken from the page (no scrolling on
// arrows or Space, no help page on F1); every other key keeps its browser meaning.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstring>

#include "common/input.h"
#include "platform/platform.h"
#include "platform/web/web_platform.h"

namespace {

struct WebKeys {
  bool down[256] = {};
  // Went down since the pass began: a tap that is over before the game looks (the page handles
  // events only between frames) still counts as held for one pass.
  bool tapped[256] = {};
  int32_t others_down = 0;  // keys the game does not read, for "any key"
  bool driven = false;      // a test sets the keys
  uint16_t driven_mask = 0;
};

WebKeys keys;

// The game's virtual-key number of a key event, 0 for keys it does not read. The physical key
// (code) first, so a keyboard layout never moves the arrows.
int32_t key_of(const EmscriptenKeyboardEvent& e) {
  struct Named {
    const char* code;
    int32_t vk;
  };
  static const Named NAMES[] = {
      {"Enter", VK_RETURN},       {"NumpadEnter", VK_RETURN}, {"ShiftLeft", VK_SHIFT},  {"ShiftRight", VK_SHIFT},
      {"ControlLeft", VK_CONTROL}, {"ControlRight", VK_CONTROL}, {"Escape", VK_ESCAPE}, {"Space", VK_SPACE},
      {"ArrowLeft", VK_LEFT},     {"ArrowUp", VK_UP},         {"ArrowRight", VK_RIGHT}, {"ArrowDown", VK_DOWN},
      {"F1", VK_F1},
  };
  for (const Named& n : NAMES)
    if (std::strcmp(e.code, n.code) == 0) return n.vk;
  if (e.code[0] == '\0' && input_key_bit(static_cast<int32_t>(e.keyCode)) != 0) return static_cast<int32_t>(e.keyCode);
  return 0;
}

EM_BOOL on_key(int type, const EmscriptenKeyboardEvent* e, void*) {
  const bool down = type == EMSCRIPTEN_EVENT_KEYDOWN;
  web_audio_unlock();  // browsers let sound start only after a key press
  const int32_t vk = key_of(*e);
  if (vk == 0) {
    // Repeats add nothing; a release the page never saw the press of does not go below zero.
    if (down && !e->repeat) ++keys.others_down;
    if (!down && keys.others_down > 0) --keys.others_down;
    return EM_FALSE;
  }
  keys.down[vk] = down;
  if (down) keys.tapped[vk] = true;
  return EM_TRUE;  // the page does not scroll or open its help
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

void web_focus_changed(bool focused) {
  // A key held while the page loses the focus is never seen going up.
  if (!focused) let_go();
  web_window_focus(focused);
}

void web_keys_begin_pass() {
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
  return (vk >= 0 && vk < 256 && (keys.down[vk] || keys.tapped[vk])) || web_gamepad_key_down(vk) ||
                 action_game_key_down(web_touch_actions(), vk)
             ? 1
             : 0;
}

int32_t platform_any_key_down() {
  listen();
  if (keys.driven) return keys.driven_mask != 0 ? 1 : 0;
  if (keys.others_down > 0 || web_touch_any_game_key()) return 1;
  for (int32_t vk = 0; vk < 256; ++vk)
    if (keys.down[vk] || keys.tapped[vk]) return 1;
  return 0;
}
