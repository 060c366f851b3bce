// The software renderer's path: the picture scaled by one nearest pass, by runs, straight into
// the window's image (which the software renderer draws into too, and which keeps what was
// drawn), and only for the picture rows that differ from the frame on screen: the scroll lines
// of the menu change 40 rows of 480. A frame that comes with its record of changes is taken at
// its word: no rows compared, only its spans converted (at 1:1 without the runs) and their box
// sent.
#include <algorithm>
#include <cstring>

#include "platform/common/frame_changes.h"

#include "platform/sdl/present_parts.h"
#include "platform/sdl/video_sdl.h"

namespace {

void direct_path_setup(DirectPath& direct, const ScalePlan& plan) {
  if (direct.valid && direct.plan.w == plan.w && direct.plan.h == plan.h) {
    direct.plan = plan;
    return;
  }
  direct.plan = plan;
  const int pic_w = sdl_video.texture_width, pic_h = sdl_video.texture_height;
  direct.column_runs.assign(static_cast<size_t>(pic_w), 0);
  direct.row_runs.assign(static_cast<size_t>(pic_h), 0);
  direct.row_first.assign(static_cast<size_t>(pic_h), 0);
  direct.column_first.assign(static_cast<size_t>(pic_w), 0);
  scale_runs(pic_w, plan.w, direct.column_runs.data());
  scale_firsts(pic_w, direct.column_runs.data(), direct.column_first.data());
  scale_runs(pic_h, plan.h, direct.row_runs.data());
  for (int y = 1; y < pic_h; ++y) direct.row_first[y] = direct.row_first[y - 1] + direct.row_runs[y - 1];
}

// Marks the rows that differ from the frame on screen in direct.changed_rows; false when none
// does. first and last bound the marked rows.
bool mark_changed_rows(DirectPath& direct, const ShownFrame& shown, const uint8_t* pixels, int32_t pitch,
                       int* first, int* last) {
  const int pic_h = sdl_video.texture_height;
  *first = pic_h;
  for (int y = 0; y < pic_h; ++y) {
    if (!shown_frame_row_differs(shown, pixels, pitch, y)) continue;
    direct.changed_rows[y] = 1;
    if (*first == pic_h) *first = y;
    *last = y;
  }
  return *first != pic_h;
}

// Marks the rows that hold a span of the frame's record; false when none does. first and last
// bound the marked rows, left and right the spans' columns.
bool mark_recorded_rows(DirectPath& direct, const FrameChanges& changes, int* first, int* last, int32_t* left,
                        int32_t* right) {
  const int pic_h = sdl_video.texture_height;
  *first = pic_h;
  for (int y = 0; y < pic_h; ++y) {
    int32_t l, r;
    if (!frame_changes_row(changes, y, &l, &r)) continue;
    direct.changed_rows[y] = 1;
    if (*first == pic_h) *first = y;
    *last = y;
    *left = std::min(*left, l);
    *right = std::max(*right, r);
  }
  return *first != pic_h;
}

}  // namespace

int32_t direct_path_prepare(DirectPath& direct, const ShownFrame& shown, ColourTable& colours, const ScalePlan& plan,
                            const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3], int out_w,
                            int out_h, bool even_unchanged, const FrameChanges* changes) {
  SDL_Surface* image = SDL_GetWindowSurface(sdl_video.window);
  if (plan.w <= 0 || plan.h <= 0) return PREPARE_FAILED;
  if (!image || image->w != out_w || image->h != out_h || image->format->BytesPerPixel != 4) return PREPARE_ELSEWHERE;
  // Everything is drawn again when the window, the picture's place or the palette changed, or
  // a notice came or went (sdl_video.redraw; one drawn into the image leaves direct invalid).
  const bool whole = !direct.valid || !shown.valid || sdl_video.redraw || out_w != shown.w || out_h != shown.h ||
                     !colour_table_has_palette(colours, palette_rgb) || !colours.valid ||
                     colours.format != image->format->format || plan.w != direct.plan.w || plan.h != direct.plan.h;
  if (whole) direct.valid = false;
  direct_path_setup(direct, plan);
  const int pic_w = sdl_video.texture_width, pic_h = sdl_video.texture_height;
  const bool spans = !whole && changes && !changes->whole && changes->width == pic_w && changes->height == pic_h;
  direct.recorded = spans;
  // Each row compared once (or read from the record); the frame's copy for the next comparison
  // takes only these rows.
  direct.changed_rows.assign(static_cast<size_t>(pic_h), whole ? 1 : 0);
  int first = 0, last = pic_h - 1;
  int32_t span_left = spans ? pic_w : 0, span_right = spans ? 0 : pic_w;
  const bool any = whole || (spans ? mark_recorded_rows(direct, *changes, &first, &last, &span_left, &span_right)
                                   : mark_changed_rows(direct, shown, pixels, pitch, &first, &last));
  if (!any) {
    if (!even_unchanged) return PREPARE_UNCHANGED;
    // Shown again on request, as it is: every row, whole.
    first = 0, last = pic_h - 1, span_left = 0, span_right = pic_w;
    direct.recorded = false;
    std::fill(direct.changed_rows.begin(), direct.changed_rows.end(), uint8_t{1});
  }
  colour_table_update(colours, palette_rgb, image->format);
  const SDL_Rect rect{plan.x, plan.y, plan.w, plan.h};
  if (whole) {
    present_draw_bars(out_w, out_h, rect);
    SDL_RenderFlush(sdl_video.renderer);  // into the image before it is sent
  }
  if (SDL_MUSTLOCK(image) && SDL_LockSurface(image) != 0) return PREPARE_FAILED;
  uint8_t* base = static_cast<uint8_t*>(image->pixels) + static_cast<ptrdiff_t>(plan.y) * image->pitch +
                  static_cast<ptrdiff_t>(plan.x) * 4;
  const bool exact = scale_plan_exact(plan, pic_w, pic_h);
  for (int y = first; y <= last; ++y) {
    if (!direct.changed_rows[y]) continue;  // still in the image
    uint8_t* row = base + static_cast<ptrdiff_t>(direct.row_first[y]) * image->pitch;
    const uint8_t* src = pixels + static_cast<ptrdiff_t>(y) * pitch;
    int32_t l = 0, r = pic_w;
    if (spans && !frame_changes_row(*changes, y, &l, &r)) l = 0, r = pic_w;
    uint32_t* out = reinterpret_cast<uint32_t*>(row);
    if (exact)
      scale_row_exact(src + l, r - l, colours.pixel, out + l);
    else
      scale_span_nearest(src, l, r, direct.column_runs.data(), direct.column_first.data(), colours.pixel, out);
    // The row's copies below it take only the converted columns.
    const int32_t from = direct.column_first[l], to = direct.column_first[r - 1] + direct.column_runs[r - 1];
    for (int k = 1; k < direct.row_runs[y]; ++k)
      std::memcpy(row + static_cast<ptrdiff_t>(k) * image->pitch + static_cast<ptrdiff_t>(from) * 4,
                  row + static_cast<ptrdiff_t>(from) * 4, static_cast<size_t>(to - from) * 4);
  }
  if (SDL_MUSTLOCK(image)) SDL_UnlockSurface(image);
  const int top = direct.row_first[first], bottom = direct.row_first[last] + direct.row_runs[last];
  const int left = direct.column_first[span_left];
  const int right = direct.column_first[span_right - 1] + direct.column_runs[span_right - 1];
  direct.update = whole ? SDL_Rect{0, 0, out_w, out_h} : SDL_Rect{plan.x + left, plan.y + top, right - left, bottom - top};
  direct.valid = true;
  return PREPARE_DRAWN;
}
