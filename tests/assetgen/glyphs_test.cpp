// The glyph table assetgen writes: it reads back as written, the checked-in table is exactly
// what the writer makes of it, and it is what the system's font renders today (so a font that
// renders differently shows up here, and the table is remade only on purpose).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "asset_files.h"
#include "glyphs.h"
#include "platform/common/glyph_table.h"

namespace {

namespace fs = std::filesystem;

const fs::path CHECKED_IN = fs::path(ZORVANE_SOURCE_DIR) / "assets/glyphs" / ZORVANE_GLYPH_TABLE;

std::string text_of(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

// The codes of the characters that differ in any way, or nothing.
std::string differing_codes(const GlyphTable& a, const GlyphTable& b) {
  std::string codes;
  for (int c = 0; c < GLYPH_COUNT; ++c) {
    const GlyphTableEntry &x = a.glyphs[c], &y = b.glyphs[c];
    if (x.advance != y.advance || x.bearing_x != y.bearing_x || x.top != y.top || x.width != y.width ||
        x.height != y.height || x.mask != y.mask)
      codes += " " + std::to_string(c);
  }
  return codes;
}

TEST(GlyphTableWriter, EveryShapeReadsBackAsWritten) {
  // Sizes from none to the cap, metrics of both signs, masks of mixed ink.
  GlyphTable written;
  uint32_t seed = 12345;
  auto next = [&seed](uint32_t n) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int32_t>((seed >> 16) % n);
  };
  for (int c = 0; c < GLYPH_COUNT; ++c) {
    GlyphTableEntry& g = written.glyphs[c];
    g.width = c == 255 ? GLYPH_SIDE_MAX : next(GLYPH_SIDE_MAX / 4);
    g.height = c == 255 ? GLYPH_SIDE_MAX : next(GLYPH_SIDE_MAX / 4);
    g.advance = next(2 * GLYPH_SIDE_MAX + 1) - GLYPH_SIDE_MAX;
    g.bearing_x = next(9) - 4;
    g.top = next(9) - 4;
    if (g.width > 0 && g.height > 0)
      for (int32_t i = 0; i < g.width * g.height; ++i) g.mask.push_back(next(2) ? 1 : 0);
  }
  written.glyphs[0] = GlyphTableEntry{7, 0, 0, 0, 0, {}};  // advance only, as NUL renders
  written.glyphs[1] = GlyphTableEntry{5, 0, 0, 0, 13, {}};  // a size with no picture
  GlyphTable read;
  ASSERT_TRUE(glyph_table_parse(glyph_table_format(written), &read));
  EXPECT_EQ(differing_codes(written, read), "");
}

TEST(GlyphTableWriter, TheCheckedInTableIsTheWritersOwnText) {
  const std::string text = text_of(CHECKED_IN);
  GlyphTable table;
  ASSERT_TRUE(glyph_table_parse(text, &table)) << CHECKED_IN;
  EXPECT_EQ(glyph_table_format(table), text);
}

TEST(GlyphTableWriter, TheCheckedInTableIsWhatTheSystemFontRendersNow) {
  if (!fs::exists(ZORVANE_SYSTEM_FONT)) GTEST_SKIP() << "no " << ZORVANE_SYSTEM_FONT << " to compare with";
  const std::string dir = asset_temp_dir("glyphs");
  const std::string file = dir + "/" + ZORVANE_GLYPH_TABLE;
  ASSERT_TRUE(glyphs_write(ZORVANE_SYSTEM_FONT, file.c_str()));
  GlyphTable rendered, checked_in;
  ASSERT_TRUE(glyph_table_parse(text_of(file), &rendered));
  ASSERT_TRUE(glyph_table_parse(text_of(CHECKED_IN), &checked_in));
  EXPECT_EQ(differing_codes(checked_in, rendered), "")
      << "the system's font renders these characters differently from the checked-in table; if that is meant, "
         "remake it with scripts/update-glyphs.sh and re-record the goldens";
  EXPECT_FALSE(glyphs_write((dir + "/no-such-font.ttf").c_str(), (dir + "/other.glyphs").c_str()));
  EXPECT_FALSE(fs::exists(dir + "/other.glyphs"));
  fs::remove_all(dir);
}

}  // namespace
