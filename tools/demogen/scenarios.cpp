#include "app/program.h"
#include "scenarios.h"

#include <cstring>
#include <memory>

#include "app/app.h"
#include "enemies/sparx.h"
#include "game/game.h"
#include "lookahead.h"
#include "plan.h"
#include "playfield/player.h"
#include "playfield/playfield.h"

namespace {

// The program app_main runs, watched from the fake platform's hooks.
const Program& P() { return *app_program(); }

const Keys ENTER = input_key_bit(VK_RETURN), ESC = input_key_bit(VK_ESCAPE), F1 = input_key_bit(VK_F1);
const Keys SPACE = input_key_bit(VK_SPACE), UP = input_key_bit(VK_UP), DOWN = input_key_bit(VK_DOWN);
const Keys RIGHT = input_key_bit(VK_RIGHT);

const char* const TABLE = "ACE 9000\nMAX 4000\nJET 2500\nSKY 1200\nBOB 600\nDOT 250\n- 0\n- 0\n- 0\n- 0\n";

bool playing() { return P().frontend.screen_state == SCREEN_GAME && P().game.game_phase == PHASE_PLAYING; }

Step step_idle(int32_t passes) { return step_hold(0, passes); }

Step step_new_game() {
  return step_until(ENTER, [] { return P().frontend.screen_state == SCREEN_GAME; }, 5);
}

// Space from the 50th frame of the lost life on: play goes on.
Step step_resume_play() {
  return [](Keys* keys) {
    if (P().game.game_phase != PHASE_LIFE_LOST) return false;
    *keys = P().round.phase_frames >= PHASE_WAIT_FRAMES - 1 ? SPACE : 0;
    return true;
  };
}

// One step into the open territory with Ctrl, then hands off until the Fuse arrives.
Step step_fuse_death() {
  std::shared_ptr<PlanRun> run;
  return [run](Keys* keys) mutable {
    if (!run) {
      const int32_t dir = P().round.player.player_y == PLAYFIELD_LAST ? DIR_UP : P().round.player.player_y == 0 ? DIR_DOWN : P().round.player.player_x == 0 ? DIR_RIGHT : DIR_LEFT;
      run = std::make_shared<PlanRun>(plan_begin(Plan{Point{P().round.player.player_x, P().round.player.player_y}, dir, 0, 0, 1, false, true, false}));
    }
    return plan_tick(run.get(), keys);
  };
}

// Runs along the border into the nearest Sparx.
Step step_sparx_death() {
  return [](Keys* keys) {
    if (P().game.game_phase != PHASE_PLAYING) return false;
    std::vector<Point> best;
    for (int32_t i = 0; i < P().round.sparx.sparx_count; ++i) {
      const std::vector<Point> path = border_path(Point{P().round.player.player_x, P().round.player.player_y}, Point{P().round.sparx.sparx[i].x, P().round.sparx.sparx[i].y});
      if (!path.empty() && (best.empty() || path.size() < best.size())) best = path;
    }
    if (best.size() < 2) return true;
    PlanRun run = plan_begin(Plan{best.back(), 0, 0, 0, 2, false, false, true});
    run.path = best;
    return plan_tick(&run, keys);
  };
}

// Repeats cuts of wish until done() holds.
Step step_cuts_until(Wish wish, bool (*done)()) {
  std::shared_ptr<Step> cut;
  return [wish, done, cut](Keys* keys) mutable {
    for (;;) {
      if (done()) return false;
      if (!cut) cut = std::make_shared<Step>(step_cut(wish));
      if ((*cut)(keys)) return true;
      cut.reset();
    }
  };
}

Step step_until_playing() { return step_until(0, playing, 400); }

std::vector<Step> claims_and_cancel() {
  return {step_new_game(),
          step_cut(Wish{Goal::QUICK_CLAIM, 1, false}),
          step_cut(Wish{Goal::QUICK_CLAIM, 2, false}),
          step_cut(Wish{Goal::QUICK_CLAIM, 2, true}),
          step_idle(10)};
}

std::vector<Step> deaths() {
  return {step_new_game(),   step_fuse_death(),  step_resume_play(), step_cut(Wish{Goal::QIX_DEATH, 2, false}),
          step_resume_play(), step_sparx_death(), step_resume_play(), step_idle(10)};
}

std::vector<Step> levels() {
  return {step_new_game(),
          step_cuts_until(Wish{Goal::CLAIM, 2, false}, [] { return P().game.game_phase == PHASE_LEVEL_COMPLETE; }),
          step_until_playing(),
          step_cuts_until(Wish{Goal::CLAIM, 2, false}, [] { return P().game.game_phase == PHASE_LEVEL_COMPLETE; }),
          step_until_playing(),
          step_cut(Wish{Goal::SPLIT, 2, false}),
          step_idle(10)};
}

std::vector<Step> pause_menu_resume() {
  return {step_new_game(), step_idle(20),
          step_tap(F1),    step_idle(30),  // paused
          step_tap(F1),    step_idle(20),  // playing again
          step_tap(ESC),   step_idle(20),  // the menu
          step_tap(UP),    step_idle(10),  step_tap(ENTER), step_idle(30),  // "Resume"
          step_tap(F1),    step_idle(10),  step_tap(ESC),   step_idle(20),  // Esc while paused
          step_tap(ENTER), step_idle(10),  step_tap(F1),    step_idle(20)};  // resumed paused, F1
}

std::vector<Step> game_over_initials() {
  std::vector<Step> s = {step_new_game(), step_cut(Wish{Goal::QUICK_CLAIM, 1, false})};
  for (int32_t life = 0; life < LIVES_AT_START; ++life) {
    s.push_back(step_fuse_death());
    s.push_back(step_resume_play());
  }
  // The initials ZED, once the table with the new row is up: Down gives Z, Up four times E,
  // Up three times D.
  s.push_back(step_until(0, [] { return P().game.game_phase == PHASE_HISCORE_ENTRY; }, 5));
  s.push_back(step_idle(2));
  for (Keys k : {DOWN, RIGHT, UP, UP, UP, UP, RIGHT, UP, UP, UP}) s.push_back(step_tap(k));
  s.push_back(step_tap(ENTER));
  s.push_back(step_idle(10));
  for (Keys k : {ESC, DOWN, ENTER}) {  // the menu, "Hi-Scores"
    s.push_back(step_tap(k));
    s.push_back(step_idle(10));
  }
  s.push_back(step_idle(40));
  return s;
}

std::vector<Step> about_and_quit() {
  std::vector<Step> s;
  for (Keys k : {DOWN, DOWN, ENTER}) s.push_back(step_tap(k));  // "About"
  s.push_back(step_idle(60));
  for (Keys k : {ESC, DOWN, ENTER}) {  // back, "Quit": the farewell and the end
    s.push_back(step_tap(k));
    s.push_back(step_idle(10));
  }
  s.push_back(step_idle(200));
  return s;
}

const std::vector<Scenario> SCENARIOS = {
    {"claims-and-cancel", 1, TABLE, claims_and_cancel},
    {"deaths", 2, TABLE, deaths},
    {"levels-1-to-3-split-bonus", 3, TABLE, levels},
    {"pause-menu-resume", 4, TABLE, pause_menu_resume},
    {"game-over-initials-hiscores", 5, TABLE, game_over_initials},
    {"about-and-quit", 6, TABLE, about_and_quit},
};

}  // namespace

const std::vector<Scenario>& scenario_list() { return SCENARIOS; }

const Scenario* scenario_find(const char* name) {
  for (const Scenario& s : SCENARIOS)
    if (std::strcmp(s.name, name) == 0) return &s;
  return nullptr;
}
