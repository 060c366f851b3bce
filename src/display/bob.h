// BOBs: sprites of up to 64 frame surfaces, blitted with palette index 0 transparent.
#pragma once
#include <cstdint>

#include "display/bitmap.h"
#include "display/surface.h"

constexpr int32_t BOB_FRAME_SLOTS = 64;
constexpr int32_t BOB_SEQUENCE_SLOTS = 16;
constexpr int32_t SEQUENCE_END = -1;

enum : int32_t {
  BOB_FLAG_ONE_FRAME = 1,
  BOB_FLAG_FRAME_CYCLE = 2,
  BOB_FLAG_SEQUENCES = 4,
  BOB_FLAG_ONE_SHOT = 8,
  BOB_FLAG_SHOWN = 16,
  BOB_FLAG_BOUNCE = 32,
  BOB_FLAG_WRAP = 64,
  BOB_FLAG_FRAMES_LOADED = 128,
};

enum : int32_t { FRAME_AT_CELL = 0, FRAME_AT_PIXEL = 1 };

struct Bob {
  int32_t state;
  int32_t anim_finished;
  int32_t flags;
  int32_t x, y;
  int32_t vel_x, vel_y;
  int32_t direction;
  int32_t width, height;
  int32_t width_pad;
  int32_t counter_a, counter_b;
  int32_t frame;
  int32_t frame_count;
  int32_t sequence;
  int32_t anim_tick;
  int32_t anim_step;
  int32_t anim_rate;
  int32_t* sequences[BOB_SEQUENCE_SLOTS];
  Surface* frames[BOB_FRAME_SLOTS];
};

int32_t bob_create(Bob* bob, int32_t x, int32_t y, int32_t width, int32_t height, int32_t frame_count,
                   int32_t flags, int32_t memory_flags);
int32_t bob_destroy(Bob* bob);
int32_t bob_draw(Bob* bob, Surface* target);
int32_t bob_load_frame(Bob* bob, const BitmapFile* bitmap, int32_t frame_index, int32_t cx, int32_t cy, int32_t mode);
int32_t bob_set_position(Bob* bob, int32_t x, int32_t y);

// Operations the game itself never calls.
int32_t bob_draw_scaled(Bob* bob, int32_t width, int32_t height, Surface* target);
int32_t bob_animate(Bob* bob);
int32_t bob_load_sequence(Bob* bob, int32_t index, int32_t count, const int32_t* frames);
int32_t bob_set_anim_rate(Bob* bob, int32_t rate);
int32_t bob_set_sequence(Bob* bob, int32_t index);
int32_t bob_set_velocity(Bob* bob, int32_t vx, int32_t vy);
int32_t bob_hide(Bob* bob);
int32_t bob_show(Bob* bob);
int32_t bob_move(Bob* bob);
int32_t bob_overlap(const Bob* a, const Bob* b);
