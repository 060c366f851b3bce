// Screenshots on the desktop: files in the pictures folder, made with O_EXCL so that two in the
// same second (or two running games) never write over one another.
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/common/screenshot.h"
#include "platform/platform.h"

namespace {

// The most files one second may take before the folder is called unusable.
constexpr int32_t MAX_SAME_SECOND = 1000;

std::string env_or_empty(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

bool make_folders(const std::string& folder) {
  for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    const std::string part = slash == std::string::npos ? folder : folder.substr(0, slash);
    if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) return true;
  }
}

bool write_all(int fd, const uint8_t* data, size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

ScreenshotEnvironment screenshot_environment_read() {
  ScreenshotEnvironment env;
  env.xdg_pictures_dir = env_or_empty("XDG_PICTURES_DIR");
  env.xdg_config_home = env_or_empty("XDG_CONFIG_HOME");
  env.home = env_or_empty("HOME");
  if (env.home.empty())
    if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr) env.home = pw->pw_dir;
  return env;
}

std::string screenshot_folder(const ScreenshotEnvironment& env) {
  std::string pictures = env.xdg_pictures_dir;
  if (pictures.empty() || pictures[0] != '/') {
    pictures.clear();
    const std::string config = !env.xdg_config_home.empty() && env.xdg_config_home[0] == '/'
                                   ? env.xdg_config_home
                                   : (env.home.empty() ? "" : env.home + "/.config");
    std::string text;
    if (!config.empty() && platform_file_read((config + "/user-dirs.dirs").c_str(), &text, 64 * 1024))
      pictures = screenshot_user_dirs_pictures(text, env.home);
  }
  if (pictures.empty()) pictures = env.home;
  if (pictures.empty()) return "";
  return pictures.back() == '/' ? pictures + "Zorvane" : pictures + "/Zorvane";
}

std::string screenshot_save(const std::string& folder, std::time_t t, const std::vector<uint8_t>& png) {
  if (folder.empty() || png.empty() || !make_folders(folder)) return "";
  for (int32_t n = 1; n <= MAX_SAME_SECOND; ++n) {
    const std::string path = folder + "/" + screenshot_file_name(t, n);
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) return "";
    const bool ok = write_all(fd, png.data(), png.size());
    if (close(fd) != 0 || !ok) {
      unlink(path.c_str());
      return "";
    }
    return path;
  }
  return "";
}

std::string screenshot_deliver(const std::vector<uint8_t>& png, std::time_t t) {
  return screenshot_save(screenshot_folder(screenshot_environment_read()), t, png);
}
