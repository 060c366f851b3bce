// LOGO.BMP: the maker's badge, drawn on the black side panel (shown 149 x 71). A brass-rimmed
// shield with an anvil and a glowing crossbow quarrel across it, and the words QUARREL FORGE
// in bevelled gold beside it.
#include <cmath>

#include "font.h"
#include "pictures.h"

namespace {

// Big bevelled letters: the 5 x 7 font at twice its size, lit from the top left.
void gold_text(Canvas* c, const char* text, int32_t left, int32_t top) {
  constexpr int32_t S = 2;
  int32_t pen = left;
  for (const char* ch = text; *ch; ++ch) {
    for (int32_t gy = 0; gy < FONT_HEIGHT; ++gy) {
      for (int32_t gx = 0; gx < FONT_WIDTH; ++gx) {
        if (!font_ink(*ch, gx, gy)) continue;
        const bool open_up = !font_ink(*ch, gx, gy - 1), open_down = !font_ink(*ch, gx, gy + 1);
        const bool open_left = !font_ink(*ch, gx - 1, gy), open_right = !font_ink(*ch, gx + 1, gy);
        for (int32_t sy = 0; sy < S; ++sy) {
          for (int32_t sx = 0; sx < S; ++sx) {
            const float t = static_cast<float>(gy * S + sy) / static_cast<float>(FONT_HEIGHT * S - 1);
            Rgb col = rgb_mix(rgbf(255, 236, 160), rgbf(190, 120, 30), t);
            if ((sy == 0 && open_up) || (sx == 0 && open_left)) col = rgbf(255, 250, 220);
            else if ((sy == S - 1 && open_down) || (sx == S - 1 && open_right)) col = rgb_scale(col, 0.6f);
            canvas_set(c, pen + gx * S + sx, top + gy * S + sy, col);
          }
        }
      }
    }
    pen += (FONT_WIDTH + 1) * S;
  }
}

// A dark outline round everything painted so far, so the badge reads on black.
void outline(Canvas* c, Rgb colour) {
  std::vector<float> before = c->alpha;
  for (int32_t y = 0; y < c->height; ++y)
    for (int32_t x = 0; x < c->width; ++x) {
      if (before[y * c->width + x] >= 0.5f) continue;
      bool near = false;
      for (int32_t dy = -1; dy <= 1; ++dy)
        for (int32_t dx = -1; dx <= 1; ++dx) {
          const int32_t nx = x + dx, ny = y + dy;
          if (nx >= 0 && ny >= 0 && nx < c->width && ny < c->height && before[ny * c->width + nx] >= 0.5f) near = true;
        }
      if (near) canvas_set(c, x, y, colour);
    }
}

void small_text(Canvas* c, const char* text, int32_t left, int32_t top, Rgb colour) {
  int32_t pen = left;
  for (const char* ch = text; *ch; ++ch) {
    for (int32_t gy = 0; gy < FONT_HEIGHT; ++gy)
      for (int32_t gx = 0; gx < FONT_WIDTH; ++gx)
        if (font_ink(*ch, gx, gy)) canvas_set(c, pen + gx, top + gy, colour);
    pen += FONT_WIDTH + 1;
  }
}

}  // namespace

Picture picture_logo() {
  Canvas c = canvas_make(152, 72, rgbf(0, 0, 0), 0.0f);
  // The shield: a brass rim and a dark steel plate with a furnace glow low inside.
  const float rim[] = {4, 4, 58, 4, 58, 40, 31, 68, 4, 40};
  const float plate[] = {8, 8, 54, 8, 54, 38.5f, 31, 62.5f, 8, 38.5f};
  canvas_polygon(&c, rim, 5, rgbf(200, 150, 50), 1.0f);
  for (int32_t y = 4; y < 69; ++y)
    for (int32_t x = 4; x < 59; ++x) {
      const float cover = polygon_coverage(rim, 5, x, y);
      if (cover <= 0.0f) continue;
      // The rim is lit along its upper left and dark along its lower right.
      const float t = clampf((static_cast<float>(x) + static_cast<float>(y) - 8.0f) / 110.0f, 0.0f, 1.0f);
      canvas_blend(&c, x, y, rgb_mix(rgbf(255, 226, 140), rgbf(120, 76, 16), t), cover);
    }
  for (int32_t y = 8; y < 64; ++y)
    for (int32_t x = 8; x < 55; ++x) {
      const float cover = polygon_coverage(plate, 5, x, y);
      if (cover <= 0.0f) continue;
      const float fx = static_cast<float>(x), fy = static_cast<float>(y);
      Rgb col = rgb_mix(rgbf(40, 44, 58), rgbf(20, 22, 30), (fy - 8.0f) / 56.0f);
      const float gx = (fx - 31.0f) / 16.0f, gy = (fy - 46.0f) / 11.0f;
      col = rgb_add(col, rgb_scale(rgbf(230, 90, 20), std::exp(-(gx * gx + gy * gy)) * 0.9f));
      canvas_blend(&c, x, y, col, cover);
    }
  // The anvil: horn to the left, face on top, waist, broad foot.
  const float anvil[] = {12, 27, 22, 25, 48, 25, 48, 32, 40, 34, 38, 40, 44, 45, 44, 48, 20, 48, 20, 45,
                         26, 40, 24, 34, 18, 32};
  canvas_polygon(&c, anvil, 13, rgbf(150, 156, 176), 1.0f);
  for (int32_t y = 25; y < 49; ++y)
    for (int32_t x = 12; x < 49; ++x) {
      const float cover = polygon_coverage(anvil, 13, x, y);
      if (cover <= 0.0f) continue;
      const float t = (static_cast<float>(y) - 25.0f) / 23.0f;
      Rgb col = rgb_mix(rgbf(200, 206, 222), rgbf(60, 64, 80), t);
      if (y == 25) col = rgbf(246, 248, 254);
      // Underneath, the anvil takes the red light of the furnace.
      col = rgb_add(col, rgb_scale(rgbf(120, 40, 0), clampf((static_cast<float>(y) - 38.0f) / 10.0f, 0.0f, 1.0f)));
      canvas_blend(&c, x, y, col, cover);
    }
  // The quarrel: a crossbow bolt laid across the shield, its head up and to the right.
  canvas_line(&c, 13.0f, 57.0f, 48.0f, 14.0f, 2.2f, rgbf(120, 70, 30), 1.0f);
  canvas_line(&c, 13.0f, 57.0f, 48.0f, 14.0f, 0.9f, rgbf(210, 150, 80), 1.0f);
  const float head[] = {53, 8, 44.5f, 13, 49, 18.5f};
  canvas_polygon(&c, head, 3, rgbf(236, 240, 255), 1.0f);
  const float vane_a[] = {13, 57, 10, 50, 16, 53};
  const float vane_b[] = {13, 57, 20, 60, 17, 54};
  canvas_polygon(&c, vane_a, 3, rgbf(230, 50, 60), 1.0f);
  canvas_polygon(&c, vane_b, 3, rgbf(170, 30, 50), 1.0f);
  // Sparks flying off the anvil.
  const float sparks[][2] = {{44, 20}, {39, 16}, {50, 27}, {16, 20}, {22, 17}};
  for (const auto& s : sparks) canvas_set(&c, static_cast<int32_t>(s[0]), static_cast<int32_t>(s[1]), rgbf(255, 220, 110));

  gold_text(&c, "QUARREL", 65, 12);
  gold_text(&c, "FORGE", 65 + (font_text_width("QUARREL", 2) - font_text_width("FORGE", 2)) / 2, 33);
  for (int32_t x = 66; x < 147; ++x) {
    const float fade = std::fmin(1.0f, std::fmin(static_cast<float>(x - 66), static_cast<float>(146 - x)) / 12.0f);
    canvas_set(&c, x, 52, rgb_scale(rgbf(230, 170, 60), 0.3f + 0.7f * fade));
  }
  small_text(&c, "ARCADE WORKS", 65 + (font_text_width("QUARREL", 2) - font_text_width("ARCADE WORKS", 1)) / 2, 57,
             rgbf(160, 166, 182));
  outline(&c, rgbf(12, 12, 20));
  return canvas_quantize(c, indexset_art(), 4.0f);
}
