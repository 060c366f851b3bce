// The data folder and the scores file: both in the folder the game runs in.
#include "platform/platform.h"

namespace {
constexpr const char* SCORES_FILE = "scores.dat";
// A table of ten short lines is about a hundred bytes; anything past this is not a table.
constexpr size_t SCORES_MAX_BYTES = 64 * 1024;
}  // namespace

std::string platform_data_path(const char* name) { return name != nullptr ? name : ""; }

bool platform_scores_read(std::string* out) { return platform_file_read(SCORES_FILE, out, SCORES_MAX_BYTES); }

bool platform_scores_write(const std::string& text) {
  return platform_file_replace(SCORES_FILE, text.data(), text.size());
}
