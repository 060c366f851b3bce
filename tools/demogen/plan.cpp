#include "app/program.h"
#include "plan.h"

#include <cstdlib>
#include <deque>

#include "game/game.h"
#include "playfield/player.h"
#include "playfield/playfield.h"

namespace {

// The program app_main runs, watched from the fake platform's hooks.
const Program& P() { return *app_program(); }

constexpr int32_t PLAN_MAX_PASSES = 700;

int32_t walk_index(Point p) { return (p.y / 2) * WALK_SIDE + p.x / 2; }
bool is_border(int32_t x, int32_t y) { return playfield_inside(x, y) && playfield_cell(P().round.playfield, x, y) == CELL_BORDER; }

const int32_t STEP_X[5] = {0, 1, -1, 0, 0};
const int32_t STEP_Y[5] = {0, 0, 0, -1, 1};

// Breadth-first over border positions; parent[i] is the index a position was reached from.
std::vector<int32_t> border_search(Point from, std::vector<int32_t>* parent) {
  std::vector<int32_t> dist(WALK_SIDE * WALK_SIDE, -1);
  if (parent) parent->assign(dist.size(), -1);
  std::deque<Point> queue{from};
  dist[walk_index(from)] = 0;
  while (!queue.empty()) {
    const Point p = queue.front();
    queue.pop_front();
    for (int32_t d = 1; d <= 4; ++d) {
      const Point n{p.x + 2 * STEP_X[d], p.y + 2 * STEP_Y[d]};
      if (!is_border(n.x, n.y) || !is_border(p.x + STEP_X[d], p.y + STEP_Y[d]) || dist[walk_index(n)] >= 0) continue;
      dist[walk_index(n)] = dist[walk_index(p)] + 1;
      if (parent) (*parent)[walk_index(n)] = walk_index(p);
      queue.push_back(n);
    }
  }
  return dist;
}

Keys arrow(int32_t dir) {
  static const int32_t KEYS[5] = {0, VK_RIGHT, VK_LEFT, VK_UP, VK_DOWN};
  return dir >= 1 && dir <= 4 ? input_key_bit(KEYS[dir]) : 0;
}

int32_t direction_of(Point a, Point b) {
  if (b.x > a.x) return DIR_RIGHT;
  if (b.x < a.x) return DIR_LEFT;
  if (b.y < a.y) return DIR_UP;
  return DIR_DOWN;
}

// Walking keys: Shift doubles the pace where the next two steps go the same way; elsewhere no
// draw key, so that no step can leave the border.
bool walk_keys(PlanRun* run, Keys* keys) {
  const Point here{P().round.player.player_x, P().round.player.player_y};
  auto& path = run->path;
  while (run->at < path.size() && (path[run->at].x != here.x || path[run->at].y != here.y)) ++run->at;
  if (run->at >= path.size()) {
    run->path = border_path(here, run->plan.start);
    run->at = 0;
    if (path.empty()) return false;
  }
  if (run->at + 1 >= path.size()) return false;  // arrived
  const int32_t d = direction_of(path[run->at], path[run->at + 1]);
  *keys = arrow(d);
  if (run->at + 2 < path.size() && direction_of(path[run->at + 1], path[run->at + 2]) == d)
    *keys |= input_key_bit(VK_SHIFT);
  return true;
}

}  // namespace

std::vector<int32_t> border_distances(Point from) { return border_search(from, nullptr); }

std::vector<Point> border_path(Point from, Point to) {
  std::vector<int32_t> parent;
  const std::vector<int32_t> dist = border_search(from, &parent);
  if (dist[walk_index(to)] < 0) return {};
  std::vector<Point> path;
  for (int32_t i = walk_index(to); i >= 0; i = parent[i]) path.insert(path.begin(), Point{(i % WALK_SIDE) * 2, (i / WALK_SIDE) * 2});
  return path;
}

PlanRun plan_begin(const Plan& plan) {
  PlanRun run;
  run.plan = plan;
  run.path = border_path(Point{P().round.player.player_x, P().round.player.player_y}, plan.start);
  if (run.path.empty()) run.stage = 2;
  return run;
}

bool plan_tick(PlanRun* run, Keys* keys) {
  if (run->stage == 2 || P().game.game_phase != PHASE_PLAYING || ++run->passes > PLAN_MAX_PASSES) {
    run->stage = 2;
    return false;
  }
  const Plan& plan = run->plan;
  if (run->stage == 0) {
    if (walk_keys(run, keys)) return true;
    if (P().round.player.player_x != plan.start.x || P().round.player.player_y != plan.start.y || plan.walk_only) {
      run->stage = 2;
      return false;
    }
    run->stage = 1;
  }
  if (P().round.player.player_drawing) run->drew = true;
  if (run->drew && !P().round.player.player_drawing) {
    run->stage = 2;  // the stix is complete
    return false;
  }
  if (plan.halt && run->drew) return true;  // hands off: the Fuse burns towards the marker
  const int32_t along = std::abs(STEP_X[plan.dir1] * (P().round.player.player_x - plan.start.x) + STEP_Y[plan.dir1] * (P().round.player.player_y - plan.start.y));
  const int32_t dir = plan.dir2 != 0 && plan.len1 > 0 && along >= plan.len1 ? plan.dir2 : plan.dir1;
  *keys = arrow(dir) | input_key_bit(plan.mode == 2 ? VK_SHIFT : VK_CONTROL);
  if (plan.cancel) *keys |= input_key_bit(VK_SPACE);
  return true;
}
