// With no display to talk to, SDL falls back to a driver that shows nothing; the game must
// refuse it (and so say that there is no display) unless SDL_VIDEODRIVER asked for it.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/platform.h"

namespace {

// Sets or clears environment variables for one test and puts them back afterwards.
class Environment {
 public:
  void set(const char* name, const char* value) {
    const char* old = std::getenv(name);
    saved_.push_back({name, old != nullptr, old ? old : ""});
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~Environment() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it)
      it->had ? setenv(it->name.c_str(), it->value.c_str(), 1) : unsetenv(it->name.c_str());
  }

 private:
  struct Saved {
    std::string name;
    bool had;
    std::string value;
  };
  std::vector<Saved> saved_;
};

TEST(WindowDriver, NoDisplayMeansNoWindowUnlessADriverThatShowsNothingWasAskedFor) {
  const std::filesystem::path runtime = std::filesystem::path(::testing::TempDir()) / "zorvane_no_wayland";
  std::filesystem::create_directories(runtime);
  const struct { const char* video_driver; bool window; } cases[] = {
      {nullptr, false},  // SDL would pick its offscreen driver on its own
      // Asked for by name. (Not "offscreen": its window loads Mesa, whose leaks LeakSanitizer
      // reports.)
      {"dummy", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.video_driver ? c.video_driver : "(none)");
    Environment env;
    env.set("SDL_VIDEODRIVER", c.video_driver);
    env.set("DISPLAY", ":9997");  // no X server there
    env.set("WAYLAND_DISPLAY", nullptr);
    env.set("XDG_RUNTIME_DIR", runtime.c_str());  // no Wayland socket either
    const int32_t window = platform_window_create("Marrowin");
    const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
    platform_window_destroy();
    if (!c.window && window != 0)  // a machine with a console display may offer a real driver
      EXPECT_TRUE(driver != "offscreen" && driver != "dummy") << driver;
    else
      EXPECT_EQ(window != 0, c.window) << driver;
  }
  std::filesystem::remove_all(runtime);
}

}  // namespace
