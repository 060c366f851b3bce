// The glyph table from DejaVu Sans Bold through SDL2_ttf. The rendering is the one the game used
// to do at run time, kept exactly (a solid render per character, its whole surface as the mask,
// no bearing), so that the table reproduces the pixels the goldens were recorded with.
#include "glyphs.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdio>

#include "platform/platform.h"

namespace {

void render(TTF_Font* font, unsigned char c, GlyphTableEntry* g) {
  *g = GlyphTableEntry{};
  const Uint16 code = c;  // single bytes are Latin-1, which is the start of Unicode
  int minx, maxx, miny, maxy, advance;
  // A character the font cannot measure gets nothing at all; one it cannot render keeps its
  // advance (NUL and the soft hyphen do, in DejaVu).
  if (TTF_GlyphMetrics(font, code, &minx, &maxx, &miny, &maxy, &advance) != 0) return;
  g->advance = advance;
  SDL_Surface* s = TTF_RenderGlyph_Solid(font, code, SDL_Color{255, 255, 255, 255});
  if (!s) return;
  // A solid render is an 8-bit surface whose index 0 is the background.
  g->mask.assign(static_cast<size_t>(s->w) * static_cast<size_t>(s->h), 0);
  if (SDL_LockSurface(s) == 0) {
    const uint8_t* src = static_cast<const uint8_t*>(s->pixels);
    for (int y = 0; y < s->h; ++y)
      for (int x = 0; x < s->w; ++x) g->mask[static_cast<size_t>(y) * s->w + x] = src[y * s->pitch + x] ? 1 : 0;
    SDL_UnlockSurface(s);
  }
  g->width = s->w;
  g->height = s->h;
  SDL_FreeSurface(s);
}

}  // namespace

bool glyphs_render(const char* font_path, GlyphTable* out) {
  const bool was_init = TTF_WasInit() != 0;
  if (!was_init && TTF_Init() != 0) return false;
  TTF_Font* font = TTF_OpenFont(font_path, GLYPHS_PIXEL_SIZE);
  if (font) {
    for (int32_t c = 0; c < GLYPH_COUNT; ++c) render(font, static_cast<unsigned char>(c), &out->glyphs[c]);
    TTF_CloseFont(font);
  }
  if (!was_init) TTF_Quit();
  return font != nullptr;
}

bool glyphs_write(const char* font_path, const char* out_file) {
  GlyphTable table;
  if (!glyphs_render(font_path, &table)) return false;
  const std::string text = glyph_table_format(table);
  return platform_file_replace(out_file, text.data(), text.size());
}
