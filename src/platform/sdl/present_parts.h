// Inside the SDL presentation: the records and steps its files share, one file a job.
// present_sdl.cpp runs the sequence (prepare the frame, wait for the tick, draw the notices
// over it, show it) and owns the records; each file below does its one job on the record it is
// given.
#pragma once
#include <SDL.h>

#include <cstdint>
#include <vector>

#include "platform/common/scale.h"

struct FrameChanges;

// --- present_plan.cpp: which path draws, where the picture lies, the black around it ---
// One nearest-neighbour pass (the filter asks for it, or AUTO on the software renderer).
bool present_nearest_only(int32_t filter);
// The software renderer's direct path (present_software.cpp) draws rather than the renderer.
bool present_direct_path(int32_t filter);
ScalePlan present_plan_for(int32_t filter, int out_w, int out_h);
// The black around the picture at r. The software renderer draws into the window's own image,
// so painting only the bars spares clearing (and rewriting) the picture's area every frame.
void present_draw_bars(int out_w, int out_h, const SDL_Rect& r);

// --- present_shown.cpp: the frame on screen and the palette's pixel values ---
struct ColourTable {
  uint32_t pixel[256] = {};  // palette index -> pixel of format
  uint8_t palette[256][3] = {};
  Uint32 format = 0;
  bool valid = false;
};
// Makes the table for this palette in format (null: ARGB8888) unless it already is.
void colour_table_update(ColourTable& table, const uint8_t palette_rgb[256][3], const SDL_PixelFormat* format);
bool colour_table_has_palette(const ColourTable& table, const uint8_t palette_rgb[256][3]);

// The frame on screen, known by a 64-bit hash of each row rather than a copy of it (a 307 kB
// copy at 640x480): enough to find the rows that changed and to skip presenting it again. A row
// a frame's record changed is not hashed (that would cost more than the rest of the present):
// its hash is SHOWN_ROW_UNKNOWN, which no row has, until a frame without a record compares it.
constexpr uint64_t SHOWN_ROW_UNKNOWN = 0;
struct ShownFrame {
  std::vector<uint64_t> row_hash;
  int32_t w = 0, h = 0;         // the output size it was drawn for
  bool valid = false;
};
// True when this frame, palette and output size are what the screen already shows.
bool shown_frame_same(const ShownFrame& shown, const ColourTable& colours, const uint8_t* pixels, int32_t pitch,
                      const uint8_t palette_rgb[256][3], int out_w, int out_h);
bool shown_frame_row_differs(const ShownFrame& shown, const uint8_t* pixels, int32_t pitch, int y);
// The hash a row of w pixels is known by.
uint64_t shown_row_hash(const uint8_t* row, int32_t w);
// Remembers the frame shown; with rows, only those marked (the others are the same), and with
// recorded, those marked rows as unknown.
void shown_frame_remember(ShownFrame& shown, const uint8_t* pixels, int32_t pitch, int out_w, int out_h,
                          const std::vector<uint8_t>& rows = {}, bool recorded = false);

// --- present_gpu.cpp: the renderer's path (a texture, scaled by the renderer) ---
struct GpuPath {
  SDL_PixelFormat* format = nullptr;  // of the picture texture
  Uint32 texture_format = 0;          // the picture texture's, made when the renderer first draws from it
  SDL_Texture* large = nullptr;       // the picture at a whole multiple, source of the smooth pass
  int large_w = 0, large_h = 0;
};
// The picture texture (sdl_video.texture), made on first use: the software renderer's direct
// path draws straight into the window's image and never needs its 1.2 MB. False when it cannot
// be made.
bool gpu_path_ensure_texture(const GpuPath& gpu);
// The frame through the colour table into the picture texture.
bool gpu_path_convert(GpuPath& gpu, ColourTable& colours, const uint8_t* pixels, int32_t pitch,
                      const uint8_t palette_rgb[256][3]);
// Queues the texture's drawing by the plan and flushes it, so that showing it after the wait
// is quick.
bool gpu_path_draw(GpuPath& gpu, const ScalePlan& plan, int out_w, int out_h);
void gpu_path_release_large(GpuPath& gpu);

// --- present_software.cpp: the software renderer's direct path into the window's image ---
// PREPARE_ELSEWHERE: the window's image cannot be drawn into directly; the renderer draws.
enum : int32_t { PREPARE_FAILED = 0, PREPARE_DRAWN = 1, PREPARE_UNCHANGED = 2, PREPARE_ELSEWHERE = 3 };
struct DirectPath {
  ScalePlan plan{};
  std::vector<int32_t> column_runs, row_runs, row_first, column_first;
  bool valid = false;                 // the window's image holds the frame on screen
  std::vector<uint8_t> changed_rows;  // of the frame being prepared, 1 where it differs
  bool recorded = false;              // changed_rows came from the frame's record
  SDL_Rect update{};                  // the part of the window's image to send to the display
};
// changes: the frame's record of what it changes from the frame presented before (null or
// whole: anything may have changed, and the rows are compared with the frame on screen).
int32_t direct_path_prepare(DirectPath& direct, const ShownFrame& shown, ColourTable& colours, const ScalePlan& plan,
                            const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3], int out_w,
                            int out_h, bool even_unchanged, const FrameChanges* changes);

// --- present_vsync.cpp: whether presents wait for the vertical blank ---
enum : int32_t { VSYNC_UNTESTED = 0, VSYNC_TRUSTED = 1, VSYNC_OFF = 2 };
// With the frame drawn by the renderer's path, presents it again back to back a few times and
// returns VSYNC_TRUSTED or VSYNC_OFF (vsync then switched off).
int32_t vsync_probe(GpuPath& gpu, const ScalePlan& plan, int out_w, int out_h);

// --- present_stats.cpp: the opt-in frame statistics (ZORVANE_FRAME_STATS) ---
struct FrameStats {
  int32_t state = 0;  // 0 not looked yet, 1 off, 2 on
  const char* path = nullptr;
  uint32_t presents = 0, unchanged = 0, since = 0, late = 0;
  int64_t last_pass_us = -1, max_gap_us = 0;
};
void frame_stats_count(FrameStats& stats, bool shown, bool vsync_trusted);
