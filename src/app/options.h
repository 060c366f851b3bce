// The command line, parsed in one place.
#pragma once
#include <cstdint>
#include <string>

enum class ScaleMode : int32_t { FIT = 0, INTEGER = 1 };
enum class DemoMode : int32_t { NONE = 0, RECORD = 1, PLAY = 2, TIME = 3 };

struct Options {
  bool help = false;
  bool version = false;
  int32_t windowed = -1;  // -1: not said (the environment or the default decides), 0 full screen, 1 window
  ScaleMode scale = ScaleMode::FIT;
  bool scale_given = false;  // --scale was given (else the configuration file decides)
  std::string data_dir;     // --data DIR
  std::string scores_file;  // --scores FILE
  std::string config_file;  // --config FILE
  bool print_config = false;
  bool seed_given = false;
  uint32_t seed = 0;        // --seed N
  DemoMode demo = DemoMode::NONE;
  std::string demo_file;    // the file of --record, --playdemo or --timedemo
};

// Fills options from argv. False on anything it does not understand, with a one-line reason
// in error (the caller prints the usage and exits 2).
bool options_parse(int argc, const char* const* argv, Options* options, std::string* error);
// The usage text, for --help and for errors.
const char* options_usage();
