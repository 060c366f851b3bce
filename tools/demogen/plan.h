// A cut: walk the border to a start point, then draw a stix in one or two straight legs until
// it meets a border again. The executor turns a plan into the keys of each pass from the
// game's state alone, so a lookahead child and the recorded run play it identically.
#pragma once
#include <cstdint>
#include <vector>

#include "driver.h"

struct Point {
  int32_t x = 0, y = 0;
};

struct Plan {
  Point start;            // border point the stix leaves from
  int32_t dir1 = 0;       // DIR_* of the first leg
  int32_t len1 = 0;       // cells of the first leg; 0: on to the border
  int32_t dir2 = 0;       // DIR_* of the second leg, on to the border; 0: none
  int32_t mode = 2;       // 1 Ctrl (slow), 2 Shift (fast)
  bool cancel = false;    // Space held while drawing: the completed stix claims nothing
  bool halt = false;      // stand still after the first step (the Fuse comes)
  bool walk_only = false; // no stix: walk to start and stand there
};

// Border positions reachable from the marker, with their distance in steps, on the grid of
// even cells (index (y / 2) * 235 + x / 2); -1 where unreachable.
constexpr int32_t WALK_SIDE = 235;
std::vector<int32_t> border_distances(Point from);
// The positions from from to to along the border, both included; empty when there is no way.
std::vector<Point> border_path(Point from, Point to);

struct PlanRun {
  Plan plan;
  std::vector<Point> path;
  size_t at = 0;
  int32_t stage = 0;  // 0 walking, 1 drawing, 2 over
  int32_t passes = 0;
  bool drew = false;
};

PlanRun plan_begin(const Plan& plan);
// The keys of this pass; false once the plan is over (completed, failed or a life lost).
bool plan_tick(PlanRun* run, Keys* keys);
