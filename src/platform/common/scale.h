// How the game's picture is fitted to a screen or window: pure arithmetic, no SDL.
#pragma once
#include <cstdint>

enum : int32_t { SCALE_FIT = 0, SCALE_INTEGER = 1 };

struct ScalePlan {
  int32_t x, y, w, h;  // where the picture goes in the output; the rest is black
  // The picture is first enlarged factor times with nearest-neighbour pixels, then filtered
  // smoothly from that size down to w x h. Without smooth it goes to w x h in one
  // nearest-neighbour pass (whole factors, or a renderer that cannot afford the second pass).
  int32_t factor;
  bool smooth;
};

// The plan for a pic_w x pic_h picture in an out_w x out_h output.
// SCALE_FIT: the largest rectangle of the picture's shape that fits, centred.
// SCALE_INTEGER: the largest whole factor that fits (shrunk to fit when even 1x does not).
// nearest_only: one nearest-neighbour pass, for renderers where the second pass costs too much.
// max_side: the largest texture side the renderer takes (0: no limit); factor stays within it.
// An empty output or picture gives an empty plan (w = h = 0).
ScalePlan scale_plan(int32_t out_w, int32_t out_h, int32_t pic_w, int32_t pic_h, int32_t mode, bool nearest_only,
                     int32_t max_side);

// One nearest-neighbour pass by runs: how many of out output pixels each of pic picture pixels
// becomes (pixel centres mapped, as the renderers do), into runs[0..pic). Each run is the
// whole factor below or above out / pic, and the runs add up to out.
void scale_runs(int32_t pic, int32_t out, int32_t* runs);
// One picture row of palette indices into output pixels, each index repeated its run times.
void scale_row_nearest(const uint8_t* src, int32_t pic_w, const int32_t* runs, const uint32_t table[256], uint32_t* out);
// One picture row at 1:1: each index through the palette table, no runs to follow.
void scale_row_exact(const uint8_t* src, int32_t count, const uint32_t table[256], uint32_t* out);
// Picture columns [left, right) of one row by runs into the output row out (its start);
// firsts[x] is where column x starts in it, the running sum of the runs before it.
void scale_span_nearest(const uint8_t* src, int32_t left, int32_t right, const int32_t* runs, const int32_t* firsts,
                        const uint32_t table[256], uint32_t* out);
// The running sums of runs: where each of the pic picture pixels starts in the output.
void scale_firsts(int32_t pic, const int32_t* runs, int32_t* firsts);
// True when the plan shows the pic_w x pic_h picture pixel for pixel: no scaling pass at all.
bool scale_plan_exact(const ScalePlan& plan, int32_t pic_w, int32_t pic_h);
