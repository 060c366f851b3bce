// The records of one program for the module tests, under the names the game's rules use, and
// the operations with the parameters a frame of the game would give them. Drive the real code;
// where a result comes back, it is applied as the game frame applies it.
#pragma once
#include <functional>

#include "app/app.h"
#include "display/display.h"
#include "display/text.h"
#include "game/hud.h"
#include "sound/sound.h"

// On the heap: the round is far too large for the stack.
inline Program& world() {
  static Program* program = new Program();
  return *program;
}

// A fresh program's records (the assets and the window stay).
inline void world_reset() {
  Program& w = world();
  playfield_reset(w.round.playfield);
  std::fill(std::begin(w.round.playfield.cells), std::end(w.round.playfield.cells), CELL_OPEN);
  w.round.player = Player{};
  w.round.qix = QixState{};
  w.round.sparx = SparxTeam{};
  w.round.fuse = Fuse{};
  w.round.claimed_cells = w.round.move_mode = w.round.engine_beat_frames = 0;
  w.round.phase_frames = w.round.phase_announced = w.round.marker_blink = w.round.time_base = 0;
  w.game = Game{};
  w.hiscores = Hiscores{};
  w.frontend = Frontend{};
}

inline Playfield& playfield = world().round.playfield;
inline int32_t& player_x = world().round.player.player_x;
inline int32_t& player_y = world().round.player.player_y;
inline int32_t& player_direction = world().round.player.player_direction;
inline int32_t& player_drawing = world().round.player.player_drawing;
inline int32_t& stix_speed = world().round.player.stix_speed;
inline int32_t& stix_start_x = world().round.player.stix_start_x;
inline int32_t& stix_start_y = world().round.player.stix_start_y;
inline Qix (&qix_slots)[QIX_SLOTS] = world().round.qix.qix_slots;
inline int32_t& qix_captured = world().round.qix.qix_captured;
inline Sparx (&sparx)[SPARX_SLOTS] = world().round.sparx.sparx;
inline int32_t& sparx_count = world().round.sparx.sparx_count;
inline Fuse& fuse = world().round.fuse;
inline int32_t& claimed_cells = world().round.claimed_cells;
inline int32_t& phase_frames = world().round.phase_frames;
inline int32_t& phase_announced = world().round.phase_announced;
inline int32_t& move_mode = world().round.move_mode;
inline int32_t& time_base = world().round.time_base;
inline int32_t& game_phase = world().game.game_phase;
inline int32_t& game_score = world().game.game_score;
inline int32_t& game_lives = world().game.game_lives;
inline int32_t& game_level = world().game.game_level;
inline int32_t& time_left = world().game.time_left;
inline HiscoreTable& hiscore_table = world().hiscores.hiscore_table;
inline int32_t& hiscore_edit_row = world().hiscores.hiscore_edit_row;
inline int32_t& hiscore_edit_cursor = world().hiscores.hiscore_edit_cursor;
inline int32_t& hiscore_edit_letter = world().hiscores.hiscore_edit_letter;
inline int32_t& hiscore_loaded = world().hiscores.hiscore_loaded;
inline int32_t& screen_state = world().frontend.screen_state;
inline int32_t& menu_selection = world().frontend.menu.menu_selection;
inline int32_t& menu_key_latch = world().frontend.menu.menu_key_latch;
inline int32_t& menu_frames = world().frontend.menu.menu_frames;
inline float& scroll_x_intro = world().frontend.menu.scroll_x_intro;
inline float& scroll_x_credits = world().frontend.menu.scroll_x_credits;
inline Assets& assets = world().assets;

inline PlayfieldCell& playfield_cell(int32_t x, int32_t y) { return playfield_cell(playfield, x, y); }
inline void playfield_reset() { playfield_reset(playfield); }
inline void playfield_erase_stix() { playfield_erase_stix(playfield); }
inline void playfield_draw(uint8_t* pixels) { playfield_draw(playfield, pixels); }
inline TrailPoints world_trail() {
  TrailPoints trail;
  qix_trail_points(world().round.qix, game_level, &trail);
  return trail;
}
inline int32_t playfield_probe_fill(int32_t x, int32_t y, int32_t mark) {
  return playfield_probe_fill(playfield, world_trail(), x, y, mark);
}
inline int32_t playfield_claim_fill(int32_t x, int32_t y) { return playfield_claim_fill(playfield, x, y); }
inline void playfield_claim(int32_t x, int32_t y, int32_t direction, int32_t mode) {
  const ClaimResult r = playfield_claim(playfield, world_trail(), x, y, direction, mode);
  claimed_cells += r.cells;
  game_score += r.points;
}
inline void player_step(int32_t mode, const Input& input) {
  player_step(world().round, mode, game_level, &game_score, input);
}
inline void fuse_after_player_step(bool moved) {
  fuse_after_player_step(fuse, world().round.player, playfield, moved);
}

inline int32_t grid_line_scan(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  return grid_line_scan(playfield, x0, y0, x1, y1);
}
inline void qix_reset() { qix_reset(world().round.qix, playfield); }
inline void qix_move(int32_t level) {
  if (qix_move(world().round.qix, level, playfield, world().round.player, game_phase == PHASE_PLAYING)) {
    fuse.state = 0;
    game_phase = PHASE_LIFE_LOST;
  }
}
inline void qix_draw(int32_t level, uint8_t* pixels) { qix_draw(world().round.qix, level, pixels); }
inline void sparx_reset() { sparx_reset(world().round.sparx); }
inline void sparx_move_all() {
  if (sparx_move_all(world().round.sparx, playfield, world().round.player, game_phase == PHASE_PLAYING))
    game_phase = PHASE_LIFE_LOST;
}
inline int32_t sparx_step(int32_t i) {
  bool hit = false;
  const int32_t heading = sparx_step(sparx[i], playfield, world().round.player, game_phase == PHASE_PLAYING, &hit);
  if (hit) game_phase = PHASE_LIFE_LOST;
  return heading;
}
inline int32_t game_now() { return world().game.now; }
inline void game_set_now(int64_t seconds) { game_set_now(world().game, seconds); }
inline void sparx_timer_update() {
  if (sparx_timer_update(world().round.sparx, game_now(), &time_left, &time_base, game_phase == PHASE_PLAYING))
    sound_effect(SND_NEWSPARX);
}
inline void fuse_move() {
  if (fuse_move(fuse, playfield, world().round.player, game_phase == PHASE_PLAYING)) game_phase = PHASE_LIFE_LOST;
}

inline void game_new_level() { game_new_level(world().game, world().round); }
inline void game_new() {
  game_new(world().game, world().hiscores);
  menu_on_new_game(world().frontend.menu);
}
inline void hiscore_init() { hiscore_init(world().hiscores); }
inline bool hiscore_save() { return hiscore_save(world().hiscores); }
inline int32_t hiscore_load(int32_t score) { return hiscore_load(world().hiscores, score); }
inline void hiscore_use_storage(HiscoreStorage storage, const std::string& text) {
  hiscore_use_storage(world().hiscores, storage, text);
}

inline bool app_startup() {
  const int32_t now = world().game.now;  // the clock the test set
  world_reset();
  world().game.now = now;
  return app_startup(world());
}
inline void app_shutdown() { app_shutdown(world()); }

// One pass of a screen, as the main loop runs it: paced, shown, and then its results taken.
inline void pass_of(const std::function<FrontendResult()>& screen) {
  app_pass_begin();
  const FrontendResult r = screen();
  app_pass_end(r.pass_end);
  frontend_finish_pass(world().frontend, r);
  if (r.quit) platform_post_message(PLATFORM_EVENT_CLOSE);
}
inline void game_run_frame(const Input& input) {
  Program& w = world();
  pass_of([&] {
    FrontendResult r;
    r.game = game_run_frame(w.game, w.round, w.hiscores, w.frontend.menu.menu_key_latch, w.assets, input);
    r.pass_end = r.game.pass_end;
    return r;
  });
}
inline bool game_compose_frame(const Input& input) {
  Program& w = world();
  GameFrameResult r;
  return game_compose_frame(w.game, w.round, w.hiscores, w.frontend.menu.menu_key_latch, w.assets, input, &r);
}
inline bool game_frame_waiting() { return game_frame_waiting(world().game); }
inline void menu_run_frame(const Input& input) {
  Program& w = world();
  pass_of([&] { return menu_run_frame(w.frontend, w.game, w.round, w.hiscores, w.assets, input); });
}
inline void about_screen_run(const Input& input) {
  pass_of([&] { return about_screen_run(world().frontend, world().assets, input); });
}
inline void hiscore_screen_run(const Input& input) {
  pass_of([&] { return hiscore_screen_run(world().frontend, world().hiscores, world().assets, input); });
}
