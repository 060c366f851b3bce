// The settings reader on any text, as the player's file and as the remembered state; then the
// --print-config text of what it gave must read back to the same settings.
#include <cstdlib>
#include <string>

#include "platform/common/config_file.h"
#include "platform/common/settings.h"

namespace {

bool same(const Settings& a, const Settings& b) {
  for (int32_t i = 0; i < ACTION_COUNT; ++i)
    if (a.keys.keys[i] != b.keys.keys[i]) return false;
  return a.volume == b.volume && a.muted == b.muted && a.fullscreen == b.fullscreen &&
         a.integer_scale == b.integer_scale && a.window_width == b.window_width && a.window_height == b.window_height;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > CONFIG_MAX_BYTES) return 0;
  const std::string text(reinterpret_cast<const char*>(data), size);
  SettingsSources sources;
  sources.config_name = "zorvane.toml";
  sources.config = config_parse(text, sources.config_name, ConfigKind::PLAYER);
  sources.state_name = "state.toml";
  sources.state = config_parse(text, sources.state_name, ConfigKind::STATE);
  for (const std::string& m : sources.config.messages)
    if (m.find('\n') != std::string::npos) std::abort();  // every message is one line
  const Settings in_force = settings_merge(sources);
  if (in_force.volume < 0 || in_force.volume > 100) std::abort();
  SettingsSources again = sources;
  again.config = config_parse(settings_print(sources), "printed.toml", ConfigKind::PLAYER);
  if (!again.config.valid || !again.config.messages.empty()) std::abort();
  if (!same(settings_merge(again), in_force)) std::abort();
  // The state text the game writes reads back whole and silent too.
  const ConfigRead state = config_parse(settings_state_text(in_force), "state.toml", ConfigKind::STATE);
  if (!state.valid || !state.messages.empty()) std::abort();
  return 0;
}
