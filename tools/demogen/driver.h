// Drives a recorded run pass by pass: at the start of every pass of the main loop (the key
// query for Enter comes first) the current step of the scenario chooses the keys held.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "common/input.h"

// The keys held in one pass, as a mask of input_key_bit values.
using Keys = uint16_t;

// A scenario step: called at the start of every pass while it runs. It sets *keys and returns
// true, or returns false when it is over; the next step then takes the same pass.
using Step = std::function<bool(Keys* keys)>;

// Installs the pass hook on the fake platform; the steps run in order, then the window closes.
void driver_start(std::vector<Step> steps);
// From now on this step alone drives every pass (a lookahead child: it never gives up a pass).
void driver_override(Step step);
// Passes begun so far.
int64_t driver_pass();

// Steps for plain key sequences.
Step step_hold(Keys keys, int32_t passes);
// Holds keys for one pass and then nothing for one more (menus and the initials latch).
Step step_tap(Keys keys);
// Holds keys until done() says the state it waits for has come, at most max_passes.
Step step_until(Keys keys, std::function<bool()> done, int32_t max_passes);
