// Notices: rendered once when posted, then only looked at by the presenter each frame.
#include "platform/common/notice.h"

#include "platform/platform.h"

namespace {

constexpr int32_t PAD_X = 6, PAD_Y = 4;
constexpr uint32_t BOX = 0xC0101018u;   // nearly black, three quarters opaque
constexpr uint32_t INK = 0xFFFFFFFFu;
constexpr int32_t MIN_LINE = 13;

struct Notices {
  std::string text;
  NoticeImage image;
  uint32_t posted_ms = 0;
  bool posted = false;
  uint32_t serial = 0;
  bool expired_counted = true;
};

Notices notices;

}  // namespace

NoticeImage notice_render(const std::string& text) {
  NoticeImage out;
  int32_t pen = 0, line = MIN_LINE;
  bool any = false;
  for (unsigned char c : text) {
    const PlatformGlyph* g = platform_glyph(c);
    if (g == nullptr) return NoticeImage{};
    any = true;
    pen += g->advance;
    if (g->top + g->height > line) line = g->top + g->height;
  }
  if (!any) return out;
  out.width = pen + 2 * PAD_X;
  out.height = line + 2 * PAD_Y;
  out.argb.assign(static_cast<size_t>(out.width) * out.height, BOX);
  pen = PAD_X;
  for (unsigned char c : text) {
    const PlatformGlyph* g = platform_glyph(c);
    for (int32_t y = 0; y < g->height; ++y)
      for (int32_t x = 0; x < g->width; ++x) {
        const int32_t ox = pen + g->bearing_x + x, oy = PAD_Y + g->top + y;
        if (g->mask[y * g->width + x] && ox >= 0 && ox < out.width && oy >= 0 && oy < out.height)
          out.argb[static_cast<size_t>(oy) * out.width + ox] = INK;
      }
    pen += g->advance;
  }
  return out;
}

void notice_post(const std::string& text, uint32_t now_ms) {
  notices.text = text;
  notices.image = notice_render(text);
  notices.posted_ms = now_ms;
  notices.posted = true;
  notices.expired_counted = false;
  ++notices.serial;
}

const NoticeImage* notice_at(uint32_t now_ms) {
  if (!notices.posted || now_ms - notices.posted_ms >= NOTICE_MS || notices.image.width == 0) return nullptr;
  return &notices.image;
}

const std::string& notice_text() { return notices.text; }

uint32_t notice_serial(uint32_t now_ms) {
  if (notices.posted && !notices.expired_counted && now_ms - notices.posted_ms >= NOTICE_MS) {
    notices.expired_counted = true;
    ++notices.serial;
  }
  return notices.serial;
}

void notice_reset() { notices = Notices{}; }
