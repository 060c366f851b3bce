// demogen: records a golden demo by playing a scripted run of the real game on the fake
// platform, with a bot that finds working cuts by trying them in forked copies of the program.
//   demogen --scenario NAME --out FILE.zdemo [--seed N] [--data DIR]
//   demogen --list
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/app.h"
#include "platform/fake/fake_platform.h"
#include "scenarios.h"

namespace {

namespace fs = std::filesystem;

int usage() {
  std::fprintf(stderr, "usage: demogen --scenario NAME --out FILE.zdemo [--seed N] [--data DIR] | demogen --list\n");
  return 2;
}

fs::path run_folder;

// Also when a script gives up half way (std::exit); lookahead children leave with _exit.
void remove_run_folder() {
  std::error_code ec;
  if (!run_folder.empty()) fs::remove_all(run_folder, ec);
  run_folder.clear();
}

// A folder of its own for the run: the data files linked in, and the starting hi-score table.
bool make_run_folder(const fs::path& data, const char* scores, fs::path* out) {
  char pattern[] = "/tmp/demogen-XXXXXX";
  if (mkdtemp(pattern) == nullptr) return false;
  *out = pattern;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(data, ec)) {
    fs::create_symlink(fs::absolute(e.path()), *out / e.path().filename(), ec);
    if (ec) return false;
  }
  std::ofstream(*out / "scores.dat", std::ios::binary) << scores;
  return !ec;
}

}  // namespace

int main(int argc, char** argv) {
  const char* name = nullptr;
  std::string out, data = ZORVANE_DATA_DIR;
  long long seed = -1;
  for (int i = 1; i < argc; ++i) {
    const bool has_value = i + 1 < argc;
    if (std::strcmp(argv[i], "--list") == 0) {
      for (const Scenario& s : scenario_list()) std::printf("%s %u\n", s.name, s.seed);
      return 0;
    } else if (std::strcmp(argv[i], "--scenario") == 0 && has_value) {
      name = argv[++i];
    } else if (std::strcmp(argv[i], "--out") == 0 && has_value) {
      out = argv[++i];
    } else if (std::strcmp(argv[i], "--data") == 0 && has_value) {
      data = argv[++i];
    } else if (std::strcmp(argv[i], "--seed") == 0 && has_value) {
      char* end = nullptr;
      seed = std::strtoll(argv[++i], &end, 10);
      if (*end != '\0' || seed < 0 || seed > 0xFFFFFFFFll) return usage();
    } else {
      return usage();
    }
  }
  const Scenario* scenario = name ? scenario_find(name) : nullptr;
  if (scenario == nullptr || out.empty()) return usage();

  const fs::path out_path = fs::absolute(out), here = fs::current_path();
  std::atexit(remove_run_folder);
  if (!make_run_folder(data, scenario->scores, &run_folder)) {
    std::fprintf(stderr, "demogen: cannot prepare a run folder from %s\n", data.c_str());
    return 1;
  }
  fs::current_path(run_folder);
  fake_reset();
  fake_capture_frames(false);
  driver_start(scenario->steps());
  Options options;
  options.demo = DemoMode::RECORD;
  options.demo_file = out_path.string();
  options.seed_given = true;
  options.seed = seed >= 0 ? static_cast<uint32_t>(seed) : scenario->seed;
  const int32_t status = app_main(options);
  fs::current_path(here);
  remove_run_folder();
  std::printf("%s: %lld passes, %llu frames, exit %d\n", out_path.c_str(), static_cast<long long>(driver_pass()),
              static_cast<unsigned long long>(fake_frame_count()), status);
  return status;
}
