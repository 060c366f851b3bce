// The palette copy, palette files and the nearest-colour match.
#include <cstdio>
#include <fstream>

#include "display/draw.h"
#include "display/palette.h"
#include "display/palette_files.h"
#include "display_fixture.h"

namespace {

void make_palette(PALETTEENTRY* p) {
  for (int i = 0; i < 256; ++i)
    p[i] = PALETTEENTRY{static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 7),
                        static_cast<uint8_t>(i % 5)};
}

}  // namespace

TEST_F(DisplayTest, PaletteRoundTripsThroughTheScreenAndFilesAndShortOrGarbledFilesAreRefused) {
  PALETTEENTRY in[256], out[256];
  make_palette(in);
  ASSERT_TRUE(palette_set_all(in));
  ASSERT_TRUE(palette_save(out));
  EXPECT_EQ(std::memcmp(in, out, sizeof(in)), 0);
  EXPECT_EQ(std::memcmp(display.display_palette->entries, in, sizeof(in)), 0);

  const std::string path = temp_path("palette.txt");
  ASSERT_TRUE(palette_save_file(path.c_str(), in));
  std::memset(out, 0xEE, sizeof(out));
  ASSERT_TRUE(palette_load_file(path.c_str(), out));
  EXPECT_EQ(std::memcmp(in, out, sizeof(in)), 0);

  std::string not_bytes;
  for (int i = 0; i < 256; ++i) not_bytes += "\n1 2 300 4";
  PALETTEENTRY untouched[256];
  std::memset(untouched, 0x5A, sizeof(untouched));
  std::memcpy(out, untouched, sizeof(out));
  for (const std::string& text : {std::string("\n1 2 3 4\n5 6 7 8"), std::string(200, 'x'), not_bytes}) {
    std::ofstream(path) << text;
    EXPECT_FALSE(palette_load_file(path.c_str(), out)) << text.substr(0, 20);
    EXPECT_EQ(std::memcmp(out, untouched, sizeof(out)), 0);  // never half a palette
  }
  EXPECT_FALSE(palette_load_file(temp_path("no_such_palette.txt").c_str(), out));
  EXPECT_FALSE(palette_save_file("/nonexistent-dir/p.txt", in));
  std::remove(path.c_str());
}

TEST_F(DisplayTest, NearestColourFollowsPaletteChanges) {
  PALETTEENTRY p[256] = {};
  p[5] = PALETTEENTRY{200, 0, 0, 4};
  p[6] = PALETTEENTRY{200, 0, 0, 4};  // a tie goes to the lower index
  p[9] = PALETTEENTRY{0, 0, 240, 4};
  palette_set_all(p);
  EXPECT_EQ(palette_nearest(rgb(255, 10, 0)), 5);
  EXPECT_EQ(palette_nearest(rgb(0, 0, 255)), 9);
  // Even a direct write to the copy is seen by the next query.
  current_palette[3] = PALETTEENTRY{255, 10, 0, 4};
  EXPECT_EQ(palette_nearest(rgb(255, 10, 0)), 3);
}
