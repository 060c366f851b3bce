// Settings: merged from their sources once, then changed by the player's program keys and the
// window, and saved as the remembered state, never more than once a second.
#include "platform/common/settings.h"

#include <cstdio>
#include <cstdlib>

#include "platform/common/audio_mixer.h"
#include "platform/common/key_codes.h"

namespace {

constexpr uint32_t SAVE_INTERVAL_MS = 1000;

struct SettingsRun {
  SettingsSources sources;
  Settings now;
  bool remember = false;
  SettingsSave save = nullptr;
  std::string saved_text;  // what the state file holds (or held at the start)
  bool dirty = false;
  bool saved_once = false;
  uint32_t last_save_ms = 0;
  bool told_unsaved = false;
};

SettingsRun run;

int32_t pick(int32_t first, int32_t second, int32_t fallback) { return first >= 0 ? first : second >= 0 ? second : fallback; }

void complain_binding(void* context, int32_t line, const std::string& what) {
  auto* sources = static_cast<std::pair<const SettingsSources*, std::vector<std::string>*>*>(context);
  if (sources->second) sources->second->push_back(sources->first->config_name + ":" + std::to_string(line) + ": " + what);
}

void apply_sound() { mixer_set_master_gain(run.now.muted ? 0 : mixer_volume_gain(run.now.volume)); }

std::string yes_no(bool b) { return b ? "true" : "false"; }

std::string key_list(const std::vector<KeyBinding>& keys) {
  std::string text = "[";
  for (size_t i = 0; i < keys.size(); ++i) text += (i ? ", \"" : "\"") + binding_text(keys[i]) + "\"";
  return text + "]";
}

void changed() {
  const std::string text = settings_state_text(run.now);
  run.dirty = run.remember && text != run.saved_text;
}

void save_now() {
  if (!run.dirty || run.save == nullptr) return;
  const std::string text = settings_state_text(run.now);
  run.dirty = false;
  if (run.save(text)) {
    run.saved_text = text;
    return;
  }
  // The game goes on; what changes is kept for this run only.
  run.remember = false;
  if (!run.told_unsaved)
    std::fprintf(stderr, "zorvane: cannot write %s; window, volume and mute will not be remembered\n",
                 run.sources.state_name.empty() ? "the remembered settings" : run.sources.state_name.c_str());
  run.told_unsaved = true;
}

}  // namespace

Settings settings_merge(const SettingsSources& s, std::vector<std::string>* messages) {
  Settings out;
  const SettingValues& st = s.state.values;
  const SettingValues& cf = s.config.values;
  if (s.command_windowed >= 0)
    out.fullscreen = s.command_windowed == 0;
  else if (s.env_windowed)
    out.fullscreen = false;
  else
    out.fullscreen = pick(st.fullscreen, cf.fullscreen, 1) != 0;
  out.integer_scale = pick(s.command_integer_scale, cf.integer_scale, 0) != 0;
  out.volume = pick(st.volume, cf.volume, 100);
  out.muted = pick(st.muted, cf.muted, 0) != 0;
  if (st.window_width > 0 && st.window_height > 0) {
    out.window_width = st.window_width;
    out.window_height = st.window_height;
  }
  std::pair<const SettingsSources*, std::vector<std::string>*> context{&s, messages};
  bindings_apply(&out.keys, s.config.keys, complain_binding, &context);
  return out;
}

std::string settings_print(const SettingsSources& s) {
  const Settings in_force = settings_merge(s);
  const SettingValues& st = s.state.values;
  const SettingValues& cf = s.config.values;
  std::string t;
  t += "# Zorvane's configuration: the settings in force";
  if (s.config_name.empty())
    t += " (no configuration file was found).\n";
  else if (!s.config.valid && !s.config.messages.empty())
    t += " (" + s.config_name + " could not be used).\n";
  else
    t += ", read from " + s.config_name + ".\n";
  t += "# Save it as ~/.config/zorvane/zorvane.toml and edit it; the game only reads it.\n";
  t += "\n[keys]\n";
  t += "# Each action takes a list of keys by their place on the keyboard, named as the browser's\n";
  t += "# KeyboardEvent.code names them (\"KeyZ\" is the key right of the left Shift on any layout).\n";
  t += "# Combinations name their modifiers first: \"Alt+Enter\", \"Ctrl+Shift+KeyS\" (Alt, Ctrl, Shift).\n";
  t += "# An action given here loses its default keys; its keys leave the other actions' defaults.\n";
  for (int32_t a = 0; a < ACTION_COUNT; ++a) t += std::string(ACTIONS[a].name) + " = " + key_list(in_force.keys.keys[a]) + "\n";
  // A remembered value wins over this file: it is shown commented out, and the file's own line
  // (if it has one) stays, so that the text reads back to the same settings.
  auto remembered = [&](const std::string& key, int32_t state_value, int32_t file_value, const std::string& shown_state,
                        const std::string& shown_file) {
    std::string lines;
    if (state_value >= 0) {
      lines += "# " + key + " = " + shown_state + "   # remembered from the last game";
      lines += s.state_name.empty() ? "\n" : " (" + s.state_name + ")\n";
      if (file_value >= 0) lines += key + " = " + shown_file + "\n";
    } else {
      lines += key + " = " + shown_file + "\n";
    }
    return lines;
  };
  t += "\n[sound]\n";
  t += "# volume 0..100 (the volume keys step by 10, evenly in loudness); muted true or false.\n";
  t += remembered("volume", st.volume, cf.volume, std::to_string(st.volume), std::to_string(cf.volume >= 0 ? cf.volume : 100));
  t += remembered("muted", st.muted, cf.muted, yes_no(st.muted == 1), yes_no(cf.muted == 1));
  t += "\n[window]\n";
  t += "# fullscreen true or false (Alt+Enter or F11 switch while playing; the game remembers it);\n";
  t += "# scale \"fit\" (as large as fits at 4:3) or \"integer\" (whole enlargements only).\n";
  if (s.command_windowed >= 0 || s.env_windowed)
    t += "# fullscreen = " + yes_no(in_force.fullscreen) + "   # from the command line or ZORVANE_WINDOWED\n";
  t += remembered("fullscreen", st.fullscreen, cf.fullscreen, yes_no(st.fullscreen == 1), yes_no(cf.fullscreen != 0));
  t += std::string("scale = \"") + (in_force.integer_scale ? "integer" : "fit") + "\"\n";
  if (in_force.window_width > 0)
    t += "# The window's size, remembered from the last game: " + std::to_string(in_force.window_width) + " x " +
         std::to_string(in_force.window_height) + "\n";
  return t;
}

std::string settings_state_text(const Settings& s) {
  std::string t = "# What Zorvane remembers between games; it rewrites this file.\n[window]\n";
  t += "fullscreen = " + yes_no(s.fullscreen) + "\n";
  if (s.window_width > 0 && s.window_height > 0)
    t += "width = " + std::to_string(s.window_width) + "\nheight = " + std::to_string(s.window_height) + "\n";
  t += "\n[sound]\nvolume = " + std::to_string(s.volume) + "\nmuted = " + yes_no(s.muted) + "\n";
  return t;
}

void settings_begin(const SettingsSources& sources, bool remember, SettingsSave save) {
  const int32_t windowed = run.sources.command_windowed, scale = run.sources.command_integer_scale;
  const bool env = run.sources.env_windowed;
  run = SettingsRun{};
  run.sources = sources;
  run.sources.command_windowed = windowed;
  run.sources.command_integer_scale = scale;
  run.sources.env_windowed = env;
  std::vector<std::string> messages = run.sources.config.messages;
  messages.insert(messages.end(), run.sources.state.messages.begin(), run.sources.state.messages.end());
  run.now = settings_merge(run.sources, &messages);
  for (const std::string& m : messages) std::fprintf(stderr, "zorvane: %s\n", m.c_str());
  run.remember = remember && save != nullptr;
  run.save = save;
  run.saved_text = settings_state_text(run.now);
  apply_sound();
}

void settings_command_line(int32_t windowed, int32_t integer_scale) {
  run.sources.command_windowed = windowed < 0 ? -1 : (windowed ? 1 : 0);
  run.sources.command_integer_scale = integer_scale < 0 ? -1 : (integer_scale ? 1 : 0);
  const char* env = std::getenv("ZORVANE_WINDOWED");
  run.sources.env_windowed = env != nullptr && *env != '\0';
  const Settings merged = settings_merge(run.sources);
  run.now.fullscreen = merged.fullscreen;
  run.now.integer_scale = merged.integer_scale;
}

const Settings& settings_now() { return run.now; }
const SettingsSources& settings_sources() { return run.sources; }

void settings_set_volume(int32_t volume) {
  run.now.volume = volume < 0 ? 0 : (volume > 100 ? 100 : volume);
  apply_sound();
  changed();
}

void settings_set_muted(bool muted) {
  run.now.muted = muted;
  apply_sound();
  changed();
}

void settings_set_fullscreen(bool fullscreen) {
  run.now.fullscreen = fullscreen;
  changed();
}

void settings_set_window_size(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0 || width > CONFIG_MAX_WINDOW_SIDE || height > CONFIG_MAX_WINDOW_SIDE) return;
  run.now.window_width = width;
  run.now.window_height = height;
  changed();
}

void settings_tick(uint32_t now_ms) {
  if (!run.dirty) return;
  if (run.saved_once && now_ms - run.last_save_ms < SAVE_INTERVAL_MS) return;
  run.saved_once = true;
  run.last_save_ms = now_ms;
  save_now();
}

void settings_finish() { save_now(); }

void settings_reset() {
  run = SettingsRun{};
  apply_sound();
}
