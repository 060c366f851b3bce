// Contact sheet and composed game screen, for looking at the artwork with one's own eyes.
#include "preview.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "pictures.h"
#include "platform/platform.h"

RgbImage rgbimage_make(int32_t width, int32_t height, uint8_t r, uint8_t g, uint8_t b) {
  RgbImage image{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 3)};
  for (size_t i = 0; i < image.bytes.size(); i += 3) {
    image.bytes[i] = r;
    image.bytes[i + 1] = g;
    image.bytes[i + 2] = b;
  }
  return image;
}

namespace {

void put(RgbImage* image, int32_t x, int32_t y, PALETTEENTRY e) {
  if (x < 0 || y < 0 || x >= image->width || y >= image->height) return;
  uint8_t* p = &image->bytes[(static_cast<size_t>(y) * image->width + x) * 3];
  p[0] = e.peRed;
  p[1] = e.peGreen;
  p[2] = e.peBlue;
}

void put_rgb(RgbImage* image, int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b) {
  put(image, x, y, PALETTEENTRY{r, g, b, 0});
}

// Text through the game's own glyphs (the platform's font), in a plain RGB colour.
void text(RgbImage* image, const char* s, int32_t x, int32_t y, PALETTEENTRY colour, int32_t scale) {
  int32_t pen = 0;
  for (const char* c = s; *c; ++c) {
    const PlatformGlyph* g = platform_glyph(static_cast<unsigned char>(*c));
    if (!g) return;
    for (int32_t j = 0; j < g->height; ++j)
      for (int32_t i = 0; i < g->width; ++i)
        if (g->mask && g->mask[j * g->width + i])
          for (int32_t sy = 0; sy < scale; ++sy)
            for (int32_t sx = 0; sx < scale; ++sx)
              put(image, (x + pen + g->bearing_x + i) * scale + sx, (y + g->top + j) * scale + sy, colour);
    pen += g->advance;
  }
}

// Text as the game draws it: the nearest palette entry of the colour.
void game_text(RgbImage* image, const char* s, int32_t x, int32_t y, uint8_t index) {
  text(image, s, x, y, palette_entry(index), 1);
}

void checker(RgbImage* image) {
  for (int32_t y = 0; y < image->height; ++y)
    for (int32_t x = 0; x < image->width; ++x) {
      const bool dark = ((x / 8) + (y / 8)) % 2 == 0;
      put_rgb(image, x, y, dark ? 26 : 34, dark ? 26 : 34, dark ? 32 : 42);
    }
}

void label(RgbImage* image, const char* s, int32_t x, int32_t y) {
  // Coordinates in sheet pixels: draw at scale 1 by placing the pen there.
  text(image, s, x, y, PALETTEENTRY{210, 210, 220, 0}, 1);
}

}  // namespace

void rgbimage_draw(RgbImage* image, const Picture& picture, int32_t src_x, int32_t src_y, int32_t width,
                   int32_t height, int32_t dest_x, int32_t dest_y, int32_t scale, bool transparent) {
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const int32_t sx = src_x + x, sy = src_y + y;
      if (sx < 0 || sy < 0 || sx >= picture.width || sy >= picture.height) continue;
      const uint8_t index = picture.pixels[static_cast<size_t>(sy) * picture.width + sx];
      if (transparent && index == 0) continue;
      const PALETTEENTRY e = palette_entry(index);
      for (int32_t j = 0; j < scale; ++j)
        for (int32_t i = 0; i < scale; ++i) put(image, dest_x + x * scale + i, dest_y + y * scale + j, e);
    }
  }
}

int32_t rgbimage_save_ppm(const char* path, const RgbImage& image) {
  FILE* f = std::fopen(path, "wb");
  if (!f) return 0;
  std::fprintf(f, "P6\n%d %d\n255\n", image.width, image.height);
  const size_t written = std::fwrite(image.bytes.data(), 1, image.bytes.size(), f);
  return std::fclose(f) == 0 && written == image.bytes.size() ? 1 : 0;
}

int32_t preview_contact_sheet(const char* path) {
  Picture pictures[PICTURE_COUNT];
  for (int32_t i = 0; i < PICTURE_COUNT; ++i) pictures[i] = PICTURES[i].make();
  const auto find = [&](const char* name) -> const Picture& {
    for (int32_t i = 0; i < PICTURE_COUNT; ++i)
      if (std::string_view(PICTURES[i].file_name) == name) return pictures[i];
    return pictures[0];
  };
  RgbImage sheet = rgbimage_make(2300, 1420, 0, 0, 0);
  checker(&sheet);
  char buffer[96];
  int32_t x = 20;
  // The two big pictures side by side, then the small ones along a row, then close-ups.
  const char* big[] = {"MENUPIC.BMP", "STAR.BMP"};
  for (const char* name : big) {
    const Picture& p = find(name);
    const PictureSpec* spec = nullptr;
    for (const PictureSpec& s : PICTURES)
      if (std::string_view(s.file_name) == name) spec = &s;
    std::snprintf(buffer, sizeof buffer, "%s  %dx%d (stored %dx%d)", name, spec->used_width, spec->used_height, p.width, p.height);
    label(&sheet, buffer, x, 4);
    rgbimage_draw(&sheet, p, 0, 0, spec->used_width, spec->used_height, x, 22, 2, false);
    x += spec->used_width * 2 + 40;
  }
  const char* small[] = {"TITLE.BMP", "MENURECT.BMP", "QIX.BMP", "SQUARE.BMP", "OBJECTS2.BMP", "LOGO.BMP", "ARROWS.BMP", "SKULL.BMP"};
  x = 20;
  for (const char* name : small) {
    const Picture& p = find(name);
    label(&sheet, name, x, 1010);
    rgbimage_draw(&sheet, p, 0, 0, p.width, p.height, x, 1030, 2, true);
    x += p.width * 2 + 36;
  }
  // Close-ups at 6x: the sprite sheet and the skull, and the about screen's icon tiles.
  label(&sheet, "OBJECTS2.BMP x6", 20, 1200);
  rgbimage_draw(&sheet, find("OBJECTS2.BMP"), 0, 0, 96, 18, 20, 1218, 6, true);
  label(&sheet, "SKULL x6", 620, 1200);
  rgbimage_draw(&sheet, find("SKULL.BMP"), 0, 0, 16, 16, 620, 1218, 6, true);
  label(&sheet, "about-screen tiles x4", 740, 1200);
  const Picture& square = find("SQUARE.BMP");
  const Picture& objects = find("OBJECTS2.BMP");
  rgbimage_draw(&sheet, square, 0, 0, 31, 31, 740, 1218, 4, true);
  rgbimage_draw(&sheet, find("QIX.BMP"), 0, 0, 31, 31, 740, 1218, 4, true);
  rgbimage_draw(&sheet, square, 0, 0, 31, 31, 880, 1218, 4, true);
  rgbimage_draw(&sheet, objects, FRAME_SPARX_X, FRAME_Y, 15, 15, 880 + 9 * 4, 1218 + 9 * 4, 4, true);
  rgbimage_draw(&sheet, square, 0, 0, 31, 31, 1020, 1218, 4, true);
  rgbimage_draw(&sheet, objects, FRAME_FUSE_X, FRAME_Y, 15, 15, 1020 + 10 * 4, 1218 + 10 * 4, 4, true);
  label(&sheet, "TITLE x4", 1180, 1200);
  rgbimage_draw(&sheet, find("TITLE.BMP"), 0, 0, 120, 13, 1180, 1218, 4, true);
  label(&sheet, "palette", 1700, 1200);
  for (int32_t i = 0; i < 256; ++i)
    for (int32_t j = 0; j < 10; ++j)
      for (int32_t k = 0; k < 10; ++k) put(&sheet, 1700 + (i % 32) * 11 + k, 1218 + (i / 32) * 11 + j, palette_entry(static_cast<uint8_t>(i)));
  return rgbimage_save_ppm(path, sheet);
}

namespace {

constexpr int32_t GRID = 469;

// One claim of the composed frame: a rectangle of walls on even rows and columns.
struct Claim {
  int32_t x0, y0, x1, y1;
};

void line_indices(RgbImage* image, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t index) {
  const int32_t dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  const int32_t sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int32_t err = dx + dy;
  for (;;) {
    put(image, x0, y0, palette_entry(index));
    if (x0 == x1 && y0 == y1) break;
    const int32_t e2 = 2 * err;
    if (e2 >= dy) { err += dy; x0 += sx; }
    if (e2 <= dx) { err += dx; y0 += sy; }
  }
}

// A sprite as the game draws it: its frame one column and one row short, index 0 see-through.
void sprite(RgbImage* image, const Picture& p, int32_t src_x, int32_t src_y, int32_t w, int32_t h, int32_t x, int32_t y) {
  rgbimage_draw(image, p, src_x, src_y, w - 1, h - 1, x, y, 1, true);
}

}  // namespace

int32_t preview_game_screen(const char* path) {
  const Picture star = picture_star(), title = picture_title(), logo = picture_logo(), arrows = picture_arrows();
  const Picture objects = picture_objects(), skull = picture_skull();
  RgbImage screen = rgbimage_make(640, 480, 0, 0, 0);
  sprite(&screen, star, 0, 0, 469, 469, 5, 5);

  // The grid after a few claims: 0 open, 1 claimed, 2 stix, 4 border, 8 inner border.
  std::vector<uint8_t> cells(GRID * GRID, 0);
  const auto cell = [&](int32_t x, int32_t y) -> uint8_t& { return cells[y * GRID + x]; };
  const Claim claims[] = {{0, 0, 150, 300}, {0, 300, 262, 468}, {262, 380, 468, 468}, {330, 0, 468, 124}, {150, 0, 236, 70}};
  for (const Claim& c : claims)
    for (int32_t y = c.y0; y <= c.y1; ++y)
      for (int32_t x = c.x0; x <= c.x1; ++x)
        cell(x, y) = (x == c.x0 || x == c.x1 || y == c.y0 || y == c.y1) ? 4 : (cell(x, y) == 4 ? 4 : 1);
  for (int32_t i = 0; i < GRID; ++i) cell(i, 0) = cell(i, GRID - 1) = cell(0, i) = cell(GRID - 1, i) = 4;
  // Walls that no longer touch open ground turn into inner borders.
  std::vector<uint8_t> walls = cells;
  for (int32_t y = 0; y < GRID; ++y)
    for (int32_t x = 0; x < GRID; ++x) {
      if (walls[y * GRID + x] != 4) continue;
      bool open = false;
      for (int32_t dy = -1; dy <= 1; ++dy)
        for (int32_t dx = -1; dx <= 1; ++dx) {
          const int32_t nx = x + dx, ny = y + dy;
          if (nx >= 0 && ny >= 0 && nx < GRID && ny < GRID && walls[ny * GRID + nx] == 0) open = true;
        }
      if (!open) cell(x, y) = 8;
    }
  // A stix on its way from the first claim's wall, bending down.
  for (int32_t x = 151; x <= 232; ++x) cell(x, 180) = 2;
  for (int32_t y = 180; y <= 240; ++y) cell(232, y) = 2;
  for (int32_t y = 0; y < GRID; ++y)
    for (int32_t x = 0; x < GRID; ++x) {
      const uint8_t v = cell(x, y);
      if (v == 0) put(&screen, x + 5, y + 5, palette_entry(0));
      if (v == 2) put(&screen, x + 5, y + 5, palette_entry(PAL_STIX));
      if (v == 4) put(&screen, x + 5, y + 5, palette_entry(PAL_BORDER));
      if (v == 8) put(&screen, x + 5, y + 5, palette_entry(PAL_INNER_BORDER));
    }
  // The QIX: ten lines of its trail, newest brightest.
  for (int32_t k = 9; k >= 0; --k) {
    const float kf = static_cast<float>(k);
    const float angle = 0.9f + kf * 0.16f, cx = 350.0f - kf * 4.0f, cy = 250.0f + kf * 3.0f, half = 46.0f - kf;
    line_indices(&screen, static_cast<int32_t>(cx - std::cos(angle) * half) + 5, static_cast<int32_t>(cy - std::sin(angle) * half) + 5,
                 static_cast<int32_t>(cx + std::cos(angle) * half) + 5, static_cast<int32_t>(cy + std::sin(angle) * half) + 5,
                 static_cast<uint8_t>(PAL_TRAIL_LAST - 2 * k));
  }
  // Sparx on the borders, the Fuse burning along the stix, the marker at its end.
  sprite(&screen, objects, FRAME_SPARX_X, FRAME_Y, 16, 16, 200 - 2, 300 - 2);
  sprite(&screen, objects, FRAME_SPARX_X, FRAME_Y, 16, 16, 400 - 2, 124 - 2);
  sprite(&screen, objects, FRAME_FUSE_X, FRAME_Y, 16, 16, 190 + 1, 180);
  sprite(&screen, objects, FRAME_MARKER_A_X, FRAME_Y, 16, 16, 232 - 2, 240 - 2);

  // The side panel.
  sprite(&screen, title, 0, 0, 120, 13, 515, 0);
  sprite(&screen, logo, 0, 0, 150, 72, 489, 406);
  sprite(&screen, arrows, 0, 0, 76, 76, 526, 230);
  const struct {
    const char* label;
    int32_t y;
    const char* value;
  } rows[] = {{"Score", 24, "12840"}, {"High", 36, "41200"}, {"Level", 60, "2"}, {"Filled", 84, "38.6%"}, {"Required", 96, "65%"},
              {"Time left", 120, nullptr}};
  for (const auto& r : rows) {
    game_text(&screen, r.label, 489, r.y, PAL_WHITE);
    if (r.value) game_text(&screen, r.value, 568, r.y, PAL_WHITE);
  }
  for (int32_t x = 489; x <= 638; ++x) {
    put(&screen, x, 135, palette_entry(PAL_YELLOW));
    put(&screen, x, 146, palette_entry(PAL_YELLOW));
  }
  for (int32_t y = 135; y <= 146; ++y) {
    put(&screen, 489, y, palette_entry(PAL_YELLOW));
    put(&screen, 638, y, palette_entry(PAL_YELLOW));
  }
  for (int32_t y = 136; y <= 145; ++y)
    for (int32_t x = 490; x < 490 + 103; ++x) put(&screen, x, y, palette_entry(PAL_RED));
  game_text(&screen, "Lives", 489, 156, PAL_WHITE);
  sprite(&screen, skull, 0, 0, 14, 16, 568, 157);
  sprite(&screen, skull, 0, 0, 14, 16, 582, 157);
  sprite(&screen, objects, FRAME_MARKER_A_X, FRAME_Y, 16, 16, 596, 157);
  sprite(&screen, objects, FRAME_MARKER_B_X, FRAME_Y, 16, 16, 610, 157);
  sprite(&screen, objects, FRAME_MARKER_B_X, FRAME_Y, 16, 16, 624, 157);
  game_text(&screen, "Up", 556, 208, PAL_YELLOW);
  game_text(&screen, "Down", 546, 306, PAL_YELLOW);
  game_text(&screen, "Left", 496, 260, PAL_YELLOW);
  game_text(&screen, "Right", 606, 260, PAL_YELLOW);
  const char* keys[4][2] = {{"SHIFT", "- Fast move"}, {"CTRL", "- Slow move"}, {"F1", "- Pause game"}, {"Esc", "- Quit game"}};
  for (int32_t i = 0; i < 4; ++i) {
    game_text(&screen, keys[i][0], 489, 330 + 12 * i, PAL_YELLOW);
    game_text(&screen, keys[i][1], 548, 330 + 12 * i, PAL_VIOLET);
  }
  return rgbimage_save_ppm(path, screen);
}

namespace {

// A text as the menu screens draw it: black one pixel right and down, then the colour.
void shadowed(RgbImage* image, const char* s, int32_t x, int32_t y, uint8_t index) {
  game_text(image, s, x + 1, y + 1, PAL_BLACK);
  game_text(image, s, x, y, index);
}

}  // namespace

int32_t preview_menu_screen(const char* path) {
  const Picture menu = picture_menupic(), title = picture_title(), button = picture_menurect(), objects = picture_objects();
  RgbImage screen = rgbimage_make(640, 480, 0, 0, 0);
  sprite(&screen, menu, 0, 0, 640, 480, 0, 0);
  const int32_t selection = 1;
  sprite(&screen, objects, FRAME_POINTER_X, FRAME_Y, 16, 16, 280, 140 + 40 * selection);
  shadowed(&screen, "Start a new game.", 410, 141 + 40 * selection, PAL_WHITE);
  const char* labels[5] = {"Resume", "New Game", "Hi-Scores", "About", "Quit"};
  for (int32_t i = 0; i < 5; ++i) sprite(&screen, button, 0, 0, 100, 24, 290, 137 + 40 * i);
  for (int32_t i = 0; i < 5; ++i) game_text(&screen, labels[i], 301, 141 + 40 * i, PAL_BLACK);
  for (int32_t i = 0; i < 5; ++i) game_text(&screen, labels[i], 300, 140 + 40 * i, i == selection ? PAL_PALE_YELLOW : PAL_PURPLE);
  shadowed(&screen, "Welcome to Zorvane, a game of claiming the dark between the stars...", 40, 440, PAL_PALE_YELLOW);
  shadowed(&screen, "      Quarrel Forge would like to thank the following people for support", 10, 460, PAL_GOLD);
  shadowed(&screen, "Created by Quarrel Forge", 260, 30, PAL_PALE_YELLOW);
  sprite(&screen, title, 0, 0, 120, 13, 280, 0);
  return rgbimage_save_ppm(path, screen);
}
