// The data folders and the scores file. Pictures and sounds are searched for in a list of
// folders; the hi-score table lives in the player's home, never in the build or install tree.
#include "platform/common/storage.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/platform.h"

#ifndef ZORVANE_INSTALLED_DATA_DIR
#define ZORVANE_INSTALLED_DATA_DIR ""
#endif

namespace {

constexpr const char* SCORES_NAME = "scores.dat";
// A table of ten short lines is about a hundred bytes; anything past this is not a table.
constexpr size_t SCORES_MAX_BYTES = 64 * 1024;

struct Storage {
  bool configured = false;
  std::vector<std::string> data_folders;
  std::string scores_file;
  bool scores_from_option = false;
  bool import_checked = false;
  // A table that could not be written (an old one that could not be copied home, or a save
  // that failed) is read back from memory for the rest of the run.
  bool table_in_memory = false;
  std::string table;
  bool told_missing = false;
  bool told_unsaved = false;
};

Storage storage;

std::string joined(const std::string& folder, const char* name) {
  if (folder.empty() || folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

std::string env_or_empty(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// Only regular files count: a folder or a FIFO by a data file's name would fail or block the
// reader.
bool regular_file(const std::string& path) {
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool anything_at(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

// Creates every missing folder on the way to file (0700, as for any per-user data).
bool make_folders_for(const std::string& file) {
  for (size_t slash = file.find('/', 1); slash != std::string::npos; slash = file.find('/', slash + 1)) {
    const std::string folder = file.substr(0, slash);
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return true;
}

void tell_missing(const char* name) {
  if (storage.told_missing) return;
  storage.told_missing = true;
  std::string folders;
  for (const std::string& f : storage.data_folders) folders += (folders.empty() ? "" : ", ") + f;
  if (folders.empty()) folders = "(no data folder known)";
  std::fprintf(stderr, "zorvane: %s not found in %s; running without the missing pictures and sounds\n", name,
               folders.c_str());
}

// why: the errno of the failed save. The table on disk is left as it was; the new one lives on
// in memory, and every later save tries the file again.
void tell_unsaved(int why) {
  if (storage.told_unsaved) return;
  storage.told_unsaved = true;
  if (storage.scores_file.empty())
    std::fprintf(stderr, "zorvane: no home folder to keep the hi-scores in; they will not be saved\n");
  else
    std::fprintf(stderr,
                 "zorvane: cannot write the hi-scores to %s (%s); the old table stays on disk, the new one is "
                 "kept for this run and the next save tries again\n",
                 storage.scores_file.c_str(), why ? std::strerror(why) : "unknown error");
}

bool save_scores(const std::string& text) {
  errno = 0;
  return !storage.scores_file.empty() && make_folders_for(storage.scores_file) &&
         platform_file_replace(storage.scores_file.c_str(), text.data(), text.size());
}

// Earlier versions kept scores.dat in the data folder. When the player has no table at home
// yet, the first one found there is copied home, once; the old file is only ever read.
void import_old_table() {
  if (storage.import_checked) return;
  storage.import_checked = true;
  if (storage.scores_from_option || anything_at(storage.scores_file)) return;
  for (const std::string& folder : storage.data_folders) {
    std::string text;
    const std::string old_file = joined(folder, SCORES_NAME);
    if (!regular_file(old_file) || !platform_file_read(old_file.c_str(), &text, SCORES_MAX_BYTES)) continue;
    if (!save_scores(text)) {
      tell_unsaved(errno);
      storage.table = text;
      storage.table_in_memory = true;
    }
    return;
  }
}

}  // namespace

StorageEnvironment storage_environment_read(const char* data_option, const char* scores_option) {
  StorageEnvironment env;
  env.data_option = data_option != nullptr ? data_option : "";
  env.scores_option = scores_option != nullptr ? scores_option : "";
  env.zorvane_data = env_or_empty("ZORVANE_DATA");
  env.xdg_data_home = env_or_empty("XDG_DATA_HOME");
  env.home = env_or_empty("HOME");
  if (env.home.empty()) {
    if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr) env.home = pw->pw_dir;
  }
  char exe[4096];
  const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (n > 0) {
    const std::string program(exe, static_cast<size_t>(n));
    const size_t slash = program.rfind('/');
    if (slash != std::string::npos) env.program_folder = slash == 0 ? "/" : program.substr(0, slash);
  }
  env.installed_data = ZORVANE_INSTALLED_DATA_DIR;
  return env;
}

std::vector<std::string> storage_data_folders(const StorageEnvironment& env) {
  std::vector<std::string> folders;
  const std::string beside_program = env.program_folder.empty() ? "" : joined(env.program_folder, "data");
  for (const std::string* f : {&env.data_option, &env.zorvane_data, &beside_program, &env.installed_data}) {
    if (f->empty()) continue;
    bool seen = false;
    for (const std::string& g : folders) seen = seen || g == *f;
    if (!seen) folders.push_back(*f);
  }
  return folders;
}

std::string storage_scores_file(const StorageEnvironment& env) {
  if (!env.scores_option.empty()) return env.scores_option;
  // The base directory rules allow only absolute paths; a relative one is ignored.
  if (!env.xdg_data_home.empty() && env.xdg_data_home[0] == '/') return joined(env.xdg_data_home, "zorvane/scores.dat");
  if (!env.home.empty()) return joined(env.home, ".local/share/zorvane/scores.dat");
  return "";
}

void storage_configure(const StorageEnvironment& env) {
  storage = Storage{};
  storage.configured = true;
  storage.data_folders = storage_data_folders(env);
  storage.scores_file = storage_scores_file(env);
  storage.scores_from_option = !env.scores_option.empty();
}

void storage_use_current_folder() { storage = Storage{}; }

std::string storage_find_data(const char* name) {
  if (name == nullptr || *name == '\0') return "";
  // A path rather than a name is taken as it is.
  if (!storage.configured || std::strchr(name, '/') != nullptr) return regular_file(name) ? name : "";
  for (const std::string& folder : storage.data_folders) {
    std::string path = joined(folder, name);
    if (regular_file(path)) return path;
  }
  return "";
}

void platform_configure_files(const char* data_dir_option, const char* scores_option) {
  storage_configure(storage_environment_read(data_dir_option, scores_option));
}

std::string platform_data_path(const char* name) {
  if (name == nullptr) return "";
  if (!storage.configured || std::strchr(name, '/') != nullptr) return name;
  std::string path = storage_find_data(name);
  if (path.empty()) tell_missing(name);
  return path;
}

bool platform_scores_read(std::string* out) {
  out->clear();
  if (!storage.configured) return regular_file(SCORES_NAME) && platform_file_read(SCORES_NAME, out, SCORES_MAX_BYTES);
  import_old_table();
  if (storage.table_in_memory) {
    *out = storage.table;
    return true;
  }
  return regular_file(storage.scores_file) &&
         platform_file_read(storage.scores_file.c_str(), out, SCORES_MAX_BYTES);
}

bool platform_scores_write(const std::string& text) {
  if (!storage.configured) return platform_file_replace(SCORES_NAME, text.data(), text.size());
  const bool saved = save_scores(text);
  if (!saved) tell_unsaved(errno);
  storage.table = saved ? std::string() : text;
  storage.table_in_memory = !saved;
  return saved;
}
