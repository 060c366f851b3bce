// Files in the browser: the pictures and sounds are packed with the page into the folder /data;
// the hi-score table lives in the browser's storage and is kept there on every save, so it
// survives a reload.
#include <emscripten.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <sys/stat.h>

#include "platform/platform.h"

namespace {

constexpr const char* DATA_FOLDER = "/data";
constexpr const char* SCORES_KEY = "zorvane/scores.dat";
// A table is a few hundred bytes; anything far larger in storage is not ours.
constexpr int32_t MAX_SCORES_BYTES = 1 << 20;

struct WebFiles {
  std::string data_folder = DATA_FOLDER;
  std::string scores_key = SCORES_KEY;
  std::set<std::string> reported;  // missing data files already named on the console
  bool table_in_memory = false;    // storage refused the last save: the table lives on here
  std::string table;
};

WebFiles files;

// Storage values are strings; each byte of the table is kept as one character of 0..255, so
// any bytes survive (the table is text, but a damaged one must not become worse).
EM_JS(char*, page_storage_read, (const char* key, int max_bytes, int* size), {
  var text = null;
  try {
    text = window.localStorage.getItem(UTF8ToString(key));
  } catch (e) {
    return 0;
  }
  if (text === null || text.length > max_bytes) return 0;
  var at = _malloc(text.length + 1);
  if (!at) return 0;
  for (var i = 0; i < text.length; ++i) HEAPU8[at + i] = text.charCodeAt(i) & 255;
  HEAP32[size >> 2] = text.length;
  return at;
});

EM_JS(int, page_storage_write, (const char* key, const uint8_t* bytes, int size), {
  var parts = [];
  for (var i = 0; i < size; i += 4096)
    parts.push(String.fromCharCode.apply(null, HEAPU8.subarray(bytes + i, bytes + Math.min(size, i + 4096))));
  try {
    window.localStorage.setItem(UTF8ToString(key), parts.join(""));
    return 1;
  } catch (e) {
    return 0;
  }
});

bool is_file(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

// --data names a folder packed with the page; --scores names the storage entry.
void platform_configure_files(const char* data_dir_option, const char* scores_option) {
  files = WebFiles{};
  if (data_dir_option && *data_dir_option) files.data_folder = data_dir_option;
  if (scores_option && *scores_option) files.scores_key = scores_option;
}

std::string platform_data_path(const char* name) {
  const std::string n = name ? name : "";
  if (n.find('/') != std::string::npos) return n;
  const std::string path = files.data_folder + "/" + n;
  if (is_file(path)) return path;
  if (files.reported.insert(n).second)
    std::fprintf(stderr, "zorvane: %s is missing (searched %s)\n", n.c_str(), files.data_folder.c_str());
  return std::string();
}

bool platform_scores_read(std::string* out) {
  out->clear();
  if (files.table_in_memory) {
    *out = files.table;
    return true;
  }
  int size = 0;
  char* bytes = page_storage_read(files.scores_key.c_str(), MAX_SCORES_BYTES, &size);
  if (!bytes) return false;
  out->assign(bytes, static_cast<size_t>(size));
  std::free(bytes);
  return true;
}

bool platform_scores_write(const std::string& text) {
  const bool saved = page_storage_write(files.scores_key.c_str(), reinterpret_cast<const uint8_t*>(text.data()),
                                       static_cast<int>(text.size())) != 0;
  if (!saved && !files.table_in_memory)
    std::fprintf(stderr, "zorvane: the hi-score table cannot be kept in this browser's storage\n");
  files.table = saved ? std::string() : text;
  files.table_in_memory = !saved;
  return saved;
}
