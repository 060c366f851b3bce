// Finding cuts that work: candidate cuts are ranked by a quick estimate of what they claim,
// and the best are tried for real in forked copies of the whole program (a fork is a perfect
// save state); the recorded run then plays the cut whose trial went best.
#pragma once
#include <cstdint>
#include <vector>

#include "plan.h"

enum class Goal : int32_t {
  CLAIM,        // claim as much as pays, fast; finish the level when a cut can
  QUICK_CLAIM,  // the quickest claim (or, with cancel, the quickest completed stix)
  QIX_DEATH,    // run the stix into the QIX
  SPLIT,        // cut the two QIXes apart without finishing the level, and live to be paid
};

struct Wish {
  Goal goal = Goal::CLAIM;
  int32_t mode = 2;     // draw key of the cut
  bool cancel = false;  // hold Space while drawing
};

// What one trial of a plan led to.
struct Outcome {
  int32_t passes = 0;      // until the plan was over
  int32_t claimed = 0;     // cells claimed
  int32_t lost = 0;        // 0 no life lost, 1 QIX, 2 Sparx, 3 Fuse
  int32_t level_done = 0;  // the claim target was reached
  int32_t captured = 0;    // a QIX was cut off
  int32_t bonus = 0;       // the split bonus was paid
  int32_t completed = 0;   // the stix reached a border
};

// A step that finds the best cut for wish and plays it (and, for a split, waits for the pay).
Step step_cut(Wish wish);
