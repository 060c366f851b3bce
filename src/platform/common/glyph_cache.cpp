// Glyphs of DejaVu Sans Bold through SDL2_ttf, rendered without anti-aliasing once per
// character and kept, so text never costs a rasterisation per frame.
#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/common/storage.h"
#include "platform/platform.h"

namespace {

// The layouts of the screens were made for a font of about 7 px average width: the panel's
// "- Pause game" at x 548 and "Right" at x 606 must end inside 640 pixels. DejaVu Sans Bold at
// 11 points (13 px line height) does; 12 points cuts both at the screen's edge.
constexpr int FONT_PIXEL_SIZE = 11;
constexpr const char* FONT_FILE = "DejaVuSans-Bold.ttf";

struct GlyphCache {
  bool tried = false;
  TTF_Font* font = nullptr;
  bool rendered[256] = {};
  PlatformGlyph glyphs[256] = {};
  std::vector<uint8_t> masks[256];
};

GlyphCache cache;

TTF_Font* open_font() {
  if (TTF_WasInit() == 0 && TTF_Init() != 0) return nullptr;
  // The copy in the data folders first, then the system's (a package may ship none of its own).
  const std::string candidates[] = {storage_find_data(FONT_FILE), ZORVANE_SYSTEM_FONT};
  for (const std::string& path : candidates) {
    if (path.empty()) continue;
    if (TTF_Font* font = TTF_OpenFont(path.c_str(), FONT_PIXEL_SIZE)) return font;
  }
  return nullptr;
}

void render(unsigned char c) {
  cache.rendered[c] = true;
  PlatformGlyph& g = cache.glyphs[c];
  g = PlatformGlyph{0, 0, 0, 0, 0, nullptr};
  Uint16 code = c;  // single bytes are Latin-1, which is the start of Unicode
  int minx, maxx, miny, maxy, advance;
  if (TTF_GlyphMetrics(cache.font, code, &minx, &maxx, &miny, &maxy, &advance) != 0) return;
  g.advance = advance;
  SDL_Surface* s = TTF_RenderGlyph_Solid(cache.font, code, SDL_Color{255, 255, 255, 255});
  if (!s) return;
  // A solid render is an 8-bit surface whose index 0 is the background.
  std::vector<uint8_t>& mask = cache.masks[c];
  mask.assign(static_cast<size_t>(s->w) * s->h, 0);
  if (SDL_LockSurface(s) == 0) {
    const uint8_t* src = static_cast<const uint8_t*>(s->pixels);
    for (int y = 0; y < s->h; ++y)
      for (int x = 0; x < s->w; ++x) mask[static_cast<size_t>(y) * s->w + x] = src[y * s->pitch + x] ? 1 : 0;
    SDL_UnlockSurface(s);
  }
  g.width = s->w;
  g.height = s->h;
  g.mask = mask.data();
  SDL_FreeSurface(s);
}

}  // namespace

const PlatformGlyph* platform_glyph(unsigned char c) {
  if (!cache.tried) {
    cache.tried = true;
    cache.font = open_font();
  }
  if (!cache.font) return nullptr;
  if (!cache.rendered[c]) render(c);
  return &cache.glyphs[c];
}
