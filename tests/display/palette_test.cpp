// The palette copy, palette files, rotation and the nearest-colour match.
#include <cstdio>

#include "display/draw.h"
#include "display/palette.h"
#include "display_fixture.h"

namespace {

void make_palette(PALETTEENTRY* p) {
  for (int i = 0; i < 256; ++i)
    p[i] = PALETTEENTRY{static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 7),
                        static_cast<uint8_t>(i % 5)};
}

void write_text(const std::string& path, const std::string& text) {
  FILE* f = std::fopen(path.c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fputs(text.c_str(), f);
  std::fclose(f);
}

}  // namespace

TEST_F(DisplayTest, SetAllThenSaveGivesTheSameEntries) {
  PALETTEENTRY in[256], out[256];
  make_palette(in);
  ASSERT_EQ(palette_set_all(in), 1);
  ASSERT_EQ(palette_save(out), 1);
  EXPECT_EQ(std::memcmp(in, out, sizeof(in)), 0);
  EXPECT_EQ(std::memcmp(display_palette->entries, in, sizeof(in)), 0);

  PALETTEENTRY one{9, 8, 7, 4}, got{};
  EXPECT_EQ(palette_set_entry(17, &one), 1);
  EXPECT_EQ(palette_get_entry(17, &got), 1);
  EXPECT_EQ(got.peBlue, 7);
  EXPECT_EQ(display_palette->entries[17].peRed, 9);
  EXPECT_EQ(palette_set_entry(256, &one), 0);
  EXPECT_EQ(palette_get_entry(-1, &got), 0);
}

TEST(PaletteFile, RoundTripsAndRefusesShortOrGarbledFiles) {
  PALETTEENTRY in[256], out[256];
  make_palette(in);
  const std::string path = temp_path("palette.txt");
  ASSERT_EQ(palette_save_file(path.c_str(), in), 1);
  FILE* f = std::fopen(path.c_str(), "r");
  ASSERT_NE(f, nullptr);
  char first[8] = {};
  ASSERT_NE(std::fgets(first, sizeof(first), f), nullptr);
  std::fclose(f);
  EXPECT_STREQ(first, "\n");  // the file starts with an empty line
  std::memset(out, 0xEE, sizeof(out));
  ASSERT_EQ(palette_load_file(path.c_str(), out), 1);
  EXPECT_EQ(std::memcmp(in, out, sizeof(in)), 0);

  PALETTEENTRY untouched[256];
  std::memset(untouched, 0x5A, sizeof(untouched));
  std::memcpy(out, untouched, sizeof(out));
  write_text(path, "\n1 2 3 4\n5 6 7 8");  // two entries only
  EXPECT_EQ(palette_load_file(path.c_str(), out), 0);
  write_text(path, std::string(200, 'x'));
  EXPECT_EQ(palette_load_file(path.c_str(), out), 0);
  std::string big;
  for (int i = 0; i < 256; ++i) big += "\n1 2 300 4";  // not a byte
  write_text(path, big);
  EXPECT_EQ(palette_load_file(path.c_str(), out), 0);
  EXPECT_EQ(std::memcmp(out, untouched, sizeof(out)), 0);
  EXPECT_EQ(palette_load_file(temp_path("no_such_palette.txt").c_str(), out), 0);
  EXPECT_EQ(palette_save_file("/nonexistent-dir/p.txt", in), 0);
  std::remove(path.c_str());
}

TEST_F(DisplayTest, RotationMovesEntriesUpAndTheLastToTheFirst) {
  PALETTEENTRY in[256];
  make_palette(in);
  palette_set_all(in);
  ASSERT_EQ(palette_rotate(10, 4), 1);
  EXPECT_EQ(current_palette[10].peRed, 13);
  EXPECT_EQ(current_palette[11].peRed, 10);
  EXPECT_EQ(current_palette[13].peRed, 12);
  EXPECT_EQ(current_palette[9].peRed, 9);
  EXPECT_EQ(current_palette[14].peRed, 14);
  EXPECT_EQ(std::memcmp(display_palette->entries, current_palette, sizeof(current_palette)), 0);
  ASSERT_EQ(palette_rotate(250, 6), 1);
  EXPECT_EQ(current_palette[250].peRed, 255);
  EXPECT_EQ(palette_rotate(250, 7), 0);
  EXPECT_EQ(palette_rotate(-1, 3), 0);
  EXPECT_EQ(palette_rotate(0, 0), 0);
}

TEST_F(DisplayTest, NearestColourFollowsPaletteChanges) {
  PALETTEENTRY p[256] = {};
  p[5] = PALETTEENTRY{200, 0, 0, 4};
  p[6] = PALETTEENTRY{200, 0, 0, 4};  // a tie goes to the lower index
  p[9] = PALETTEENTRY{0, 0, 240, 4};
  palette_set_all(p);
  EXPECT_EQ(palette_nearest(rgb(255, 10, 0)), 5);
  EXPECT_EQ(palette_nearest(rgb(0, 0, 255)), 9);
  EXPECT_EQ(palette_nearest(0), 0);
  // Even a direct write to the copy is seen by the next query.
  current_palette[3] = PALETTEENTRY{255, 10, 0, 4};
  EXPECT_EQ(palette_nearest(rgb(255, 10, 0)), 3);
}
