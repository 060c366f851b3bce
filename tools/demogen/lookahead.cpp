#include "app/program.h"
#include "lookahead.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "enemies/fuse.h"
#include "enemies/qix.h"
#include "game/game.h"
#include "platform/fake/fake_platform.h"
#include "playfield/player.h"
#include "playfield/playfield.h"

namespace {

// The program app_main runs, watched from the fake platform's hooks.
const Program& P() { return *app_program(); }

constexpr int32_t SAMPLE_CELLS = 24;   // one start point every this many cells of border
constexpr int32_t LEG_CELLS = 48;      // first legs of L-shaped cuts come in these steps
constexpr int32_t TRIALS_PER_ROUND = 12;
constexpr int32_t TRIAL_HORIZON = 900;
constexpr int32_t SAFE_TAIL = 8;       // passes after a cut that must go by without a lost life
constexpr int32_t BONUS_WAIT = 140;    // the split bonus comes 100 frames after the cut
constexpr int32_t RETRY_WAIT = 12;     // passes to let the enemies move on when no cut works

const int32_t DX[5] = {0, 1, -1, 0, 0};
const int32_t DY[5] = {0, 0, 0, -1, 1};

struct Candidate {
  Plan plan;
  double rank = 0;
};

// The stix cells of a cut; false when the cut cannot be drawn as planned.
bool trace(const Plan& p, std::vector<int32_t>* cells) {
  cells->clear();
  int32_t x = p.start.x, y = p.start.y;
  const int32_t legs = p.dir2 != 0 ? 2 : 1;
  for (int32_t leg = 0; leg < legs; ++leg) {
    const int32_t d = leg == 0 ? p.dir1 : p.dir2;
    const bool last = leg == legs - 1;
    for (int32_t done = 0; last || done < p.len1; done += 2) {
      const int32_t mx = x + DX[d], my = y + DY[d], nx = x + 2 * DX[d], ny = y + 2 * DY[d];
      if (!playfield_inside(nx, ny)) return false;
      const int32_t next = playfield_cell(P().round.playfield, nx, ny), mid = playfield_cell(P().round.playfield, mx, my);
      if (mid == CELL_OPEN) cells->push_back(my * PLAYFIELD_SIZE + mx);
      if (next == CELL_BORDER && last && !cells->empty()) return true;
      if (next != CELL_OPEN || mid != CELL_OPEN) return false;
      cells->push_back(ny * PLAYFIELD_SIZE + nx);
      x = nx;
      y = ny;
    }
  }
  return false;
}

// Open cells reachable from a QIX point once the cut's cells are walls.
struct Fill {
  std::vector<uint32_t> seen = std::vector<uint32_t>(PLAYFIELD_CELLS, 0);
  std::vector<int32_t> queue = std::vector<int32_t>(PLAYFIELD_CELLS);
  uint32_t stamp = 0;

  void begin(const std::vector<int32_t>& walls) {
    ++stamp;
    for (int32_t c : walls) seen[c] = stamp;
  }
  bool reached(int32_t c) const { return seen[c] == stamp; }
  int32_t flood(int32_t from) {
    if (seen[from] == stamp || P().round.playfield.cells[from] != CELL_OPEN) return 0;
    int32_t head = 0, tail = 0;
    queue[tail++] = from;
    seen[from] = stamp;
    while (head < tail) {
      const int32_t c = queue[head++];
      const int32_t n[4] = {c - 1, c + 1, c - PLAYFIELD_SIZE, c + PLAYFIELD_SIZE};
      for (int32_t m : n)
        if (seen[m] != stamp && P().round.playfield.cells[m] == CELL_OPEN) {
          seen[m] = stamp;
          queue[tail++] = m;
        }
    }
    return tail;
  }
};

// The open cell under a QIX's newest trail point still open, or -1.
int32_t qix_cell(int32_t q) {
  for (int32_t k = 0; k < QIX_TRAIL_LENGTH; ++k) {
    const Qix& s = P().round.qix.qix_slots[q];
    if (playfield_inside(s.x1[k], s.y1[k]) && playfield_cell(P().round.playfield, s.x1[k], s.y1[k]) == CELL_OPEN)
      return s.y1[k] * PLAYFIELD_SIZE + s.x1[k];
  }
  return -1;
}

int32_t qix_distance(const std::vector<int32_t>& cells) {
  int32_t best = 1 << 30;
  for (int32_t q = 0; q < qix_active_count(P().game.game_level); ++q)
    for (int32_t c : cells) {
      const int32_t x = c % PLAYFIELD_SIZE, y = c / PLAYFIELD_SIZE;
      const Qix& s = P().round.qix.qix_slots[q];
      best = std::min(best, std::max(std::abs(x - (s.x1[0] + s.x2[0]) / 2), std::abs(y - (s.y1[0] + s.y2[0]) / 2)));
    }
  return best;
}

std::vector<Candidate> candidates(const Wish& wish) {
  static Fill fill;
  std::vector<Candidate> out;
  int32_t open_total = 0;
  for (int32_t c : P().round.playfield.cells) open_total += c == CELL_OPEN;
  const int32_t need = CLAIM_TARGET_CELLS - P().round.claimed_cells;
  const std::vector<int32_t> dist = border_distances(Point{P().round.player.player_x, P().round.player.player_y});
  std::vector<int32_t> cells;
  for (int32_t i = 0; i < WALK_SIDE * WALK_SIDE; ++i) {
    const Point s{(i % WALK_SIDE) * 2, (i / WALK_SIDE) * 2};
    const bool here = s.x == P().round.player.player_x && s.y == P().round.player.player_y;
    if (dist[i] < 0 || (!here && (s.x + s.y) % SAMPLE_CELLS != 0)) continue;
    for (int32_t d1 = 1; d1 <= 4; ++d1) {
      for (int32_t len1 = 0; len1 <= PLAYFIELD_LAST; len1 += LEG_CELLS) {
        for (int32_t d2 = 0; d2 <= 4; ++d2) {
          if ((len1 == 0) != (d2 == 0) || (d2 != 0 && (DX[d2] != 0) == (DX[d1] != 0))) continue;
          Candidate k;
          k.plan = Plan{s, d1, len1, d2, wish.mode, wish.cancel, false, false};
          if (!trace(k.plan, &cells)) continue;
          const double frames = dist[i] * 0.6 + static_cast<double>(cells.size()) / (wish.mode == 2 ? 4 : 2) + 1;
          if (wish.goal == Goal::QIX_DEATH) {
            k.rank = -(frames + 4.0 * qix_distance(cells));
            out.push_back(k);
            continue;
          }
          fill.begin(cells);
          const int32_t q0 = qix_cell(0);
          if (q0 < 0) continue;
          const int32_t side0 = fill.flood(q0);
          const int32_t claim = open_total - static_cast<int32_t>(cells.size()) - side0;
          if (wish.goal == Goal::SPLIT) {
            const int32_t q1 = qix_cell(1);
            if (q1 < 0 || fill.reached(q1) || std::max(side0, claim) + P().round.claimed_cells >= CLAIM_TARGET_CELLS) continue;
            k.rank = -frames;
          } else if (wish.goal == Goal::QUICK_CLAIM) {
            if (claim < 30) continue;
            k.rank = -frames;
          } else {
            k.rank = claim >= need ? 1e9 - frames : claim / (frames + 40);
            if (qix_distance(cells) < 40) k.rank *= claim >= need ? 0.999999 : 0.5;
          }
          out.push_back(k);
        }
      }
    }
  }
  std::stable_sort(out.begin(), out.end(), [](const Candidate& a, const Candidate& b) { return a.rank > b.rank; });
  return out;
}

// How a trial went, judged for the wish; below 0: no good.
double judge(const Wish& wish, const Outcome& o) {
  switch (wish.goal) {
    case Goal::QIX_DEATH:
      return o.lost == 1 ? 1e6 - o.passes : -1;
    case Goal::SPLIT:
      return o.lost == 0 && o.bonus && !o.level_done ? 1e6 - o.passes : -1;
    case Goal::QUICK_CLAIM:
      if (o.lost != 0 || !o.completed || (wish.cancel ? o.claimed != 0 : o.claimed <= 0)) return -1;
      return 1e6 - o.passes;
    case Goal::CLAIM:
    default:
      if (o.lost != 0 || !o.completed || o.claimed <= 0) return -1;
      return o.level_done ? 1e9 - o.passes : static_cast<double>(o.claimed) / (o.passes + 40);
  }
}

int32_t life_lost_kind(size_t sounds_before) {
  const auto& plays = fake_sound_plays();
  for (size_t i = sounds_before; i < plays.size(); ++i)
    if (plays[i].label == "stixhit.wav") return 1;
  return std::abs(P().round.fuse.x - P().round.player.player_x) <= 2 && std::abs(P().round.fuse.y - P().round.player.player_y) <= 2 ? 3 : 2;
}

// Plays a plan and then stands still for the tail; the same in a trial and in the recording.
struct Play {
  PlanRun run;
  Wish wish;
  Outcome outcome;
  int32_t level = 0, claimed = 0, score = 0, tail = 0;
  size_t sounds = 0;
  bool over = false;

  Play(const Plan& plan, const Wish& w) : run(plan_begin(plan)), wish(w) {
    level = P().game.game_level;
    claimed = P().round.claimed_cells;
    score = P().game.game_score;
    sounds = fake_sound_plays().size();
    tail = wish.goal == Goal::SPLIT ? BONUS_WAIT : SAFE_TAIL;
  }
  // False once the play is over; the state seen so far is in outcome.
  bool tick(Keys* keys) {
    if (over) return false;
    Outcome& o = outcome;
    if (P().game.game_phase == PHASE_LIFE_LOST && o.lost == 0) o.lost = life_lost_kind(sounds);
    if (P().game.game_phase == PHASE_LEVEL_COMPLETE || P().game.game_level != level) o.level_done = 1;
    if (P().game.game_level == level) o.claimed = P().round.claimed_cells - claimed;
    if (P().round.qix.qix_captured) o.captured = 1;
    if (o.captured && !P().round.qix.qix_captured && P().game.game_score > score) o.bonus = 1;
    if (run.drew && !P().round.player.player_drawing) o.completed = 1;
    score = P().game.game_score;
    if (o.lost || o.level_done || o.bonus) return !(over = true);
    if (run.stage != 2 && plan_tick(&run, keys)) {
      o.passes = run.passes;
      return true;
    }
    if (run.drew && !P().round.player.player_drawing) o.completed = 1;
    if (tail-- <= 0) return !(over = true);
    return true;
  }
};

// Trials of plans in forked children, two at a time (the machine has two cores). Returns false
// in a child, which then plays its plan as the run's only step.
bool try_all(const std::vector<Plan>& plans, const Wish& wish, std::vector<Outcome>* outcomes) {
  outcomes->assign(plans.size(), Outcome{});
  for (size_t first = 0; first < plans.size(); first += 2) {
    pid_t pids[2] = {-1, -1};
    int fds[2] = {-1, -1};
    for (size_t k = 0; k < 2 && first + k < plans.size(); ++k) {
      int pipe_fds[2];
      if (pipe(pipe_fds) != 0) return true;
      std::fflush(nullptr);
      const pid_t pid = fork();
      if (pid == 0) {
        close(pipe_fds[0]);
        auto play = std::make_shared<Play>(plans[first + k], wish);
        const int fd = pipe_fds[1];
        int32_t passes = 0;
        driver_override([play, fd, passes](Keys* keys) mutable {
          if (play->tick(keys) && ++passes < TRIAL_HORIZON) return true;
          const ssize_t n = write(fd, &play->outcome, sizeof play->outcome);
          _exit(n == static_cast<ssize_t>(sizeof play->outcome) ? 0 : 1);
        });
        return false;
      }
      close(pipe_fds[1]);
      if (pid < 0) {  // no trial: it counts as a failed one
        close(pipe_fds[0]);
        continue;
      }
      pids[k] = pid;
      fds[k] = pipe_fds[0];
    }
    for (size_t k = 0; k < 2; ++k) {
      if (pids[k] < 0) continue;
      Outcome o;
      o.lost = -1;  // a trial that reports nothing counts as a lost life
      if (read(fds[k], &o, sizeof o) != static_cast<ssize_t>(sizeof o)) o.lost = -1;
      close(fds[k]);
      int status = 0;
      waitpid(pids[k], &status, 0);
      (*outcomes)[first + k] = o;
    }
  }
  return true;
}

const char* goal_name(Goal g) {
  switch (g) {
    case Goal::CLAIM: return "claim";
    case Goal::QUICK_CLAIM: return "quick claim";
    case Goal::QIX_DEATH: return "QIX death";
    case Goal::SPLIT: return "split";
  }
  return "?";
}

}  // namespace

Step step_cut(Wish wish) {
  std::shared_ptr<Play> play;
  int32_t waiting = 0, rounds = 0;
  return [wish, play, waiting, rounds](Keys* keys) mutable {
    if (play) return play->tick(keys);
    if (waiting > 0) {
      --waiting;
      return true;
    }
    const std::vector<Candidate> all = candidates(wish);
    int32_t best = -1;
    double best_value = -1;
    std::vector<Plan> plans;
    for (size_t i = 0; i < all.size() && i < static_cast<size_t>(TRIALS_PER_ROUND); ++i) plans.push_back(all[i].plan);
    std::vector<Outcome> outcomes;
    if (!try_all(plans, wish, &outcomes)) return true;  // a child: its own step plays from here
    for (size_t i = 0; i < plans.size(); ++i) {
      const double v = judge(wish, outcomes[i]);
      if (v > best_value) {
        best_value = v;
        best = static_cast<int32_t>(i);
      }
    }
    std::fprintf(stderr, "demogen: pass %lld, %s: %zu candidates, %zu tried, %s\n", static_cast<long long>(driver_pass()),
                 goal_name(wish.goal), all.size(), plans.size(), best >= 0 ? "found" : "none works yet");
    if (best < 0) {
      if (++rounds > 40) {
        std::fprintf(stderr, "demogen: no cut works; try another seed\n");
        std::exit(1);
      }
      waiting = RETRY_WAIT;
      return true;
    }
    const Plan& p = plans[best];
    const Outcome& o = outcomes[best];
    std::fprintf(stderr, "demogen:   from (%d, %d) dir %d len %d then %d: %d passes, %d cells%s%s\n", p.start.x, p.start.y,
                 p.dir1, p.len1, p.dir2, o.passes, o.claimed, o.level_done ? ", level done" : "", o.bonus ? ", bonus" : "");
    play = std::make_shared<Play>(p, wish);
    // The trial stood still after the cut to see it was safe; the recording moves on at once,
    // except for a split, whose pay it waits for as the trial did.
    if (wish.goal != Goal::SPLIT) play->tail = 0;
    return play->tick(keys);
  };
}
