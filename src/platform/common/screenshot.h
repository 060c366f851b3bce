// Screenshots: the game's 640x480 frame exactly as drawn (its 8-bit pixels through its palette)
// as a PNG in the player's pictures folder, never over an existing file.
#pragma once
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

struct ScreenshotEnvironment {
  std::string xdg_pictures_dir;  // $XDG_PICTURES_DIR
  std::string xdg_config_home;   // $XDG_CONFIG_HOME, for its user-dirs.dirs
  std::string home;              // $HOME
};

ScreenshotEnvironment screenshot_environment_read();
// $XDG_PICTURES_DIR, else the XDG_PICTURES_DIR line of user-dirs.dirs ("$HOME/..." or an
// absolute path), else $HOME; with Zorvane/ inside. "" with no home at all.
std::string screenshot_folder(const ScreenshotEnvironment& env);
// The value of XDG_PICTURES_DIR in a user-dirs.dirs text; "" when it has none we can use.
std::string screenshot_user_dirs_pictures(const std::string& text, const std::string& home);
// zorvane-YYYYMMDD-HHMMSS.png for the local time t, then -2, -3... for the n-th in that second.
std::string screenshot_file_name(std::time_t t, int32_t n);

// Writes png into folder (made if missing) under the first free name for time t, never over a
// file already there; the path written, or "" when nothing could be written (desktop only).
std::string screenshot_save(const std::string& folder, std::time_t t, const std::vector<uint8_t>& png);
// The platform's part: keeps a screenshot's PNG (a file in the pictures folder on the desktop, a
// download in the browser); where it went, or "" when it could not.
std::string screenshot_deliver(const std::vector<uint8_t>& png, std::time_t t);

// The screenshot key asks; the next frame presented is taken (the platform calls
// screenshot_take_pending with it).
void screenshot_request();
// Takes the frame if one was asked for: the file written, or a message, as a notice and a line
// on stdout (stderr for a failure).
void screenshot_take_pending(const uint8_t* pixels, int32_t pitch, const uint8_t palette[256][3]);
