// Fitting the picture to the output: the rectangle, and whether a smooth pass is needed.
#include "platform/common/scale.h"

namespace {

int64_t rounded_div(int64_t a, int64_t b) { return (2 * a + b) / (2 * b); }
int32_t ceil_div(int32_t a, int32_t b) { return (a + b - 1) / b; }

}  // namespace

ScalePlan scale_plan(int32_t out_w, int32_t out_h, int32_t pic_w, int32_t pic_h, int32_t mode, bool nearest_only,
                     int32_t max_side) {
  if (out_w <= 0 || out_h <= 0 || pic_w <= 0 || pic_h <= 0) return ScalePlan{0, 0, 0, 0, 1, false};
  int32_t w, h;
  const int32_t whole = out_w / pic_w < out_h / pic_h ? out_w / pic_w : out_h / pic_h;
  if (mode == SCALE_INTEGER && whole >= 1) {
    w = pic_w * whole;
    h = pic_h * whole;
  } else if (static_cast<int64_t>(out_w) * pic_h >= static_cast<int64_t>(out_h) * pic_w) {
    // Wider than the picture: it fills the height.
    h = out_h;
    w = static_cast<int32_t>(rounded_div(static_cast<int64_t>(out_h) * pic_w, pic_h));
  } else {
    w = out_w;
    h = static_cast<int32_t>(rounded_div(static_cast<int64_t>(out_w) * pic_h, pic_w));
  }
  if (w < 1) w = 1;
  if (h < 1) h = 1;
  ScalePlan plan{(out_w - w) / 2, (out_h - h) / 2, w, h, 1, false};
  const int32_t fw = ceil_div(w, pic_w), fh = ceil_div(h, pic_h);
  plan.factor = fw > fh ? fw : fh;
  if (max_side > 0) {
    const int32_t limit = max_side / pic_w < max_side / pic_h ? max_side / pic_w : max_side / pic_h;
    if (plan.factor > limit) plan.factor = limit < 1 ? 1 : limit;
  }
  // A whole factor needs no filter: every picture pixel becomes an exact square.
  const bool exact = w == pic_w * plan.factor && h == pic_h * plan.factor;
  plan.smooth = !exact && !nearest_only;
  return plan;
}

void scale_runs(int32_t pic, int32_t out, int32_t* runs) {
  for (int32_t i = 0; i < pic; ++i) runs[i] = 0;
  if (pic <= 0 || out <= 0) return;
  for (int32_t x = 0; x < out; ++x) {
    // The picture pixel under the centre of output pixel x.
    const int64_t source = (2 * static_cast<int64_t>(x) + 1) * pic / (2 * static_cast<int64_t>(out));
    ++runs[source];
  }
}

void scale_row_nearest(const uint8_t* src, int32_t pic_w, const int32_t* runs, const uint32_t table[256], uint32_t* out) {
  for (int32_t x = 0; x < pic_w; ++x) {
    const uint32_t colour = table[src[x]];
    for (int32_t n = runs[x]; n > 0; --n) *out++ = colour;
  }
}

void scale_row_exact(const uint8_t* src, int32_t count, const uint32_t table[256], uint32_t* out) {
  for (int32_t x = 0; x < count; ++x) out[x] = table[src[x]];
}

void scale_span_nearest(const uint8_t* src, int32_t left, int32_t right, const int32_t* runs, const int32_t* firsts,
                        const uint32_t table[256], uint32_t* out) {
  out += firsts[left];
  for (int32_t x = left; x < right; ++x) {
    const uint32_t colour = table[src[x]];
    for (int32_t n = runs[x]; n > 0; --n) *out++ = colour;
  }
}

void scale_firsts(int32_t pic, const int32_t* runs, int32_t* firsts) {
  int32_t at = 0;
  for (int32_t i = 0; i < pic; ++i) {
    firsts[i] = at;
    at += runs[i];
  }
}

bool scale_plan_exact(const ScalePlan& plan, int32_t pic_w, int32_t pic_h) {
  return plan.w == pic_w && plan.h == pic_h && !plan.smooth;
}
