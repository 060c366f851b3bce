// Where the data files and the scores file are found: the search itself is a pure function of
// the environment, so it can be tested with a made-up one.
#pragma once
#include <string>
#include <vector>

// What the search looks at, read once at start-up. Empty strings are "not set".
struct StorageEnvironment {
  std::string data_option;     // --data DIR
  std::string scores_option;   // --scores FILE
  std::string zorvane_data;    // $ZORVANE_DATA
  std::string xdg_data_home;   // $XDG_DATA_HOME
  std::string home;            // $HOME, or the password database's home folder
  std::string program_folder;  // the folder holding the running program
  std::string installed_data;  // <prefix>/share/zorvane, fixed when the program was configured
};

// The real environment of this process, with the two command-line values (null: not given).
StorageEnvironment storage_environment_read(const char* data_option, const char* scores_option);

// The folders searched for data files, in order, without repeats: --data, $ZORVANE_DATA, the
// "data" folder beside the program, the installed data folder.
std::vector<std::string> storage_data_folders(const StorageEnvironment& env);
// The scores file: --scores, else $XDG_DATA_HOME/zorvane/scores.dat (an absolute
// $XDG_DATA_HOME only), else ~/.local/share/zorvane/scores.dat; empty with no home at all.
std::string storage_scores_file(const StorageEnvironment& env);

// Makes the platform's file calls use env. Also forgets what earlier runs noticed (the one-time
// import, the messages already printed).
void storage_configure(const StorageEnvironment& env);
// Back to the unconfigured state: data files and scores.dat in the current folder, taken by
// name (tests and tools that never call platform_configure_files).
void storage_use_current_folder();

// The path of a data file if one of the folders holds it as a regular file; empty otherwise.
// Quiet: unlike platform_data_path it never reports what is missing.
std::string storage_find_data(const char* name);
