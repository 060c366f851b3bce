// The desktop's settings files and the platform calls that read them.
#include "platform/common/settings_files.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/common/settings.h"
#include "platform/platform.h"

namespace {

std::string env_or_empty(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

bool absolute(const std::string& path) { return !path.empty() && path[0] == '/'; }

std::string joined(const std::string& folder, const char* name) {
  if (folder.empty() || folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

bool anything_at(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

// Every missing folder on the way to file (0700, as for any per-user state).
bool make_folders_for(const std::string& file) {
  for (size_t slash = file.find('/', 1); slash != std::string::npos; slash = file.find('/', slash + 1))
    if (mkdir(file.substr(0, slash).c_str(), 0700) != 0 && errno != EEXIST) return false;
  return true;
}

std::string state_path;

bool save_state(const std::string& text) {
  return !state_path.empty() && make_folders_for(state_path) &&
         platform_file_replace(state_path.c_str(), text.data(), text.size());
}

ConfigRead refused(const std::string& path, const std::string& why) {
  ConfigRead out;
  out.messages.push_back(path + ": " + why + "; using the defaults");
  return out;
}

}  // namespace

SettingsEnvironment settings_environment_read(const char* config_option) {
  SettingsEnvironment env;
  env.config_option = config_option != nullptr ? config_option : "";
  env.xdg_config_home = env_or_empty("XDG_CONFIG_HOME");
  env.xdg_config_dirs = env_or_empty("XDG_CONFIG_DIRS");
  env.xdg_state_home = env_or_empty("XDG_STATE_HOME");
  env.home = env_or_empty("HOME");
  if (env.home.empty())
    if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr) env.home = pw->pw_dir;
  return env;
}

std::string settings_config_path(const SettingsEnvironment& env) {
  if (!env.config_option.empty()) return env.config_option;
  std::string own;
  if (absolute(env.xdg_config_home))
    own = joined(env.xdg_config_home, "zorvane/zorvane.toml");
  else if (!env.home.empty())
    own = joined(env.home, ".config/zorvane/zorvane.toml");
  if (!own.empty() && anything_at(own)) return own;
  const std::string dirs = env.xdg_config_dirs.empty() ? std::string("/etc/xdg") : env.xdg_config_dirs;
  for (size_t at = 0; at <= dirs.size();) {
    size_t colon = dirs.find(':', at);
    if (colon == std::string::npos) colon = dirs.size();
    const std::string folder = dirs.substr(at, colon - at);
    at = colon + 1;
    if (!absolute(folder)) continue;
    const std::string path = joined(folder, "zorvane/zorvane.toml");
    if (anything_at(path)) return path;
  }
  return "";
}

std::string settings_state_path(const SettingsEnvironment& env) {
  if (absolute(env.xdg_state_home)) return joined(env.xdg_state_home, "zorvane/state.toml");
  if (!env.home.empty()) return joined(env.home, ".local/state/zorvane/state.toml");
  return "";
}

ConfigRead settings_read_file(const std::string& path, ConfigKind kind, bool must_exist) {
  if (path.empty()) return ConfigRead{};
  struct stat st;
  if (stat(path.c_str(), &st) != 0) {
    if (errno == ENOENT && !must_exist) return ConfigRead{};
    return refused(path, std::string("cannot be read (") + std::strerror(errno) + ")");
  }
  if (!S_ISREG(st.st_mode)) return refused(path, S_ISDIR(st.st_mode) ? "is a folder, not a file" : "is not a regular file");
  if (static_cast<uint64_t>(st.st_size) > CONFIG_MAX_BYTES) return refused(path, "is larger than 64 KiB");
  std::string text;
  if (!platform_file_read(path.c_str(), &text, CONFIG_MAX_BYTES)) {
    const bool unreadable = access(path.c_str(), R_OK) != 0;
    return refused(path, unreadable ? "cannot be read (permission denied)" : "cannot be read");
  }
  return config_parse(text, path, kind);
}

void platform_configure_settings(const char* config_option, bool remember) {
  const SettingsEnvironment env = settings_environment_read(config_option);
  SettingsSources sources;
  sources.config_name = settings_config_path(env);
  sources.config = settings_read_file(sources.config_name, ConfigKind::PLAYER, !env.config_option.empty());
  sources.state_name = settings_state_path(env);
  sources.state = settings_read_file(sources.state_name, ConfigKind::STATE, false);
  state_path = sources.state_name;
  settings_begin(sources, remember, save_state);
}

std::string platform_settings_text() { return settings_print(settings_sources()); }
