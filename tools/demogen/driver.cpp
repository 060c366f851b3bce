#include "driver.h"

#include <cstdio>
#include <cstdlib>

#include "platform/fake/fake_platform.h"

namespace {

struct Driver {
  std::vector<Step> steps;
  size_t at = 0;
  int64_t pass = 0;
  Step override_step;
};

Driver driver;

void set_keys(Keys keys) {
  for (int32_t i = 0; i < GAME_KEY_COUNT; ++i) fake_set_key(GAME_KEYS[i], (keys & (1u << i)) != 0);
}

void on_pass() {
  Keys keys = 0;
  if (!driver.override_step) {
    while (driver.at < driver.steps.size()) {
      keys = 0;
      if (driver.steps[driver.at](&keys)) break;
      ++driver.at;
    }
    // The script is over: the window is closed, which ends the run two passes later.
    if (driver.at >= driver.steps.size() && !driver.override_step) {
      keys = 0;
      fake_close_window();
    }
  }
  // A step that has just forked a lookahead child hands the pass to the child's own step.
  if (driver.override_step) {
    keys = 0;
    driver.override_step(&keys);
  }
  set_keys(keys);
  ++driver.pass;
}

}  // namespace

void driver_start(std::vector<Step> steps) {
  driver = Driver{};
  driver.steps = std::move(steps);
  fake_on_key_query([](int32_t vk) {
    if (vk == VK_RETURN) on_pass();
  });
}

void driver_override(Step step) { driver.override_step = std::move(step); }

int64_t driver_pass() { return driver.pass; }

Step step_hold(Keys keys, int32_t passes) {
  int32_t left = passes;
  return [keys, left](Keys* out) mutable {
    if (left-- <= 0) return false;
    *out = keys;
    return true;
  };
}

Step step_tap(Keys keys) {
  int32_t at = 0;
  return [keys, at](Keys* out) mutable {
    if (at >= 2) return false;
    *out = at++ == 0 ? keys : 0;
    return true;
  };
}

Step step_until(Keys keys, std::function<bool()> done, int32_t max_passes) {
  int32_t left = max_passes;
  return [keys, done, left, max_passes](Keys* out) mutable {
    if (done()) return false;
    if (left-- <= 0) {
      std::fprintf(stderr, "demogen: a step waited %d passes in vain\n", max_passes);
      std::exit(1);
    }
    *out = keys;
    return true;
  };
}
