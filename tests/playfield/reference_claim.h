// The claim written as plain recursion, line by line from its description, to check the
// stack-based fills against. Needs a thread with a very large stack.
#pragma once
#include <cstdint>

// Spans visited by reference_claim_fill since the counter was last cleared.
extern int64_t reference_claim_spans;

// below_first swaps the order of the rows above and below, to show that the order matters.
int32_t reference_probe_fill(int32_t x, int32_t y, int32_t mark);
int32_t reference_claim_fill(int32_t x, int32_t y, bool below_first = false);
void reference_claim(int32_t x, int32_t y, int32_t direction, int32_t move_mode, bool below_first = false);

// Runs body on a thread with a 512 MiB stack and waits for it; false if no such thread starts.
bool run_with_big_stack(void (*body)(void*), void* argument);
