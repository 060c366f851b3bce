// One frame of the game screen: keys, the step of the current phase, the whole picture, the
// flip and the wait that paces the game at 30 ms a frame.
#include "app/app.h"
#include "app/sprites.h"
#include "display/display.h"
#include "enemies/fuse.h"
#include "enemies/qix.h"
#include "enemies/sparx.h"
#include "frontend/menu.h"
#include "game/game.h"
#include "game/hiscore.h"
#include "game/hud.h"
#include "playfield/player.h"
#include "playfield/playfield.h"
#include "sound/sound.h"

namespace {

constexpr int32_t BACK_BUFFER_PITCH = 640;
constexpr int32_t CAPTURE_BONUS_PER_LEVEL = 10000;
constexpr int32_t ENGINE_BEAT_BASE_FRAMES = 100;
constexpr int32_t MARKER_BLINK_FRAMES = 16;
constexpr int32_t MARKER_FRAMES_PER_PICTURE = 8;

// While F1 is held at the start or end of a pause, the frame that saw it stands still: the
// passes of the main loop that follow present nothing until F1 is up (or the window is closed),
// and then the frame goes on from where it stopped, with the keys of that pass.
enum : int32_t { RESUME_NONE = 0, RESUME_PLAYING_STEP = 1, RESUME_AFTER_PHASE_STEP = 2 };
int32_t f1_wait_resume = RESUME_NONE;

bool key(const Input& input, int32_t vk) { return input_held(input, vk); }

void step_playing_rest(const Input& input) {
  if (qix_captured) {
    if (++phase_frames >= PHASE_LONG_WAIT_FRAMES) {
      phase_frames = 0;
      game_score += game_level * CAPTURE_BONUS_PER_LEVEL;
      qix_captured = 0;
      qix_reset();
    }
  }
  move_mode = key(input, VK_SHIFT) ? 2 : (key(input, VK_CONTROL) ? 1 : 0);
  player_step(move_mode, input);
  // A fast stix, or fast movement with no slow stix under way, takes two steps a frame.
  if (stix_speed == 2 || (move_mode == 2 && stix_speed != 1)) player_step(move_mode, input);
  sparx_timer_update();
  if (++engine_beat_frames >= time_left + ENGINE_BEAT_BASE_FRAMES) {
    engine_beat_frames = 0;
    sound_effect(SND_ENGINEBEAT);
  }
  if (claimed_cells >= CLAIM_TARGET_CELLS) {
    sound_effect(SND_SUCCESS);
    game_phase = PHASE_LEVEL_COMPLETE;
    // The counter may still hold a capture wait; the bonus frame must come 50 frames on.
    phase_frames = 0;
  }
}

// False when the frame now waits for F1 to be released.
bool step_playing(const Input& input) {
  if (key(input, VK_F1)) {
    game_phase = PHASE_PAUSED;
    pause_started_at = game_now();
    phase_frames = 0;
    f1_wait_resume = RESUME_PLAYING_STEP;
    return false;
  }
  step_playing_rest(input);
  return true;
}

bool step_paused(const Input& input) {
  if (!key(input, VK_F1)) return true;
  game_phase = PHASE_PLAYING;
  time_base += game_now() - pause_started_at;
  f1_wait_resume = RESUME_AFTER_PHASE_STEP;
  return false;
}

void step_level_complete() {
  if (++phase_frames >= PHASE_LONG_WAIT_FRAMES) {
    game_level += 1;
    phase_frames = 0;
    game_new_level();
    game_phase = PHASE_PLAYING;
  }
}

void step_life_lost(const Input& input) {
  if (phase_announced == 0) {
    if (game_lives > 1) {
      phase_announced = 1;
      sound_effect(SND_DYING);
    }
    playfield_erase_stix();
    game_lives -= 1;
    // A capture wait may have left the counter running; the 50 frames start now.
    phase_frames = 0;
  }
  if (game_lives > 0) {
    ++phase_frames;
    if (phase_frames < PHASE_WAIT_FRAMES || !key(input, VK_SPACE)) return;
    phase_frames = 0;
    if (player_drawing) {
      player_drawing = 0;
      player_x = stix_start_x;
      player_y = stix_start_y;
    }
    // The lost stix takes its speed with it, so the marker walks the border at its own pace.
    stix_speed = 0;
    phase_announced = 0;
    game_phase = PHASE_PLAYING;
  }
  if (game_lives < 1) {
    sound_effect(game_score > recorded_score ? SND_RECORD : SND_DEAD);
    sound_effect(SND_SHUTDOWN);
    sound_effect(SND_DISCONNECT);
    game_phase = PHASE_GAME_OVER;
  }
  time_base = game_now();
}

void step_game_over(const Input& input) {
  if (phase_announced == 0) {
    phase_announced = 1;
    sound_effect(SND_DYING);
    if (game_score > recorded_score) {
      recorded_score = game_score;
      game_phase = PHASE_HISCORE_ENTRY;
      hiscore_loaded = 0;
    }
  }
  if (key(input, VK_RETURN)) {
    game_restart();
  } else if (key(input, VK_ESCAPE)) {
    menu_frames = 1;
    screen_state = SCREEN_MENU;
  }
}

bool edit_row_valid() { return hiscore_edit_row >= 0 && hiscore_edit_row < HISCORE_ENTRIES; }

void step_hiscore_entry(const Input& input) {
  const bool right = key(input, VK_RIGHT), left = key(input, VK_LEFT);
  const bool down = key(input, VK_DOWN), up = key(input, VK_UP);
  bool moved = false;
  if (right && menu_key_latch == 0) {
    hiscore_edit_cursor = hiscore_edit_cursor >= 2 ? 0 : hiscore_edit_cursor + 1;
    moved = true;
  } else if (left && menu_key_latch == 0) {
    hiscore_edit_cursor = hiscore_edit_cursor <= 0 ? 2 : hiscore_edit_cursor - 1;
    moved = true;
  }
  // The letters already chosen stay: the one at the new place is offered again. Without an
  // editable row there is nothing to take it from, and the letter on offer stays.
  if (moved && edit_row_valid()) {
    const char* initials = hiscore_table.rows[hiscore_edit_row].initials;
    if (initials != nullptr) hiscore_edit_letter = static_cast<unsigned char>(initials[hiscore_edit_cursor]);
  }
  if (down && menu_key_latch == 0)
    hiscore_edit_letter = hiscore_edit_letter <= 'A' ? 'Z' : hiscore_edit_letter - 1;
  else if (up && menu_key_latch == 0)
    hiscore_edit_letter = hiscore_edit_letter >= 'Z' ? 'A' : hiscore_edit_letter + 1;
  menu_key_latch = (down || up || left || right) ? 1 : 0;
  if (key(input, VK_RETURN)) {
    hiscore_save();
    game_restart();
  }
}

// False when the frame now waits for F1 to be released.
bool step_phase(const Input& input) {
  switch (game_phase) {
    case PHASE_PLAYING:
      return step_playing(input);
    case PHASE_PAUSED:
      return step_paused(input);
    case PHASE_LEVEL_COMPLETE:
      step_level_complete();
      break;
    case PHASE_LIFE_LOST:
      step_life_lost(input);
      break;
    case PHASE_GAME_OVER:
      step_game_over(input);
      break;
    case PHASE_HISCORE_ENTRY:
      step_hiscore_entry(input);
      break;
    default:
      break;
  }
  return true;
}

void draw_marker() {
  if (game_phase != PHASE_PLAYING && game_phase != PHASE_PAUSED) return;
  if (++marker_blink >= MARKER_BLINK_FRAMES) marker_blink = 0;
  Bob* marker = marker_blink < MARKER_FRAMES_PER_PICTURE ? &marker_sprite_a : &marker_sprite_b;
  // The marker's picture is centred on its pixel (7, 7): at (x - 2, y - 2) that is cell (x, y)
  // shown at (x + 5, y + 5).
  bob_set_position(marker, player_x - 2, player_y - 2);
  bob_draw(marker, display_back);
}


// The frame up to the phase step.
void frame_begin(const Input& input) {
  if (key(input, VK_ESCAPE)) {
    screen_state = SCREEN_MENU;
    menu_frames = 1;
  }
  clock_start();
  display_fill(display_back, 0);
  bob_draw(&playfield_sprite, display_back);
}

// The frame after the phase step, up to the side panel.
void frame_end() {
  bob_draw(&title_sprite, display_back);
  bob_draw(&logo_sprite, display_back);
  bob_draw(&arrows_sprite, display_back);
  // The QIX moves in every frame; only its drawing, like the cells', needs the locked memory
  // laid out as the cells are written: 640 bytes a row.
  int32_t pitch = 0;
  uint8_t* pixels = display_lock(display_back, &pitch);
  const bool drawable = pixels != nullptr && pitch == BACK_BUFFER_PITCH;
  if (drawable) playfield_draw(pixels);
  qix_move(game_level);
  if (drawable) qix_draw(game_level, pixels);
  if (pixels != nullptr) display_unlock(display_back, pixels);
  sparx_move_all();
  sparx_draw();
  fuse_move();
  fuse_draw();
  draw_marker();
  hud_draw();
}

// Goes on with a frame that waited for F1; false while F1 is still held.
bool frame_resume(const Input& input) {
  if (key(input, VK_F1) && !input.close_requested) return false;
  const int32_t resume = f1_wait_resume;
  f1_wait_resume = RESUME_NONE;
  if (resume == RESUME_PLAYING_STEP) step_playing_rest(input);
  frame_end();
  return true;
}

}  // namespace

bool game_frame_waiting() { return f1_wait_resume != RESUME_NONE; }

int32_t game_compose_frame(const Input& input) {
  if (game_frame_waiting()) return frame_resume(input) ? 1 : 0;
  frame_begin(input);
  if (!step_phase(input)) return 0;
  frame_end();
  return 1;
}

int32_t game_run_frame(const Input& input) {
  if (!game_compose_frame(input)) {
    // A pass that waits for F1 shows nothing; it sleeps to the next tick instead of spinning.
    display_wait_vblank();
    return 1;
  }
  display_flip();
  clock_wait(GAME_FRAME_MS);
  return 1;
}
