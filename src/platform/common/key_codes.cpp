// The KeyboardEvent.code names of the keys a PC keyboard has (the letters, digits, function keys,
// the main block, the arrows and the keypad).
#include "platform/common/key_codes.h"

#include <cstring>

const char* const KEY_CODE_NAMES[] = {
    "KeyA", "KeyB", "KeyC", "KeyD", "KeyE", "KeyF", "KeyG", "KeyH", "KeyI", "KeyJ", "KeyK", "KeyL",
    "KeyM", "KeyN", "KeyO", "KeyP", "KeyQ", "KeyR", "KeyS", "KeyT", "KeyU", "KeyV", "KeyW", "KeyX",
    "KeyY", "KeyZ", "Digit0", "Digit1", "Digit2", "Digit3", "Digit4", "Digit5", "Digit6", "Digit7",
    "Digit8", "Digit9", "F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12",
    "F13", "F14", "F15", "F16", "F17", "F18", "F19", "F20", "F21", "F22", "F23", "F24", "Escape",
    "Minus", "Equal", "Backspace", "Tab", "BracketLeft", "BracketRight", "Enter", "ControlLeft",
    "ControlRight", "ShiftLeft", "ShiftRight", "AltLeft", "AltRight", "MetaLeft", "MetaRight",
    "Semicolon", "Quote", "Backquote", "Backslash", "Comma", "Period", "Slash", "IntlBackslash",
    "IntlRo", "IntlYen", "CapsLock", "Space", "ContextMenu", "PrintScreen", "ScrollLock", "Pause",
    "Insert", "Delete", "Home", "End", "PageUp", "PageDown", "ArrowUp", "ArrowDown", "ArrowLeft",
    "ArrowRight", "NumLock", "Numpad0", "Numpad1", "Numpad2", "Numpad3", "Numpad4", "Numpad5",
    "Numpad6", "Numpad7", "Numpad8", "Numpad9", "NumpadDecimal", "NumpadDivide", "NumpadMultiply",
    "NumpadSubtract", "NumpadAdd", "NumpadEnter", "NumpadEqual",
};
const int32_t KEY_CODE_COUNT = sizeof(KEY_CODE_NAMES) / sizeof(KEY_CODE_NAMES[0]);

int32_t key_code_by_name(const char* name) {
  if (name == nullptr) return KEY_NONE;
  for (int32_t k = 0; k < KEY_CODE_COUNT; ++k)
    if (std::strcmp(KEY_CODE_NAMES[k], name) == 0) return k;
  return KEY_NONE;
}

const char* key_code_name(int32_t key) { return key >= 0 && key < KEY_CODE_COUNT ? KEY_CODE_NAMES[key] : ""; }
