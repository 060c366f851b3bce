// Keys by their physical place, named as the browser's KeyboardEvent.code names them, so one
// configuration file means the same keys on the desktop and in the browser, on any layout.
#pragma once
#include <cstdint>

// A key is its index in KEY_CODE_NAMES; KEY_NONE for no key.
constexpr int32_t KEY_NONE = -1;
extern const char* const KEY_CODE_NAMES[];
extern const int32_t KEY_CODE_COUNT;

// The key of a code name ("KeyZ", "ArrowUp", "NumpadAdd"); KEY_NONE for a name we do not know.
// Names are compared exactly, as the browser spells them.
int32_t key_code_by_name(const char* name);
// The name of a key; "" for KEY_NONE or anything out of range.
const char* key_code_name(int32_t key);
