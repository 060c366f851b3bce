// The desktop icon. Lines keep at least one pixel of the final size, so the frame and the QIX
// still read at 16 x 16.
#include "icons.h"

#include <cmath>
#include <string>

#include "canvas.h"
#include "palette.h"
#include "pictures.h"

namespace {

constexpr int32_t OVERSAMPLE = 4;

// Where the playfield sits in the icon, as fractions of its side.
constexpr float FIELD_LEFT = 0.12f, FIELD_RIGHT = 0.88f;

// The claimed ground, in playfield fractions: the left column and the bottom band, as a game
// a few claims in looks.
constexpr float CLAIM[] = {0.0f, 0.3f, 0.42f, 0.3f, 0.42f, 0.62f, 1.0f, 0.62f, 1.0f, 1.0f, 0.0f, 1.0f};
constexpr int32_t CLAIM_POINTS = 6;

// The QIX: its trail of lines drifting and turning through the open ground, newest brightest.
constexpr float QIX_FROM_X = 0.58f, QIX_FROM_Y = 0.2f, QIX_TO_X = 0.8f, QIX_TO_Y = 0.3f, QIX_HALF = 0.11f;
constexpr int32_t QIX_LINES = 7;

// Picture pixel (0..1 across the playfield) through the palette.
Rgb star_at(const Picture& star, const PALETTEENTRY* palette, float u, float v) {
  const int32_t x = static_cast<int32_t>(clampf(u, 0.0f, 0.999f) * static_cast<float>(star.width));
  const int32_t y = static_cast<int32_t>(clampf(v, 0.0f, 0.999f) * static_cast<float>(star.height));
  const PALETTEENTRY e = palette[star.pixels[static_cast<size_t>(y) * star.width + x]];
  return rgbf(e.peRed, e.peGreen, e.peBlue);
}

Canvas paint_large(int32_t side, const Picture& star, const PALETTEENTRY* palette) {
  const float s = static_cast<float>(side);
  const float px = static_cast<float>(OVERSAMPLE);  // one pixel of the final icon
  Canvas c = canvas_make(side, side, rgbf(0, 0, 0), 0.0f);
  canvas_round_rect(&c, 0.02f * s, 0.02f * s, 0.98f * s, 0.98f * s, 0.16f * s, rgb_of(ramp_index(RAMP_SPACE, 0.06f)), 1.0f);

  const float left = FIELD_LEFT * s, width = (FIELD_RIGHT - FIELD_LEFT) * s;
  const auto fx = [&](float u) { return left + u * width; };
  float claim[2 * CLAIM_POINTS];
  for (int32_t i = 0; i < CLAIM_POINTS; ++i) {
    claim[2 * i] = fx(CLAIM[2 * i]);
    claim[2 * i + 1] = fx(CLAIM[2 * i + 1]);
  }
  // The uncovered picture, a little brighter than in the game so it reads when small.
  for (int32_t y = 0; y < side; ++y)
    for (int32_t x = 0; x < side; ++x) {
      const float cover = polygon_coverage(claim, CLAIM_POINTS, x, y);
      if (cover <= 0.0f) continue;
      const Rgb colour = star_at(star, palette, (static_cast<float>(x) + 0.5f - left) / width,
                                 (static_cast<float>(y) + 0.5f - left) / width);
      canvas_blend(&c, x, y, rgb_scale(colour, 1.35f), cover);
    }

  const float line = std::fmax(px, s / 96.0f);
  const Rgb border = rgb_of(PAL_BORDER), stix = rgb_of(PAL_STIX);
  // The outer frame and the edge of the claim are both border now.
  const float frame[] = {0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 1.0f, 0.0f, 1.0f};
  for (int32_t i = 0; i < 4; ++i) {
    const int32_t j = (i + 1) % 4;
    canvas_line(&c, fx(frame[2 * i]), fx(frame[2 * i + 1]), fx(frame[2 * j]), fx(frame[2 * j + 1]), line, border, 1.0f);
  }
  for (int32_t i = 0; i + 1 < CLAIM_POINTS - 1; ++i)
    canvas_line(&c, claim[2 * i], claim[2 * i + 1], claim[2 * i + 2], claim[2 * i + 3], line, border, 1.0f);

  // A stix leaving the claim's edge, bending, with the marker at its end.
  canvas_line(&c, fx(0.62f), fx(0.62f), fx(0.62f), fx(0.46f), line, stix, 1.0f);
  canvas_line(&c, fx(0.62f), fx(0.46f), fx(0.84f), fx(0.46f), line, stix, 1.0f);
  const float marker = std::fmax(1.5f * px, 0.025f * s);
  canvas_round_rect(&c, fx(0.84f) - marker, fx(0.46f) - marker, fx(0.84f) + marker, fx(0.46f) + marker, 0.4f * marker,
                    rgb_of(ramp_index(RAMP_GREEN, 0.9f)), 1.0f);

  // Oldest first, so the newest line is drawn on top.
  for (int32_t i = QIX_LINES - 1; i >= 0; --i) {
    const float age = static_cast<float>(i) / static_cast<float>(QIX_LINES - 1);  // 0 newest
    const float cx = QIX_TO_X + (QIX_FROM_X - QIX_TO_X) * age, cy = QIX_TO_Y + (QIX_FROM_Y - QIX_TO_Y) * age;
    const float angle = 2.4f - 1.3f * age;
    const float dx = std::cos(angle) * QIX_HALF, dy = std::sin(angle) * QIX_HALF;
    const uint8_t index = static_cast<uint8_t>(PAL_TRAIL_LAST - static_cast<int32_t>(age * (PAL_TRAIL_LAST - PAL_TRAIL_FIRST)));
    canvas_line(&c, fx(cx - dx), fx(cy - dy), fx(cx + dx), fx(cy + dy), line, rgb_of(index), 1.0f);
  }
  return c;
}

uint8_t to_byte(float v) { return static_cast<uint8_t>(std::lround(clampf(v, 0.0f, 255.0f))); }

RgbaImage icon_from(int32_t size, const Picture& star) {
  PALETTEENTRY palette[256];
  assetgen_palette(palette);
  const int32_t side = size * OVERSAMPLE;
  const Canvas c = paint_large(side, star, palette);
  RgbaImage image{size, size, std::vector<uint8_t>(static_cast<size_t>(size) * size * 4)};
  // Averaged with colours weighted by coverage, so transparent corners do not darken the edge.
  for (int32_t y = 0; y < size; ++y)
    for (int32_t x = 0; x < size; ++x) {
      float r = 0, g = 0, b = 0, a = 0;
      for (int32_t j = 0; j < OVERSAMPLE; ++j)
        for (int32_t i = 0; i < OVERSAMPLE; ++i) {
          const int32_t o = canvas_offset(c, x * OVERSAMPLE + i, y * OVERSAMPLE + j);
          const float w = c.alpha[o];
          r += c.colour[o].r * w;
          g += c.colour[o].g * w;
          b += c.colour[o].b * w;
          a += w;
        }
      uint8_t* p = &image.bytes[(static_cast<size_t>(y) * size + x) * 4];
      p[0] = a > 0 ? to_byte(r / a) : 0;
      p[1] = a > 0 ? to_byte(g / a) : 0;
      p[2] = a > 0 ? to_byte(b / a) : 0;
      p[3] = to_byte(255.0f * a / (OVERSAMPLE * OVERSAMPLE));
    }
  return image;
}

}  // namespace

RgbaImage icon_paint(int32_t size) { return icon_from(size, picture_star()); }

bool assetgen_write_icons(const char* directory) {
  const Picture star = picture_star();
  const auto save = [&](int32_t size) {
    return png_save(std::string(directory) + "/icon-" + std::to_string(size) + ".png", icon_from(size, star));
  };
  for (int32_t size : ICON_SIZES)
    if (!save(size)) return false;
  for (int32_t size : WEB_ICON_SIZES)
    if (!save(size)) return false;
  return true;
}
