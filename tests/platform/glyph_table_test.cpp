// The glyph table's reader: the checked-in table reads whole, and every damaged, oversized or
// lying variant of it is refused without touching the table already held.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/common/glyph_table.h"

namespace {

std::string checked_in_text() {
  std::ifstream in(std::filesystem::path(ZORVANE_SOURCE_DIR) / "assets/glyphs" / GLYPH_TABLE_FILE, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

// Where the record of one character (its line and rows) starts and ends in a table's text.
std::pair<size_t, size_t> record_span(const std::string& text, int code) {
  const size_t start = text.find("\nglyph " + std::to_string(code) + " ") + 1;
  const size_t next = text.find("\nglyph ", start);
  return {start, next == std::string::npos ? text.size() : next + 1};
}

// The text with one character's record replaced.
std::string with_record(std::string text, int code, const std::string& record) {
  const auto [start, end] = record_span(text, code);
  return text.replace(start, end - start, record);
}

// A record of a width x height glyph, every row the same.
std::string record(int code, int width, int height, const std::string& row, int advance = 5) {
  std::string r = "glyph " + std::to_string(code) + " advance " + std::to_string(advance) + " bearing_x 0 top 0 width " +
                  std::to_string(width) + " height " + std::to_string(height) + "\n";
  if (width > 0) {
    for (int y = 0; y < height; ++y) r += row + "\n";
  }
  return r;
}

// A table the tests can recognise if a refused parse wrote into it anyway.
GlyphTable marked_table() {
  GlyphTable t;
  t.glyphs['A'].advance = 1234;
  return t;
}

class GlyphTableText : public ::testing::Test {
 protected:
  void SetUp() override {
    good_ = checked_in_text();
    ASSERT_GT(good_.size(), 1000u) << "the checked-in table is missing";
  }
  void expect_refused(const std::string& text, const std::string& what) {
    GlyphTable t = marked_table();
    EXPECT_FALSE(glyph_table_parse(text, &t)) << what;
    EXPECT_EQ(t.glyphs['A'].advance, 1234) << what << ": a refused table changed the one held";
  }
  std::string good_;
};

TEST_F(GlyphTableText, TheCheckedInTableReadsWholeWithEveryMaskItsSize) {
  GlyphTable t;
  ASSERT_TRUE(glyph_table_parse(good_, &t));
  int with_ink = 0;
  for (const GlyphTableEntry& g : t.glyphs) {
    ASSERT_EQ(g.mask.size(), static_cast<size_t>(g.width) * g.height);
    bool ink = false;
    for (uint8_t m : g.mask) {
      ASSERT_LE(m, 1);
      ink = ink || m;
    }
    with_ink += ink;
  }
  EXPECT_GT(with_ink, 180);  // the printable characters of Latin-1
  // The rows read in order: 'T' has its bar across the top of its ink and its stem below.
  const GlyphTableEntry& T = t.glyphs['T'];
  int first_ink_row = -1;
  for (int y = 0; y < T.height && first_ink_row < 0; ++y)
    for (int x = 0; x < T.width; ++x)
      if (T.mask[y * T.width + x]) first_ink_row = y;
  ASSERT_GE(first_ink_row, 0);
  int bar = 0, below = 0;
  for (int x = 0; x < T.width; ++x) bar += T.mask[first_ink_row * T.width + x];
  for (int x = 0; x < T.width; ++x) below += T.mask[(first_ink_row + 3) * T.width + x];
  EXPECT_GT(bar, below);
}

TEST_F(GlyphTableText, EveryCutShortTableIsRefused) {
  expect_refused("", "empty");
  for (size_t cut = 0; cut < good_.size(); cut += 97) expect_refused(good_.substr(0, cut), "cut at " + std::to_string(cut));
  expect_refused(good_.substr(0, good_.size() - 1), "without its last line end");
  const auto [last, end] = record_span(good_, 255);
  expect_refused(good_.substr(0, last), "without its last character");
}

TEST_F(GlyphTableText, HeadersLinesAndNumbersOtherThanTheWritersAreRefused) {
  const std::string body = good_.substr(good_.find('\n'));
  expect_refused("zorvane-glyphs 2" + body, "another version");
  expect_refused("zorvane-glyphs 1 " + body, "a space after the header");
  expect_refused("Zorvane-glyphs 1" + body, "another name");
  expect_refused(good_ + "\n", "an empty line at the end");
  expect_refused(good_ + "glyph 0 advance 0 bearing_x 0 top 0 width 0 height 0\n", "a record after the last");
  const auto [start, end] = record_span(good_, 'A');
  const std::string line = good_.substr(start, good_.find('\n', start) - start);
  ASSERT_EQ(line.rfind("glyph 65 advance 9 bearing_x 0 top 0 width ", 0), 0u) << line;
  const std::vector<std::pair<std::string, std::string>> edits = {
      {"advance 9", "advance 09"},       {"advance 9", "advance +9"},      {"advance 9", "advance  9"},
      {"advance 9", "advance 9x"},       {"advance 9", "advance"},         {"advance 9", "advance 99999999999"},
      {"advance 9", "advance 65"},       {"advance 9", "advance -65"},     {"advance 9", "Advance 9"},
      {"bearing_x 0", "top 0"},          {"top 0", "top -0"},              {"glyph 65", "glyph 65 "},
  };
  for (const auto& [from, to] : edits) {
    std::string edited = line;
    edited.replace(edited.find(from), from.size(), to);
    std::string text = good_;
    text.replace(start, line.size(), edited);
    expect_refused(text, edited);
  }
  std::string text = good_;
  text.insert(start + line.size(), " ");
  expect_refused(text, "a space at the line's end");
  text = good_;
  text.insert(start + line.size(), "\r");
  expect_refused(text, "a carriage return");
}

TEST_F(GlyphTableText, CodesMustCountUpFromZeroEachOnce) {
  const auto [start_a, end_a] = record_span(good_, 'A');
  const auto [start_b, end_b] = record_span(good_, 'B');
  const std::string a = good_.substr(start_a, end_a - start_a), b = good_.substr(start_b, end_b - start_b);
  std::string swapped = good_;
  swapped.replace(start_a, end_b - start_a, b + a);
  expect_refused(swapped, "B before A");
  expect_refused(with_record(good_, 'B', a), "A twice, no B");
  expect_refused(with_record(good_, 255, record(256, 0, 0, "")), "a code past 255");
  expect_refused(with_record(good_, 0, record(-1, 0, 0, "")), "a negative code");
  std::string without_b = good_;
  without_b.erase(start_b, end_b - start_b);
  expect_refused(without_b, "B left out");
}

TEST_F(GlyphTableText, RowsMustMatchTheSizeAndSizesStayWithinTheCap) {
  const std::string eight(8, '#');
  expect_refused(with_record(good_, 'A', record('A', 8, 13, "#######")), "rows one short");
  expect_refused(with_record(good_, 'A', record('A', 8, 13, eight + ".")), "rows one long");
  expect_refused(with_record(good_, 'A', record('A', 8, 13, "###@####")), "a stranger in a row");
  expect_refused(with_record(good_, 'A', record('A', 8, 13, std::string("###\0####", 8))), "a NUL in a row");
  const std::string thirteen_rows = record('A', 8, 13, eight);
  expect_refused(with_record(good_, 'A', thirteen_rows.substr(0, thirteen_rows.size() - 9)), "a row too few");
  expect_refused(with_record(good_, 'A', record('A', 8, 13, eight) + eight + "\n"), "a row too many");
  expect_refused(with_record(good_, 'A', record('A', -1, 13, "")), "a negative width");
  const std::string wide(GLYPH_SIDE_MAX + 1, '#'), widest(GLYPH_SIDE_MAX, '#');
  expect_refused(with_record(good_, 'A', record('A', GLYPH_SIDE_MAX + 1, 13, wide)), "wider than the cap");
  expect_refused(with_record(good_, 'A', record('A', 8, GLYPH_SIDE_MAX + 1, eight)), "taller than the cap");

  // At the cap, and with no picture at all, a glyph reads as written.
  GlyphTable t;
  ASSERT_TRUE(glyph_table_parse(with_record(good_, 'A', record('A', GLYPH_SIDE_MAX, GLYPH_SIDE_MAX, widest, -3)), &t));
  EXPECT_EQ(t.glyphs['A'].advance, -3);
  EXPECT_EQ(t.glyphs['A'].mask, std::vector<uint8_t>(GLYPH_SIDE_MAX * GLYPH_SIDE_MAX, 1));
  ASSERT_TRUE(glyph_table_parse(with_record(good_, 'A', record('A', 0, 13, "", 9)), &t));
  EXPECT_EQ(t.glyphs['A'].height, 13);
  EXPECT_EQ(t.glyphs['A'].advance, 9);
  EXPECT_TRUE(t.glyphs['A'].mask.empty());
}

}  // namespace
