// The settings of a run: where each comes from (command line, what the last game remembered,
// the player's file, the defaults, in that order), the --print-config text, and the remembered
// choices kept up to date while the game runs.
#pragma once
#include <cstdint>
#include <string>

#include "platform/common/bindings.h"
#include "platform/common/config_file.h"

struct Settings {
  Bindings keys = bindings_default();
  int32_t volume = 100;   // 0..100
  bool muted = false;
  bool fullscreen = true;
  bool integer_scale = false;
  int32_t window_width = 0, window_height = 0;  // window units; 0: the window's first size
};

// Everything that decides the settings.
struct SettingsSources {
  int32_t command_windowed = -1;       // --windowed 1, --fullscreen 0, -1 not said
  int32_t command_integer_scale = -1;  // --scale integer 1, fit 0, -1 not said
  bool env_windowed = false;           // ZORVANE_WINDOWED is set: a window unless the command line says
  std::string config_name;             // where the player's configuration was read; "" none
  ConfigRead config;
  std::string state_name;              // where the remembered choices live; "" nowhere
  ConfigRead state;
};

// The settings in force: the command line (then ZORVANE_WINDOWED), then what was remembered, then
// the player's file, then the defaults. Problems of the file's bindings go to messages.
Settings settings_merge(const SettingsSources& sources, std::vector<std::string>* messages = nullptr);
// A complete, commented configuration file of the settings in force, which reads back to them.
// The four remembered choices are commented out where the remembered value is what counts.
std::string settings_print(const SettingsSources& sources);
// The remembered choices as the state file holds them.
std::string settings_state_text(const Settings& settings);

// --- the settings of this run ---
// Where the remembered choices go: false when they cannot be written.
using SettingsSave = bool (*)(const std::string& text);
// Starts the run's settings from sources (the command line given to settings_command_line is
// kept), prints the files' messages on stderr, and sets the mixer's volume. remember false (a
// replay): nothing is ever saved.
void settings_begin(const SettingsSources& sources, bool remember, SettingsSave save);
// The command line's window choices (-1 not said) and the environment's; the settings follow.
void settings_command_line(int32_t windowed, int32_t integer_scale);
const Settings& settings_now();
const SettingsSources& settings_sources();
// Changes made while playing; each is remembered.
void settings_set_volume(int32_t volume);
void settings_set_muted(bool muted);
void settings_set_fullscreen(bool fullscreen);
void settings_set_window_size(int32_t width, int32_t height);
// Saves what changed, at most once a second while changes come (now_ms: the platform's ticks).
void settings_tick(uint32_t now_ms);
// Saves what changed since the last save (at the end of the run).
void settings_finish();
// Back to the defaults and nothing to save (tests).
void settings_reset();
