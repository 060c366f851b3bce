// The command line's immediate answers, and what it hands to the platform before start-up.
#include "app/command_line.h"

#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "zorvane_version.h"

namespace {

constexpr int32_t CONTINUE = -1;
constexpr int32_t EXIT_OK = 0;
constexpr int32_t EXIT_FAILURE_TO_PRINT = 1;
constexpr int32_t EXIT_USAGE = 2;

// A help text that could not be written (a closed or full stdout) is a failure, not a success.
int32_t printed(const std::string& text) {
  const bool ok = std::fputs(text.c_str(), stdout) >= 0 && std::fflush(stdout) == 0;
  return ok ? EXIT_OK : EXIT_FAILURE_TO_PRINT;
}

const char* or_null(const std::string& s) { return s.empty() ? nullptr : s.c_str(); }

}  // namespace

int32_t app_handle_options(int argc, char** argv, Options* out) {
  std::string error;
  if (!options_parse(argc, argv, out, &error)) {
    std::fprintf(stderr, "zorvane: %s\n%s", error.c_str(), options_usage());
    return EXIT_USAGE;
  }
  if (out->help) return printed(options_usage());
  if (out->version) return printed(std::string("zorvane ") + ZORVANE_VERSION + "\n");
  platform_configure_files(or_null(out->data_dir), or_null(out->scores_file));
  platform_configure_video(out->windowed, out->scale_given ? (out->scale == ScaleMode::INTEGER ? 1 : 0) : -1);
  // A replay changes nothing the player would find at the next start.
  const bool replay = out->demo == DemoMode::PLAY || out->demo == DemoMode::TIME;
  platform_configure_settings(or_null(out->config_file), !replay && !out->print_config);
  if (out->print_config) return printed(platform_settings_text());
  return CONTINUE;
}
