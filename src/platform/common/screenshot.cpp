// Screenshots: names, the pictures folder named in user-dirs.dirs, and the frame taken at the
// next present after the key.
#include "platform/common/screenshot.h"

#include <cstdio>

#include "platform/common/notice.h"
#include "platform/common/png_writer.h"
#include "platform/platform.h"

namespace {

constexpr int32_t FRAME_W = 640, FRAME_H = 480;

bool pending = false;

std::string joined(const std::string& folder, const char* name) {
  if (folder.empty() || folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

}  // namespace

std::string screenshot_user_dirs_pictures(const std::string& text, const std::string& home) {
  std::string found;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    at = end + 1;
    const size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#') continue;
    line = line.substr(start);
    const std::string key = "XDG_PICTURES_DIR=";
    if (line.compare(0, key.size(), key) != 0) continue;
    std::string value = line.substr(key.size());
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t' || value.back() == '\r')) value.pop_back();
    if (value.size() < 2 || value.front() != '"' || value.back() != '"') continue;
    value = value.substr(1, value.size() - 2);
    // The file's own rules: "$HOME/..." or an absolute path, nothing else.
    if (value == "$HOME")
      found = home;
    else if (value.compare(0, 6, "$HOME/") == 0)
      found = home.empty() ? "" : joined(home, value.c_str() + 6);
    else if (!value.empty() && value[0] == '/')
      found = value;
  }
  return found;
}

std::string screenshot_file_name(std::time_t t, int32_t n) {
  std::tm local{};
  localtime_r(&t, &local);
  char name[64];
  std::snprintf(name, sizeof name, "zorvane-%04d%02d%02d-%02d%02d%02d", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  std::string s = name;
  if (n > 1) s += "-" + std::to_string(n);
  return s + ".png";
}

void screenshot_request() { pending = true; }

void screenshot_take_pending(const uint8_t* pixels, int32_t pitch, const uint8_t palette[256][3]) {
  if (!pending) return;
  pending = false;
  const std::vector<uint8_t> png = png_encode_indexed(pixels, FRAME_W, FRAME_H, pitch, palette);
  const std::time_t now = static_cast<std::time_t>(platform_time_seconds());
  const std::string where = png.empty() ? std::string() : screenshot_deliver(png, now);
  if (where.empty()) {
    std::fprintf(stderr, "zorvane: the screenshot could not be saved\n");
    notice_post("Screenshot not saved", platform_ticks());
    return;
  }
  std::printf("zorvane: screenshot saved as %s\n", where.c_str());
  std::fflush(stdout);
  const size_t slash = where.rfind('/');
  notice_post("Screenshot " + (slash == std::string::npos ? where : where.substr(slash + 1)), platform_ticks());
}
