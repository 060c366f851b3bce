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

// Refuses a frame_count above 64. Frame surfaces are width + width_pad wide.
bool bob_create(Bob* bob, int32_t x, int32_t y, int32_t width, int32_t height, int32_t frame_count,
                int32_t flags);
bool bob_destroy(Bob* bob);
// Copies width - 1 columns and height - 1 rows: the last column and row of a frame never show.
bool bob_draw(Bob* bob, Surface* target);
// Copies the part of the frame's rectangle that lies inside the 8-bit picture; the rest of the
// frame is 0. False for a picture without pixels or not of 8 bits, or a frame that does not exist.
bool bob_load_frame(Bob* bob, const BitmapFile* bitmap, int32_t frame_index, int32_t cx, int32_t cy, int32_t mode);
bool bob_set_position(Bob* bob, int32_t x, int32_t y);
// The frame a draw shows (null when there is none), and where a width x height draw of it
// lands: false when that lies so far right or down that it cannot show.
Surface* bob_current_frame(const Bob* bob);
bool bob_destination(const Bob* bob, int32_t width, int32_t height, Rect* dst);
