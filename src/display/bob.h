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

// Where a width x height frame starts in a picture. FRAME_AT_CELL reads the picture as a grid of
// cells separated by 1-pixel rules (one also at the left and top edge); any other mode takes
// (cx, cy) as the pixel itself.
void bob_frame_corner(int32_t mode, int32_t cx, int32_t cy, int32_t width, int32_t height, int64_t* column,
                      int64_t* row);

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

// Refuses (0) a frame_count above 64. Frame surfaces are width + width_pad wide.
int32_t bob_create(Bob* bob, int32_t x, int32_t y, int32_t width, int32_t height, int32_t frame_count,
                   int32_t flags, int32_t memory_flags);
int32_t bob_destroy(Bob* bob);
// Copies width - 1 columns and height - 1 rows: the last column and row of a frame never show.
int32_t bob_draw(Bob* bob, Surface* target);
// Copies the part of the frame's rectangle that lies inside the 8-bit picture; the rest of the
// frame is 0. 0 for a picture without pixels or not of 8 bits, or a frame that does not exist.
int32_t bob_load_frame(Bob* bob, const BitmapFile* bitmap, int32_t frame_index, int32_t cx, int32_t cy, int32_t mode);
int32_t bob_set_position(Bob* bob, int32_t x, int32_t y);

// Operations the game itself never calls.
// As bob_draw, stretched into width x height at (x, y) (one short like bob_draw).
int32_t bob_draw_scaled(Bob* bob, int32_t width, int32_t height, Surface* target);
int32_t bob_animate(Bob* bob);
// Sequence index (0..15) becomes an owned copy of count (>= 1) frame indices (0..63), ended
// by SEQUENCE_END.
int32_t bob_load_sequence(Bob* bob, int32_t index, int32_t count, const int32_t* frames);
int32_t bob_set_anim_rate(Bob* bob, int32_t rate);
int32_t bob_set_sequence(Bob* bob, int32_t index);
int32_t bob_set_velocity(Bob* bob, int32_t vx, int32_t vy);
int32_t bob_hide(Bob* bob);
int32_t bob_show(Bob* bob);
// Adds the velocity, then bounces off or wraps around (0, 0)-(639, 479) by the flags.
int32_t bob_move(Bob* bob);
// 1 when the two BOBs' collision boxes overlap.
int32_t bob_overlap(const Bob* a, const Bob* b);
