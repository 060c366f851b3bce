// One frame of the game screen: the keys and the step of the current phase, the enemies, then
// the whole picture, which the main loop shows before it waits out the game's 30 ms frame.
//
// The frame first changes the state and then draws it without changing anything; what is
// shown is what the rules say a player sees at each point of the frame (the side panel shows
// the score before a level bonus paid in the same frame, and "High" before the table is read
// for the initials entry), so those two updates are made around the drawing.
#include "display/display.h"
#include "display/text.h"
#include "game/game.h"
#include "game/hud.h"
#include "game/scene.h"
#include "sound/sound.h"

namespace {

constexpr int32_t BACK_BUFFER_PITCH = 640;
constexpr int32_t ENGINE_BEAT_BASE_FRAMES = 100;
constexpr int32_t MARKER_BLINK_FRAMES = 16;
constexpr int32_t MARKER_FRAMES_PER_PICTURE = 8;

// While F1 is held at the start or end of a pause, the frame that saw it stands still: the
// passes of the main loop that follow present nothing until F1 is up (or the window is closed),
// and then the frame goes on from where it stopped, with the keys of that pass.
enum : int32_t { RESUME_NONE = 0, RESUME_PLAYING_STEP = 1, RESUME_AFTER_PHASE_STEP = 2 };

// Everything one frame works on.
struct Frame {
  Game& game;
  Round& round;
  Hiscores& hiscores;
  int32_t& menu_key_latch;
  const Assets& assets;
  const Input& input;
  GameFrameResult& result;
  bool key(int32_t vk) const { return input_held(input, vk); }
};

void game_restart(Frame& f) {
  f.game.game_phase = PHASE_PLAYING;
  sound_effect(SND_CONNECT);
  sound_effect(SND_STARTUP);
  game_new_level(f.game, f.round);
  game_new(f.game, f.hiscores);
  f.result.new_game = true;
}

void step_playing_rest(Frame& f) {
  Game& g = f.game;
  Round& r = f.round;
  if (r.qix.qix_captured) {
    if (++r.phase_frames >= PHASE_LONG_WAIT_FRAMES) {
      r.phase_frames = 0;
      g.game_score += g.game_level * CAPTURE_BONUS_PER_LEVEL;
      r.qix.qix_captured = 0;
      qix_reset(r.qix, r.playfield);
    }
  }
  r.move_mode = f.key(VK_SHIFT) ? 2 : (f.key(VK_CONTROL) ? 1 : 0);
  player_step(r, r.move_mode, g.game_level, &g.game_score, f.input);
  // A fast stix, or fast movement with no slow stix under way, takes two steps a frame.
  if (r.player.stix_speed == 2 || (r.move_mode == 2 && r.player.stix_speed != 1))
    player_step(r, r.move_mode, g.game_level, &g.game_score, f.input);
  if (sparx_timer_update(r.sparx, g.now, &g.time_left, &r.time_base, g.game_phase == PHASE_PLAYING))
    sound_effect(SND_NEWSPARX);
  if (++r.engine_beat_frames >= g.time_left + ENGINE_BEAT_BASE_FRAMES) {
    r.engine_beat_frames = 0;
    sound_effect(SND_ENGINEBEAT);
  }
  if (r.claimed_cells >= CLAIM_TARGET_CELLS) {
    sound_effect(SND_SUCCESS);
    g.game_phase = PHASE_LEVEL_COMPLETE;
    // The counter may still hold a capture wait; the bonus frame must come 50 frames on.
    r.phase_frames = 0;
  }
}

// False when the frame now waits for F1 to be released.
bool step_playing(Frame& f) {
  // A window in the background pauses the game as F1 does (nothing to wait for: no key is
  // held); F1 resumes it as usual.
  if (!f.input.focused) {
    f.game.game_phase = PHASE_PAUSED;
    f.game.pause_started_at = f.game.now;
    f.game.paused_by_focus = true;
    f.round.phase_frames = 0;
    return true;
  }
  if (f.key(VK_F1)) {
    f.game.game_phase = PHASE_PAUSED;
    f.game.pause_started_at = f.game.now;
    f.round.phase_frames = 0;
    f.game.f1_wait_resume = RESUME_PLAYING_STEP;
    return false;
  }
  step_playing_rest(f);
  return true;
}

bool step_paused(Frame& f) {
  if (!f.key(VK_F1)) return true;
  f.game.game_phase = PHASE_PLAYING;
  f.game.paused_by_focus = false;
  f.round.time_base += f.game.now - f.game.pause_started_at;
  f.game.f1_wait_resume = RESUME_AFTER_PHASE_STEP;
  return false;
}

void step_level_complete(Frame& f) {
  if (++f.round.phase_frames >= PHASE_LONG_WAIT_FRAMES) {
    f.game.game_level += 1;
    f.round.phase_frames = 0;
    game_new_level(f.game, f.round);
    f.game.game_phase = PHASE_PLAYING;
  }
}

void step_life_lost(Frame& f) {
  Game& g = f.game;
  Round& r = f.round;
  if (r.phase_announced == 0) {
    if (g.game_lives > 1) {
      r.phase_announced = 1;
      sound_effect(SND_DYING);
    }
    playfield_erase_stix(r.playfield);
    g.game_lives -= 1;
    // A capture wait may have left the counter running; the 50 frames start now.
    r.phase_frames = 0;
  }
  if (g.game_lives > 0) {
    ++r.phase_frames;
    if (r.phase_frames < PHASE_WAIT_FRAMES || !f.key(VK_SPACE)) return;
    r.phase_frames = 0;
    if (r.player.player_drawing) {
      r.player.player_drawing = 0;
      r.player.player_x = r.player.stix_start_x;
      r.player.player_y = r.player.stix_start_y;
    }
    // The lost stix takes its speed with it, so the marker walks the border at its own pace.
    r.player.stix_speed = 0;
    r.phase_announced = 0;
    g.game_phase = PHASE_PLAYING;
  }
  if (g.game_lives < 1) {
    sound_effect(g.game_score > g.recorded_score ? SND_RECORD : SND_DEAD);
    sound_effect(SND_SHUTDOWN);
    sound_effect(SND_DISCONNECT);
    g.game_phase = PHASE_GAME_OVER;
  }
  r.time_base = g.now;
}

void step_game_over(Frame& f) {
  Game& g = f.game;
  if (f.round.phase_announced == 0) {
    f.round.phase_announced = 1;
    sound_effect(SND_DYING);
    if (g.game_score > g.recorded_score) {
      g.recorded_score = g.game_score;
      g.game_phase = PHASE_HISCORE_ENTRY;
      f.hiscores.hiscore_loaded = 0;
    }
  }
  if (f.key(VK_RETURN))
    game_restart(f);
  else if (f.key(VK_ESCAPE))
    f.result.to_menu = true;
}

void step_hiscore_entry(Frame& f) {
  Hiscores& h = f.hiscores;
  int32_t& latch = f.menu_key_latch;
  const bool right = f.key(VK_RIGHT), left = f.key(VK_LEFT);
  const bool down = f.key(VK_DOWN), up = f.key(VK_UP);
  bool moved = false;
  if (right && latch == 0) {
    h.hiscore_edit_cursor = h.hiscore_edit_cursor >= 2 ? 0 : h.hiscore_edit_cursor + 1;
    moved = true;
  } else if (left && latch == 0) {
    h.hiscore_edit_cursor = h.hiscore_edit_cursor <= 0 ? 2 : h.hiscore_edit_cursor - 1;
    moved = true;
  }
  // The letters already chosen stay: the one at the new place is offered again. Without an
  // editable row there is nothing to take it from, and the letter on offer stays.
  if (moved && h.hiscore_edit_row >= 0 && h.hiscore_edit_row < HISCORE_ENTRIES)
    h.hiscore_edit_letter = static_cast<unsigned char>(h.hiscore_table.rows[h.hiscore_edit_row].initials[h.hiscore_edit_cursor]);
  if (down && latch == 0)
    h.hiscore_edit_letter = h.hiscore_edit_letter <= 'A' ? 'Z' : h.hiscore_edit_letter - 1;
  else if (up && latch == 0)
    h.hiscore_edit_letter = h.hiscore_edit_letter >= 'Z' ? 'A' : h.hiscore_edit_letter + 1;
  latch = (down || up || left || right) ? 1 : 0;
  if (f.key(VK_RETURN)) {
    hiscore_save(h);
    game_restart(f);
  }
}

// False when the frame now waits for F1 to be released.
bool step_phase(Frame& f) {
  switch (f.game.game_phase) {
    case PHASE_PLAYING:
      return step_playing(f);
    case PHASE_PAUSED:
      return step_paused(f);
    case PHASE_LEVEL_COMPLETE:
      step_level_complete(f);
      break;
    case PHASE_LIFE_LOST:
      step_life_lost(f);
      break;
    case PHASE_GAME_OVER:
      step_game_over(f);
      break;
    case PHASE_HISCORE_ENTRY:
      step_hiscore_entry(f);
      break;
    default:
      break;
  }
  return true;
}


// What the enemies do, each seeing the phase the one before it left; then what the picture
// of this frame needs.
void frame_enemies_and_panel(Frame& f) {
  Game& g = f.game;
  Round& r = f.round;
  if (qix_move(r.qix, g.game_level, r.playfield, r.player, g.game_phase == PHASE_PLAYING)) {
    r.fuse.state = 0;
    g.game_phase = PHASE_LIFE_LOST;
  }
  if (sparx_move_all(r.sparx, r.playfield, r.player, g.game_phase == PHASE_PLAYING)) g.game_phase = PHASE_LIFE_LOST;
  if (fuse_move(r.fuse, r.playfield, r.player, g.game_phase == PHASE_PLAYING)) g.game_phase = PHASE_LIFE_LOST;
  if (g.game_phase == PHASE_PLAYING || g.game_phase == PHASE_PAUSED)
    if (++r.marker_blink >= MARKER_BLINK_FRAMES) r.marker_blink = 0;
  g.high_shown = f.hiscores.hiscore_table.rows[0].score;
  if (g.game_phase == PHASE_HISCORE_ENTRY) {
    if (f.hiscores.hiscore_loaded == 0) {
      f.hiscores.hiscore_edit_row = hiscore_load(f.hiscores, g.game_score);
      f.hiscores.hiscore_loaded = 1;
    }
    hiscore_offer_letter(f.hiscores);
  }
}

// What moves, over the still picture already in the back buffer: the QIX, the Sparx, the Fuse,
// the marker and the phase's message.
void frame_draw_moving(const Frame& f) {
  const Game& g = f.game;
  const Round& r = f.round;
  const Assets& a = f.assets;
  int32_t pitch = 0;
  uint8_t* pixels = display_lock(display.display_back, &pitch);
  if (pixels != nullptr && pitch == BACK_BUFFER_PITCH) qix_draw(r.qix, g.game_level, pixels);
  Rect qix_rect{0, 0, 0, 0};
  if (pixels != nullptr && pitch == BACK_BUFFER_PITCH) qix_drawn_rect(r.qix, g.game_level, &qix_rect);
  if (pixels != nullptr) display_unlock_written(display.display_back, pixels, qix_rect);
  sparx_draw(r.sparx, a.sparx_sprite, display.display_back);
  fuse_draw(r.fuse, a.fuse_sprite, display.display_back);
  if (g.game_phase == PHASE_PLAYING || g.game_phase == PHASE_PAUSED) {
    // The marker's picture is centred on its pixel (7, 7): at (x - 2, y - 2) that is cell
    // (x, y) shown at (x + 5, y + 5).
    const Bob& marker = r.marker_blink < MARKER_FRAMES_PER_PICTURE ? a.marker_sprite_a : a.marker_sprite_b;
    bob_draw_at(marker, r.player.player_x - 2, r.player.player_y - 2, display.display_back);
  }
  hud_draw_message(g, r, f.hiscores, display.display_back);
}

// The still layer brought up to date and copied into the back buffer, then what moves drawn
// over it. The display learns what this frame changes from the last one when that was ours:
// the layer's changes, what moved then and what moves now.
void frame_draw(Frame& f) {
  GameScene& scene = f.game.scene;
  FrameChanges layer_changes;
  if (!display.display_back || !scene_update(scene, f.game, f.round, f.assets, &layer_changes)) {
    // No layer to keep: the whole picture, as it was always drawn.
    if (display.display_back) scene_draw_still(f.game, f.round, f.assets, display.display_back);
    frame_draw_moving(f);
    scene.frame.moving_known = false;
    return;
  }
  still_begin(&scene.frame, layer_changes);
  frame_draw_moving(f);
  still_end(&scene.frame);
}

// After the picture: the level bonus, which the panel shows from the next frame on.
void frame_after_draw(Frame& f) {
  if (f.game.game_phase != PHASE_LEVEL_COMPLETE || f.round.phase_frames != PHASE_WAIT_FRAMES) return;
  const int32_t extra = hud_extra_percent(f.round.claimed_cells);
  if (extra > 0) f.game.game_score += extra * LEVEL_BONUS_PER_PERCENT;
}

}  // namespace

bool game_frame_waiting(const Game& game) { return game.f1_wait_resume != RESUME_NONE; }

bool game_compose_frame(Game& game, Round& round, Hiscores& hiscores, int32_t& menu_key_latch, const Assets& assets,
                        const Input& input, GameFrameResult* result) {
  Frame f{game, round, hiscores, menu_key_latch, assets, input, *result};
  if (game_frame_waiting(game)) {
    // Goes on with the frame that waited, once F1 is up.
    if (f.key(VK_F1) && !input.close_requested) return false;
    const int32_t resume = game.f1_wait_resume;
    game.f1_wait_resume = RESUME_NONE;
    if (resume == RESUME_PLAYING_STEP) step_playing_rest(f);
  } else {
    if (f.key(VK_ESCAPE)) f.result.to_menu = true;
    if (!step_phase(f)) return false;
  }
  frame_enemies_and_panel(f);
  frame_draw(f);
  frame_after_draw(f);
  return true;
}

GameFrameResult game_run_frame(Game& game, Round& round, Hiscores& hiscores, int32_t& menu_key_latch,
                               const Assets& assets, const Input& input) {
  GameFrameResult result;
  // A pass that waits for F1 shows nothing; it sleeps to the next tick instead of spinning.
  if (!game_compose_frame(game, round, hiscores, menu_key_latch, assets, input, &result))
    result.pass_end = PASS_END_WAIT_TICK;
  return result;
}
