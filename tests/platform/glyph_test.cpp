// platform_glyph: the checked-in glyph table, found in the data folders on the first call and
// kept; a missing or damaged table means no font, never a crash.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/common/glyph_table.h"
#include "platform/common/glyphs.h"
#include "platform/common/storage.h"
#include "platform/platform.h"

namespace {

namespace fs = std::filesystem;

const fs::path CHECKED_IN = fs::path(ZORVANE_SOURCE_DIR) / "assets/glyphs" / GLYPH_TABLE_FILE;

// A private data folder searched the way the game searches its own.
class Glyphs : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zorvane-glyphs-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    StorageEnvironment env;
    env.data_option = dir_.string();
    storage_configure(env);
    glyphs_forget();
  }
  void TearDown() override {
    storage_use_current_folder();
    glyphs_forget();
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  void put_table(const std::string& text) { std::ofstream(dir_ / GLYPH_TABLE_FILE, std::ios::binary) << text; }
  void copy_table() { fs::copy_file(CHECKED_IN, dir_ / GLYPH_TABLE_FILE, fs::copy_options::overwrite_existing); }
  fs::path dir_;
};

TEST_F(Glyphs, LettersHaveHardEdgedInkSpacesHaveOnlyAdvanceAndTheTableIsKept) {
  copy_table();
  const PlatformGlyph* a = platform_glyph('A');
  const PlatformGlyph* space = platform_glyph(' ');
  ASSERT_TRUE(a && a->mask && space);
  EXPECT_GE(a->height, 10);  // a line about as tall as a classic desktop system font
  EXPECT_LE(a->height, 20);
  int ink = 0;
  for (int32_t i = 0; i < a->width * a->height; ++i) {
    EXPECT_LE(a->mask[i], 1);  // no anti-aliasing
    ink += a->mask[i];
  }
  EXPECT_GT(ink, 10);
  EXPECT_GT(space->advance, 0);
  for (int32_t i = 0; space->mask && i < space->width * space->height; ++i) EXPECT_EQ(space->mask[i], 0);
  EXPECT_GT(platform_glyph('W')->advance, platform_glyph('i')->advance);
  // Read once: text never goes to the disk again, even when the file goes away.
  fs::remove(dir_ / GLYPH_TABLE_FILE);
  EXPECT_EQ(platform_glyph('A'), a);
}

TEST_F(Glyphs, AMissingDamagedOrOversizedTableMeansNoFont) {
  EXPECT_EQ(platform_glyph('A'), nullptr);  // no table in the data folder
  std::ifstream in(CHECKED_IN, std::ios::binary);
  const std::string good((std::istreambuf_iterator<char>(in)), {});
  ASSERT_GT(good.size(), 1000u);
  const std::string damaged[] = {
      good.substr(0, good.size() / 2),                         // cut short
      "zorvane-glyphs 2" + good.substr(good.find('\n')),       // another version
      good + std::string(GLYPH_TABLE_MAX_BYTES, '.'),          // larger than any table can be
  };
  for (const std::string& text : damaged) {
    put_table(text);
    glyphs_forget();
    EXPECT_EQ(platform_glyph('A'), nullptr) << text.size() << " bytes";
    EXPECT_EQ(platform_glyph(0), nullptr);
  }
  put_table(good);
  glyphs_forget();
  EXPECT_NE(platform_glyph('A'), nullptr);
}

}  // namespace
