// MENUPIC.BMP: the backdrop of the menu, hi-score and about screens. The same night sky as the
// playfield, but kept dark wherever the screens write: the centre (buttons, tables, the about
// page), the title and credit line at the top, and the two scrolling lines at the foot. The
// interest lies at the edges: an ice giant's limb rising in the lower left, nebula wisps and a
// bright star in the upper corners, and a thin neon frame.
#include <cmath>

#include "pictures.h"

namespace {

constexpr int32_t W = 640, H = 480;
constexpr float GIANT_X = -200.0f, GIANT_Y = 640.0f, GIANT_R = 340.0f;

// 1 at the edges, falling to a low floor over the places where text stands.
float edge_weight(float x, float y) {
  const auto box = [](float v, float lo, float hi, float soft) {
    return smoothstep(lo - soft, lo, v) * (1.0f - smoothstep(hi, hi + soft, v));
  };
  const float centre = box(x, 100.0f, 540.0f, 70.0f) * box(y, 60.0f, 470.0f, 60.0f);
  const float top = box(x, 250.0f, 430.0f, 50.0f) * box(y, -10.0f, 48.0f, 24.0f);
  const float foot = box(y, 436.0f, 478.0f, 14.0f) * 0.6f;
  const float quiet = std::fmax(std::fmax(centre, top), foot);
  return 1.0f - 0.86f * quiet;
}

float ridge(float n) { return 1.0f - std::fabs(2.0f * n - 1.0f); }

Rgb backdrop(float x, float y) {
  const float u = x / 640.0f, v = y / 480.0f;
  Rgb c = rgb_mix(rgbf(8, 8, 24), rgbf(12, 6, 26), v);
  const float wx = u * 3.0f + fbm(u * 2.0f, v * 2.0f, 101, 4) * 1.5f;
  const float wy = v * 2.4f + fbm(u * 2.0f + 4.0f, v * 2.0f, 102, 4) * 1.5f;
  // Violet and rose wisps drifting in from the upper left, teal from the upper right.
  const float left = std::exp(-std::pow((x + 40.0f) / 260.0f, 2.0f) - std::pow((y - 60.0f) / 220.0f, 2.0f));
  const float right = std::exp(-std::pow((x - 680.0f) / 240.0f, 2.0f) - std::pow((y - 140.0f) / 260.0f, 2.0f));
  const float d1 = smoothstep(0.35f, 0.8f, fbm(wx, wy, 111, 6));
  const float w1 = std::pow(ridge(fbm(wx * 1.7f, wy * 1.7f, 112, 5)), 5.0f);
  const float d2 = smoothstep(0.35f, 0.8f, fbm(wx + 3.0f, wy + 1.0f, 121, 6));
  const float w2 = std::pow(ridge(fbm(wx * 1.7f + 5.0f, wy * 1.7f, 122, 5)), 5.0f);
  c = rgb_add(c, rgb_scale(rgbf(90, 30, 150), left * (d1 * 0.9f + w1 * 0.6f)));
  c = rgb_add(c, rgb_scale(rgbf(200, 40, 110), left * d1 * d1 * 0.8f));
  c = rgb_add(c, rgb_scale(rgbf(20, 110, 130), right * (d2 * 1.0f + w2 * 0.6f)));
  c = rgb_add(c, rgb_scale(rgbf(80, 200, 200), right * d2 * d2 * 0.6f));
  // A faint band of violet light low across the screen, under everything.
  c = rgb_add(c, rgb_scale(rgbf(40, 14, 60), std::exp(-std::pow((y - 400.0f) / 90.0f, 2.0f)) * 0.6f));
  return c;
}

Rgb ice_giant(float x, float y, float* cover) {
  const float dx = x - GIANT_X, dy = y - GIANT_Y;
  const float r = std::sqrt(dx * dx + dy * dy);
  *cover = clampf(GIANT_R - r + 0.5f, 0.0f, 1.0f);
  const float nx = dx / GIANT_R, ny = dy / GIANT_R;
  const float nz = std::sqrt(std::fmax(0.0f, 1.0f - nx * nx - ny * ny));
  // Lit from the upper right: a crescent along the limb.
  const float lambert = nx * 0.7f + ny * -0.55f + nz * 0.45f;
  const float lit = smoothstep(0.1f, 0.9f, lambert);
  const float bands = fbm(ny * 14.0f + fbm(nx * 3.0f, ny * 3.0f, 131, 3) * 2.0f, nx * 2.0f, 132, 4);
  const Rgb ground = rgb_mix(rgbf(10, 40, 80), rgbf(90, 190, 215), bands * bands);
  Rgb c = rgb_add(rgb_scale(ground, 0.03f + 0.55f * lit), rgbf(4, 6, 16));
  const float rim = std::pow(1.0f - nz, 6.0f);
  return rgb_add(c, rgb_scale(rgbf(120, 230, 255), rim * (0.15f + 1.6f * lit)));
}

// A small rose moon in the right margin, lit from the same bright star.
Rgb moon(float x, float y, float* cover) {
  constexpr float MX = 604.0f, MY = 330.0f, MR = 15.0f;
  const float nx = (x - MX) / MR, ny = (y - MY) / MR;
  const float r2 = nx * nx + ny * ny;
  *cover = clampf((1.0f - std::sqrt(r2)) * MR + 0.5f, 0.0f, 1.0f);
  const float nz = std::sqrt(std::fmax(0.0f, 1.0f - r2));
  const float lit = smoothstep(0.0f, 0.8f, nx * 0.45f + ny * -0.75f + nz * 0.5f);
  const float spots = fbm(nx * 3.0f + 2.0f, ny * 3.0f, 141, 4);
  return rgb_add(rgb_scale(rgb_mix(rgbf(150, 60, 90), rgbf(230, 150, 160), spots), 0.04f + 0.8f * lit), rgbf(6, 4, 14));
}

void frame(Canvas* c) {
  // A thin neon rule three pixels inside the edge, violet shading to magenta, with brighter
  // brackets at the corners.
  const int32_t l = 3, t = 3, r = 635, b = 475;
  const auto neon = [&](int32_t x, int32_t y, float s) {
    const float k = (static_cast<float>(x) / 640.0f + static_cast<float>(y) / 480.0f) * 0.5f;
    canvas_set(c, x, y, rgb_scale(rgb_mix(rgbf(110, 60, 230), rgbf(230, 60, 170), k), s));
  };
  for (int32_t x = l; x <= r; ++x) {
    neon(x, t, 0.55f);
    neon(x, b, 0.55f);
  }
  for (int32_t y = t; y <= b; ++y) {
    neon(l, y, 0.55f);
    neon(r, y, 0.55f);
  }
  for (int32_t k = 0; k < 28; ++k) {
    const float s = 1.15f - static_cast<float>(k) * 0.02f;
    neon(l + k, t, s), neon(l, t + k, s), neon(r - k, t, s), neon(r, t + k, s);
    neon(l + k, b, s), neon(l, b - k, s), neon(r - k, b, s), neon(r, b - k, s);
    neon(l + k, t + 1, s * 0.6f), neon(l + 1, t + k, s * 0.6f), neon(r - k, t + 1, s * 0.6f), neon(r - 1, t + k, s * 0.6f);
    neon(l + k, b - 1, s * 0.6f), neon(l + 1, b - k, s * 0.6f), neon(r - k, b - 1, s * 0.6f), neon(r - 1, b - k, s * 0.6f);
  }
}

}  // namespace

Picture picture_menupic() {
  Canvas c = canvas_make(W, H, rgbf(0, 0, 0), 1.0f);
  std::vector<float> weight(W * H);
  for (int32_t y = 0; y < H; ++y)
    for (int32_t x = 0; x < W; ++x) {
      const float fx = static_cast<float>(x), fy = static_cast<float>(y);
      Rgb p = backdrop(fx, fy);
      float cover;
      const Rgb giant = ice_giant(fx, fy, &cover);
      p = rgb_mix(p, giant, cover);
      const Rgb small = moon(fx, fy, &cover);
      p = rgb_mix(p, small, cover);
      weight[y * W + x] = edge_weight(fx, fy);
      c.colour[y * W + x] = p;
    }
  // Stars, thick at the edges and sparse over the text.
  Rng rng{0x4D454E55ULL};
  for (int32_t i = 0; i < 2600; ++i) {
    const float x = rng_range(&rng, 0.0f, 640.0f), y = rng_range(&rng, 0.0f, 480.0f);
    const float b = 0.15f + 0.7f * std::pow(rng_unit(&rng), 4.0f);
    const int32_t ix = static_cast<int32_t>(x), iy = static_cast<int32_t>(y);
    const float dx = x - GIANT_X, dy = y - GIANT_Y;
    if (dx * dx + dy * dy < GIANT_R * GIANT_R) continue;
    if ((x - 604.0f) * (x - 604.0f) + (y - 330.0f) * (y - 330.0f) < 17.0f * 17.0f) continue;
    if (rng_unit(&rng) > weight[iy * W + ix] * weight[iy * W + ix]) continue;
    const Rgb tint = rng_unit(&rng) < 0.5f ? rgbf(200, 220, 255) : rgbf(255, 240, 220);
    canvas_add(&c, ix, iy, tint, b);
    if (b > 0.5f) canvas_glow(&c, x, y, 1.2f, tint, b * 0.25f);
  }
  // A bright star in the upper right, with long spikes.
  canvas_glow(&c, 586.0f, 44.0f, 5.0f, rgbf(200, 220, 255), 0.9f);
  canvas_glow(&c, 586.0f, 44.0f, 1.5f, rgbf(255, 255, 255), 1.5f);
  for (int32_t k = 1; k < 40; ++k) {
    const float f = 0.9f * std::pow(1.0f - static_cast<float>(k) / 40.0f, 2.0f);
    canvas_add(&c, 586 + k, 44, rgbf(200, 220, 255), f);
    canvas_add(&c, 586 - k, 44, rgbf(200, 220, 255), f);
    if (k < 26) {
      canvas_add(&c, 586, 44 + k, rgbf(200, 220, 255), f);
      canvas_add(&c, 586, 44 - k, rgbf(200, 220, 255), f);
    }
  }
  for (int32_t i = 0; i < W * H; ++i) c.colour[i] = rgb_scale(c.colour[i], 0.2f + 0.8f * weight[i]);
  frame(&c);
  return canvas_quantize_diffused(c, indexset_starfield(), 0.85f);
}
