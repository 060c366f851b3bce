// The real program loop driven for many frames by random keys through menus, games, pauses,
// deaths and initials entry, with the game's invariants checked after every frame.
//   ZORVANE_SOAK_FRAMES  frames to run (default 6000)
//   ZORVANE_SOAK_SEED    seed of the key generator (default fixed, so a failure repeats)
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "app/app.h"
#include "app/program.h"
#include "display/display.h"
#include "enemies/fuse.h"
#include "enemies/sparx.h"
#include "frontend/frontend.h"
#include "game/game.h"
#include "platform/fake/fake_platform.h"
#include "playfield/player.h"
#include "playfield/playfield.h"

namespace {

// The program app_main runs, watched from the platform's hooks.
const Program& P() { return *app_program(); }

namespace fs = std::filesystem;

constexpr int32_t MENU_QUIT_ITEM = 4;
constexpr int32_t MENU_NEW_GAME_ITEM = 1;
// The pause waits spin on F1 without presenting; a press is let go after this many polls.
constexpr int32_t F1_POLLS_HELD = 40;

uint64_t env_number(const char* name, uint64_t fallback) {
  const char* text = std::getenv(name);
  if (!text || !*text) return fallback;
  return std::strtoull(text, nullptr, 10);
}

struct Coverage {
  uint64_t frames = 0, game_frames = 0, menu_frames = 0, hiscore_frames = 0, about_frames = 0;
  int32_t games = 0, lives_lost = 0, levels = 0, initials_entries = 0, pauses = 0, claims = 0;
  int32_t menu_visits = 0, hiscore_visits = 0, about_visits = 0, game_overs = 0;
  int32_t best_level = 1, best_score = 0, best_claimed = 0;
};

// What the previous frame showed, to see what changed.
struct Seen {
  int32_t screen = SCREEN_MENU;
  int32_t phase = PHASE_PLAYING;
  int32_t score = 0, lives = LIVES_AT_START, level = 1, claimed = 0, selection = 0;
};

class Soak {
 public:
  Soak(uint64_t frames, uint64_t seed, bool recording)
      : limit_(frames), rng_(seed), recording_(recording) {}

  void on_present() {
    if (closing_) return;
    check_invariants();
    count_changes();
    f1_polls_ = 0;
    if (++cover.frames >= limit_ || failures_ >= 5) {
      closing_ = true;
      fake_release_all_keys();
      fake_close_window();
      return;
    }
    if (cover.frames % 4096 == 0) fake_clear_sound_plays();
    age_keys();
    choose_keys();
  }

  // Guards that hold whatever the generator chose: the program is never told to quit.
  void on_key_query(int32_t vk) {
    if (P().frontend.screen_state == SCREEN_MENU && (vk == VK_ESCAPE || (vk == VK_RETURN && P().frontend.menu.menu_selection == MENU_QUIT_ITEM)))
      release(vk);
    if (vk == VK_F1 && held_[VK_F1] > 0 && ++f1_polls_ > F1_POLLS_HELD) release(VK_F1);
  }

  Coverage cover;

 private:
  int32_t rand(int32_t low, int32_t high) { return std::uniform_int_distribution<int32_t>(low, high)(rng_); }
  bool chance(int32_t one_in) { return rand(1, one_in) == 1; }

  void hold(int32_t vk, int32_t frames) {
    held_[vk] = frames;
    fake_set_key(vk, true);
  }
  void release(int32_t vk) {
    held_[vk] = 0;
    fake_set_key(vk, false);
  }
  bool down(int32_t vk) const { return held_[vk] > 0; }
  void age_keys() {
    for (int32_t vk = 0; vk < 256; ++vk)
      if (held_[vk] > 0 && --held_[vk] == 0) fake_set_key(vk, false);
  }
  bool any_arrow() const { return down(VK_LEFT) || down(VK_RIGHT) || down(VK_UP) || down(VK_DOWN); }
  void hold_random_arrow(int32_t low, int32_t high) {
    static const int32_t arrows[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN};
    hold(arrows[rand(0, 3)], rand(low, high));
  }

  void choose_keys() {
    switch (P().frontend.screen_state) {
      case SCREEN_MENU: menu_keys(); break;
      case SCREEN_GAME: game_keys(); break;
      case SCREEN_HISCORES:
      case SCREEN_ABOUT:
        // These screens run their own loops until Esc.
        if (!down(VK_ESCAPE) && chance(60)) hold(VK_ESCAPE, rand(1, 4));
        break;
      default: break;
    }
  }

  // Each visit to the menu picks an item (mostly back into a game), walks the pointer to it
  // one press at a time and chooses it.
  void menu_keys() {
    if (down(VK_ESCAPE)) release(VK_ESCAPE);
    if (seen_.screen != SCREEN_MENU || menu_target_ < 0) {
      static const int32_t targets[] = {0, 0, 0, 1, 1, 1, 2, 3};
      menu_target_ = targets[rand(0, 7)];
    }
    if (down(VK_UP) || down(VK_DOWN) || down(VK_RETURN)) return;
    if (++menu_wait_ % 2 != 0) return;  // a frame without the key between presses
    if (P().frontend.menu.menu_selection != menu_target_) {
      hold(P().frontend.menu.menu_selection > menu_target_ ? VK_UP : VK_DOWN, 1);
    } else if (P().frontend.menu.menu_selection != MENU_QUIT_ITEM && chance(15)) {
      hold(VK_RETURN, rand(1, 3));
      menu_target_ = -1;
    }
  }

  // Random walks rarely close a stix; a box drawn out from the outer border and back claims
  // ground often enough to reach later levels.
  struct Leg {
    int32_t arrow, modifier, frames;
  };
  bool plan_box() {
    int32_t in, side, back;
    if (P().round.player.player_y == PLAYFIELD_LAST) in = VK_UP, back = VK_DOWN;
    else if (P().round.player.player_y == 0) in = VK_DOWN, back = VK_UP;
    else if (P().round.player.player_x == 0) in = VK_RIGHT, back = VK_LEFT;
    else if (P().round.player.player_x == PLAYFIELD_LAST) in = VK_LEFT, back = VK_RIGHT;
    else return false;
    if (in == VK_UP || in == VK_DOWN) side = chance(2) ? VK_LEFT : VK_RIGHT;
    else side = chance(2) ? VK_UP : VK_DOWN;
    const int32_t modifier = chance(2) ? VK_CONTROL : VK_SHIFT;
    const int32_t depth = rand(5, 120);
    plan_count_ = 0;
    plan_[plan_count_++] = Leg{in, modifier, depth};
    plan_[plan_count_++] = Leg{side, modifier, rand(5, 120)};
    plan_[plan_count_++] = Leg{back, modifier, depth * 2 + 10};
    plan_step_ = 0;
    return true;
  }
  bool run_plan() {
    while (plan_step_ < plan_count_ && plan_[plan_step_].frames <= 0) ++plan_step_;
    if (plan_step_ >= plan_count_) return false;
    Leg& leg = plan_[plan_step_];
    hold(leg.arrow, 1);
    hold(leg.modifier, 1);
    --leg.frames;
    return true;
  }

  void game_keys() {
    if (P().game.game_phase != PHASE_PLAYING) plan_count_ = 0;
    switch (P().game.game_phase) {
      case PHASE_PLAYING:
        if (run_plan()) break;
        if (chance(800)) {
          hold(VK_F1, 1);
        } else if (chance(1000)) {
          hold(VK_ESCAPE, 1);  // back to the menu, from where the game resumes or restarts
        } else if (!any_arrow() && chance(3)) {
          if (chance(3) && plan_box()) break;
          hold_random_arrow(1, 45);
          const int32_t mode = rand(0, 2);
          if (mode == 1) hold(VK_CONTROL, rand(1, 60));
          if (mode == 2) hold(VK_SHIFT, rand(1, 60));
        }
        break;
      case PHASE_PAUSED:
        if (!down(VK_F1) && chance(60)) hold(VK_F1, 1);
        break;
      case PHASE_LIFE_LOST:
        if (chance(20)) hold(VK_SPACE, rand(1, 5));
        break;
      case PHASE_GAME_OVER:
        if (chance(40)) hold(chance(2) ? VK_ESCAPE : VK_RETURN, rand(1, 3));
        break;
      case PHASE_HISCORE_ENTRY:
        if (!any_arrow() && chance(3)) hold_random_arrow(1, 3);
        else if (chance(80)) hold(VK_RETURN, 1);
        break;
      default: break;
    }
  }

  void fail(const std::string& what) {
    ++failures_;
    ADD_FAILURE() << "frame " << cover.frames << " (screen " << P().frontend.screen_state << ", phase " << P().game.game_phase
                  << "): " << what;
  }

  static bool on_grid_step(int32_t x, int32_t y) { return x % 2 == 0 && y % 2 == 0 && playfield_inside(x, y); }

  void check_invariants() {
    if (!on_grid_step(P().round.player.player_x, P().round.player.player_y))
      fail("marker at (" + std::to_string(P().round.player.player_x) + ", " + std::to_string(P().round.player.player_y) + ")");
    for (int32_t i = 0; i < P().round.sparx.sparx_count && i < SPARX_SLOTS; ++i)
      if (!on_grid_step(P().round.sparx.sparx[i].x, P().round.sparx.sparx[i].y))
        fail("Sparx " + std::to_string(i) + " at (" + std::to_string(P().round.sparx.sparx[i].x) + ", " + std::to_string(P().round.sparx.sparx[i].y) + ")");
    if (P().round.sparx.sparx_count < 0 || P().round.sparx.sparx_count > SPARX_SLOTS) fail("P().round.sparx.sparx_count " + std::to_string(P().round.sparx.sparx_count));
    int32_t claimed = 0, marks = 0;
    for (int32_t cell : P().round.playfield.cells) {
      claimed += cell == CELL_CLAIMED;
      marks += cell == CELL_PROBE_MARK;
    }
    if (marks != 0) fail(std::to_string(marks) + " probe marks left on the grid");
    if (claimed != P().round.claimed_cells)
      fail("claimed_cells " + std::to_string(P().round.claimed_cells) + " but " + std::to_string(claimed) + " claimed cells");
    if (P().game.game_lives < 0 || P().game.game_lives > LIVES_AT_START) fail("lives " + std::to_string(P().game.game_lives));
    if (P().game.game_score < 0) fail("score " + std::to_string(P().game.game_score));
    if (!display.display_back || !display.display_primary || !display.display_back->pixels) fail("display surfaces gone");
    const Assets& a = P().assets;
    const Bob* sprites[] = {&a.marker_sprite_a,     &a.marker_sprite_b,    &a.playfield_sprite,  &a.title_sprite,
                            &a.menu_picture_sprite, &a.menu_button_sprite, &a.qix_picture_sprite, &a.icon_frame_sprite,
                            &a.menu_pointer_sprite, &a.logo_sprite,        &a.arrows_sprite,      &a.skull_sprite,
                            &a.fuse_sprite,         &a.sparx_sprite};
    for (const Bob* b : sprites)
      if (!b->frames[0] || !b->frames[0]->pixels || !(b->flags & BOB_FLAG_FRAMES_LOADED)) fail("a sprite lost its frame");
  }

  void count_changes() {
    const bool in_game = P().frontend.screen_state == SCREEN_GAME;
    // A new game: chosen in the menu, or Enter after game over or the initials.
    bool new_game = false;
    if (in_game && seen_.screen == SCREEN_MENU && (seen_.selection == MENU_NEW_GAME_ITEM || cover.games == 0))
      new_game = true;
    if (in_game && seen_.screen == SCREEN_GAME &&
        (seen_.phase == PHASE_GAME_OVER || seen_.phase == PHASE_HISCORE_ENTRY) && P().game.game_phase == PHASE_PLAYING)
      new_game = true;
    if (new_game) ++cover.games;
    started_game_ = new_game;
    if (P().game.game_score < seen_.score && !(new_game && P().game.game_score == 0))
      fail("score fell from " + std::to_string(seen_.score) + " to " + std::to_string(P().game.game_score));
    if (!new_game && P().game.game_lives < seen_.lives) cover.lives_lost += seen_.lives - P().game.game_lives;
    if (!new_game && P().game.game_level > seen_.level) cover.levels += P().game.game_level - seen_.level;
    if (P().round.claimed_cells > seen_.claimed) ++cover.claims;
    if (in_game && P().game.game_phase != seen_.phase) {
      if (P().game.game_phase == PHASE_HISCORE_ENTRY) ++cover.initials_entries;
      if (P().game.game_phase == PHASE_PAUSED) ++cover.pauses;
      if (P().game.game_phase == PHASE_GAME_OVER || (P().game.game_phase == PHASE_HISCORE_ENTRY && seen_.phase != PHASE_GAME_OVER))
        ++cover.game_overs;
    }
    if (P().frontend.screen_state != seen_.screen) {
      if (P().frontend.screen_state == SCREEN_MENU) ++cover.menu_visits;
      if (P().frontend.screen_state == SCREEN_HISCORES) ++cover.hiscore_visits;
      if (P().frontend.screen_state == SCREEN_ABOUT) ++cover.about_visits;
    }
    switch (P().frontend.screen_state) {
      case SCREEN_GAME: ++cover.game_frames; break;
      case SCREEN_MENU: ++cover.menu_frames; break;
      case SCREEN_HISCORES: ++cover.hiscore_frames; break;
      case SCREEN_ABOUT: ++cover.about_frames; break;
      default: break;
    }
    if (P().game.game_level > cover.best_level) cover.best_level = P().game.game_level;
    if (P().game.game_score > cover.best_score) cover.best_score = P().game.game_score;
    if (P().round.claimed_cells > cover.best_claimed) cover.best_claimed = P().round.claimed_cells;
    seen_ = Seen{P().frontend.screen_state, P().game.game_phase, P().game.game_score, P().game.game_lives, P().game.game_level, P().round.claimed_cells, P().frontend.menu.menu_selection};
  }

  uint64_t limit_;
  std::mt19937_64 rng_;
  bool recording_;  // a demo replays only what the keys did: no level is skipped
  int32_t held_[256] = {};
  int32_t f1_polls_ = 0;
  int32_t menu_target_ = -1;
  bool started_game_ = false;
  Leg plan_[3] = {};
  int32_t plan_count_ = 0, plan_step_ = 0;
  int32_t menu_wait_ = 0;
  int32_t failures_ = 0;
  bool closing_ = false;
  Seen seen_;
};

TEST(Soak, RandomKeysThroughEveryScreenKeepTheGameConsistent) {
  const fs::path source = ZORVANE_DATA_DIR;
  std::error_code ec;
  if (!fs::exists(source / "OBJECTS2.BMP", ec) || !fs::exists(source / "menuselect.wav", ec))
    GTEST_SKIP() << "no generated pictures and sounds in " << source;
  char pattern[] = "/tmp/zorvane-soak-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const fs::path dir = pattern;
  for (const fs::directory_entry& e : fs::directory_iterator(source))
    if (e.is_regular_file() && e.path().filename() != "scores.dat") fs::copy_file(e.path(), dir / e.path().filename());
  const fs::path previous = fs::current_path();
  fs::current_path(dir);

  const uint64_t frames = env_number("ZORVANE_SOAK_FRAMES", 6000);
  const uint64_t seed = env_number("ZORVANE_SOAK_SEED", 20240607);
  fake_reset();
  fake_keep_frames(1);
  fake_capture_frames(false);  // only the game's state is checked; copying every picture would double the time
  const char* record = std::getenv("ZORVANE_SOAK_RECORD");
  Soak soak(frames, seed, record != nullptr);
  fake_on_present([&](uint64_t) { soak.on_present(); });
  fake_on_key_query([&](int32_t vk) { soak.on_key_query(vk); });

  // ZORVANE_SOAK_RECORD=FILE keeps the run as a demo (how the soak golden was made).
  Options options;
  if (record) {
    options.demo = DemoMode::RECORD;
    options.demo_file = record;
    options.seed_given = true;
    options.seed = static_cast<uint32_t>(seed);
  }
  const int32_t result = app_main(options);

  fake_on_present(nullptr);
  fake_on_key_query(nullptr);
  fs::current_path(previous, ec);
  fs::remove_all(dir, ec);
  EXPECT_EQ(result, 0);
  EXPECT_GE(soak.cover.frames, frames);

  const Coverage& c = soak.cover;
  std::printf(
      "soak: seed %llu, %llu frames (%llu game, %llu menu, %llu hi-score, %llu about), %.1f min of game time\n"
      "soak: %d games, %d game overs, %d lives lost, %d claims, %d levels completed (best level %d), "
      "best score %d, best claim %d cells\n"
      "soak: %d pauses, %d initials entries, %d menu / %d hi-score / %d about visits\n",
      static_cast<unsigned long long>(seed), static_cast<unsigned long long>(c.frames),
      static_cast<unsigned long long>(c.game_frames), static_cast<unsigned long long>(c.menu_frames),
      static_cast<unsigned long long>(c.hiscore_frames), static_cast<unsigned long long>(c.about_frames),
      static_cast<double>(fake_elapsed_ms()) / 60000.0, c.games, c.game_overs, c.lives_lost, c.claims, c.levels,
      c.best_level, c.best_score, c.best_claimed, c.pauses, c.initials_entries, c.menu_visits, c.hiscore_visits,
      c.about_visits);
  // A run long enough to mean anything must have reached the screens it is meant to stress.
  if (frames >= 5000) {
    EXPECT_GT(c.games, 1);
    EXPECT_GT(c.lives_lost, 0);
    EXPECT_GT(c.claims, 0);
  }
}

}  // namespace
