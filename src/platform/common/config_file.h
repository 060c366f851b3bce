// The reader of the two settings texts: the player's configuration file (zorvane.toml) and the
// choices the game remembers (state.toml). Mistakes never stop a game: each gives one message
// line naming the file, the line and what is wrong, and that setting keeps its default; a text
// that is not TOML at all is ignored whole.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/common/bindings.h"

// One source's word on each setting; -1 where it says nothing.
struct SettingValues {
  int32_t volume = -1;         // 0..100
  int32_t muted = -1;          // 0 or 1
  int32_t fullscreen = -1;     // 0 or 1
  int32_t integer_scale = -1;  // 0 ("fit") or 1 ("integer")
  int32_t window_width = -1;   // window units, not pixels
  int32_t window_height = -1;
};

// Which settings a text may hold: the player's file takes [keys], [sound] volume and muted,
// [window] fullscreen and scale; the remembered state [sound] volume and muted, [window]
// fullscreen, width and height.
enum class ConfigKind : int32_t { PLAYER = 0, STATE = 1 };

// The largest text read; a larger file is refused whole.
constexpr size_t CONFIG_MAX_BYTES = 64 * 1024;
// The largest window remembered, in window units.
constexpr int32_t CONFIG_MAX_WINDOW_SIDE = 16384;

struct ConfigRead {
  bool valid = false;               // false: not TOML, the whole text is ignored
  SettingValues values;
  std::vector<BindingWrite> keys;   // [keys], in the file's order
  std::vector<std::string> messages;  // "NAME:LINE: what is wrong", one line each
};

// Reads text, named name in messages.
ConfigRead config_parse(std::string_view text, const std::string& name, ConfigKind kind);
