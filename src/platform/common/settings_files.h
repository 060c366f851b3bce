// Where the desktop keeps the settings: the player's file by the XDG base directory rules, the
// remembered state beside the other per-user state. The search is a pure function of the
// environment, so it can be tested with a made-up one.
#pragma once
#include <string>

#include "platform/common/config_file.h"

struct SettingsEnvironment {
  std::string config_option;    // --config FILE; "" not given
  std::string xdg_config_home;  // $XDG_CONFIG_HOME
  std::string xdg_config_dirs;  // $XDG_CONFIG_DIRS, folders separated by ':'
  std::string xdg_state_home;   // $XDG_STATE_HOME
  std::string home;             // $HOME, or the password database's home folder
};

SettingsEnvironment settings_environment_read(const char* config_option);
// The player's file: --config, else $XDG_CONFIG_HOME/zorvane/zorvane.toml (~/.config by default;
// a relative XDG_CONFIG_HOME is ignored) if there is anything by that name, else the first
// zorvane/zorvane.toml in $XDG_CONFIG_DIRS (/etc/xdg by default); "" when there is none.
std::string settings_config_path(const SettingsEnvironment& env);
// $XDG_STATE_HOME/zorvane/state.toml (~/.local/state by default); "" with no home at all.
std::string settings_state_path(const SettingsEnvironment& env);

// Reads a settings file: only a regular file of at most CONFIG_MAX_BYTES, looked at with stat
// before it is opened (a FIFO never blocks). A missing file is no settings and no message unless
// must_exist; anything else that cannot be read gives one message line and no settings.
ConfigRead settings_read_file(const std::string& path, ConfigKind kind, bool must_exist);
