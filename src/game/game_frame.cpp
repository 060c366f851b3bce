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
#include "platform/platform.h"
#include "playfield/player.h"
#include "playfield/playfield.h"
#include "sound/sound.h"

namespace {

constexpr int32_t BACK_BUFFER_PITCH = 640;
constexpr int32_t CAPTURE_BONUS_PER_LEVEL = 10000;
constexpr int32_t ENGINE_BEAT_BASE_FRAMES = 100;
constexpr int32_t MARKER_BLINK_FRAMES = 16;
constexpr int32_t MARKER_FRAMES_PER_PICTURE = 8;

bool key(int32_t vk) { return platform_key_down(vk) != 0; }

// Nothing is drawn while F1 is held at the start or end of a pause; a window closed meanwhile
// still ends the wait, so the program can go down.
void wait_for_f1_release() {
  while (key(VK_F1) && !platform_close_requested()) {
  }
}

void step_playing() {
  if (key(VK_F1)) {
    game_phase = PHASE_PAUSED;
    pause_started_at = game_now();
    phase_frames = 0;
    wait_for_f1_release();
  }
  if (qix_captured) {
    if (++phase_frames >= PHASE_LONG_WAIT_FRAMES) {
      phase_frames = 0;
      game_score += game_level * CAPTURE_BONUS_PER_LEVEL;
      qix_captured = 0;
      qix_reset();
    }
  }
  move_mode = key(VK_SHIFT) ? 2 : (key(VK_CONTROL) ? 1 : 0);
  player_step(move_mode);
  // A fast stix, or fast movement with no slow stix under way, takes two steps a frame.
  if (stix_speed == 2 || (move_mode == 2 && stix_speed != 1)) player_step(move_mode);
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

void step_paused() {
  if (!key(VK_F1)) return;
  game_phase = PHASE_PLAYING;
  time_base += game_now() - pause_started_at;
  wait_for_f1_release();
}

void step_level_complete() {
  if (++phase_frames >= PHASE_LONG_WAIT_FRAMES) {
    game_level += 1;
    phase_frames = 0;
    game_new_level();
    game_phase = PHASE_PLAYING;
  }
}

void step_life_lost() {
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
    if (phase_frames < PHASE_WAIT_FRAMES || !key(VK_SPACE)) return;
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

void step_game_over() {
  if (phase_announced == 0) {
    phase_announced = 1;
    sound_effect(SND_DYING);
    if (game_score > recorded_score) {
      recorded_score = game_score;
      game_phase = PHASE_HISCORE_ENTRY;
      hiscore_loaded = 0;
    }
  }
  if (key(VK_RETURN)) {
    game_restart();
  } else if (key(VK_ESCAPE)) {
    menu_frames = 1;
    screen_state = SCREEN_MENU;
  }
}

bool edit_row_valid() { return hiscore_edit_row >= 0 && hiscore_edit_row < HISCORE_ENTRIES; }

void step_hiscore_entry() {
  const bool right = key(VK_RIGHT), left = key(VK_LEFT);
  const bool down = key(VK_DOWN), up = key(VK_UP);
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
  if (key(VK_RETURN)) {
    hiscore_save();
    game_restart();
  }
}

void step_phase() {
  switch (game_phase) {
    case PHASE_PLAYING:
      step_playing();
      break;
    case PHASE_PAUSED:
      step_paused();
      break;
    case PHASE_LEVEL_COMPLETE:
      step_level_complete();
      break;
    case PHASE_LIFE_LOST:
      step_life_lost();
      break;
    case PHASE_GAME_OVER:
      step_game_over();
      break;
    case PHASE_HISCORE_ENTRY:
      step_hiscore_entry();
      break;
    default:
      break;
  }
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

}  // namespace

int32_t game_compose_frame() {
  if (key(VK_ESCAPE)) {
    screen_state = SCREEN_MENU;
    menu_frames = 1;
  }
  clock_start();
  display_fill(display_back, 0);
  bob_draw(&playfield_sprite, display_back);
  step_phase();
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
  return 1;
}

int32_t game_run_frame() {
  game_compose_frame();
  display_flip();
  clock_wait(GAME_FRAME_MS);
  return 1;
}
