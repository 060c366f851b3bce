// The hi-score table: placing a new score, reading whatever scores.dat holds, saving safely.
#include <sys/stat.h>

#include <cstring>

#include "game/game_fixture.h"
#include "game/hiscore.h"

namespace {

class Hiscore : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    hiscore_init();
  }
  void TearDown() override {
    hiscore_use_storage(HiscoreStorage::FILE, "");
    TempDirTest::TearDown();
  }
  // The whole table, each row as "initials score|".
  static std::string rows() {
    std::string s;
    for (const HiscoreRow& r : hiscore_table.rows) s += std::string(r.initials) + " " + std::to_string(r.score) + "|";
    return s;
  }
};

TEST_F(Hiscore, NewScoreTakesItsPlaceAndRowsTheFileDoesNotFillKeepWhatTheyHeld) {
  std::string ten, ten_rows;
  for (char c = 'A'; c <= 'J'; ++c) {
    const std::string line = std::string(3, c) + " " + std::to_string(1000 - 100 * (c - 'A'));
    ten += line + "\n", ten_rows += line + "|";
  }
  const std::string nine_rows = ten_rows.substr(0, ten_rows.find("JJJ"));
  // The rows a file gives, then the table as it was before the read: empty but for row 5.
  auto then_old = [](const std::string& read) {
    return read + repeat("- 0|", 5 - static_cast<int>(std::count(read.begin(), read.end(), '|'))) + "OLD 77|" +
           repeat("- 0|", 4);
  };
  struct Case { std::string file; int32_t score, placed; std::string expected; };
  const Case cases[] = {
      {repeat("- 0\n", 10), 500, 0, then_old("AAA 500|- 0 0|")},
      {"ZED 900\nYOU 500\nXIA 300\n" + repeat("- 0\n", 7), 500, 1, then_old("ZED 900|AAA 500|YOU 500|XIA 300|")},
      {ten + "KKK 50\n", 99, -1, ten_rows},           // below all ten
      {ten, 100, 9, nine_rows + "AAA 100|"},          // equal to the tenth, which drops out
      {"ZED 900\n" + repeat("- 0\n", 9), 0, -1, then_old("ZED 900|")},  // no new score
      {"ZED 900\n", -1, -1, then_old("ZED 900|")},
      {"ZED 900\nYOU 800\n", 100, -1, then_old("ZED 900|YOU 800|")},  // no empty line to take it
      {"", 500, 0, then_old("AAA 500|- 0 0|")},  // no file: the empty table, so the first score is kept
  };
  for (const Case& c : cases) {
    hiscore_init();
    std::strcpy(hiscore_table.rows[5].initials, "OLD");
    hiscore_table.rows[5].score = 77;
    std::filesystem::remove(HISCORE_FILE);
    if (!c.file.empty()) write_file(HISCORE_FILE, c.file);
    EXPECT_EQ(hiscore_load(c.score), c.placed) << c.file;
    EXPECT_EQ(rows(), c.expected) << c.file;
  }
}

TEST_F(Hiscore, MalformedLinesAreReadThroughBuffersOfFourAndSixteen) {
  struct Case { std::string file, first_rows; int32_t score = 0; };
  const Case cases[] = {
      {"BIG 9999999999999\n", "BIG 2147483647|"},  // beyond 32 bits: held at the largest value
      {"NEG -5\nLOW -999999999999\nWRD abc\n", ""},  // no positive number: empty rows
      {"TAB \t 42xyz\nCRL 33\r\n", "TAB 42|CRL 33|"},
      {"ABC 100xxxxxxxxxxxDEF 50\n", "ABC 100|DEF 50|"},  // the rest is read 15 characters at a time
      {"G\n 70\n", "G\n 70|"},                            // a short first piece ends at its line end
      {"HIJ 7\rKLM 9\r\n", "HIJ 7|"},                     // a lone carriage return ends no line
      {std::string("N\0P 6\nONE 1", 11), "N 6|ONE 1|"},   // a NUL in the initials; no last line end
      {"ABC 300\nDEF", "ABC 300|", 200},  // the end of the file inside a line stores nothing, nor places
  };
  for (const Case& c : cases) {
    hiscore_init();
    write_file(HISCORE_FILE, c.file);
    EXPECT_EQ(hiscore_load(c.score), -1);
    const int filled = static_cast<int>(std::count(c.first_rows.begin(), c.first_rows.end(), '|'));
    EXPECT_EQ(rows(), c.first_rows + repeat("- 0|", 10 - filled)) << c.file;
  }
}

TEST_F(Hiscore, SaveWritesTenLinesThatReadBack) {
  const char* initials[] = {"ZED", "YOU", "G\n", "WEB", "NEG"};  // "G\n" as a damaged file leaves it
  const int32_t scores[] = {900, 500, 300, 1, -4};
  for (int i = 0; i < 5; ++i) {
    std::strcpy(hiscore_table.rows[i].initials, initials[i]);
    hiscore_table.rows[i].score = scores[i];
  }
  ASSERT_EQ(hiscore_save(), 1);
  // A line end among the initials would split the line: it goes out as a blank.
  EXPECT_EQ(read_file(HISCORE_FILE), "ZED 900\nYOU 500\nG   300\nWEB 1\n" + repeat("- 0\n", 6));
  EXPECT_FALSE(std::filesystem::exists("scores.dat.tmp"));
  hiscore_init();
  EXPECT_EQ(hiscore_load(400), 2);
  EXPECT_EQ(rows(), "ZED 900|YOU 500|AAA 400|G   300|WEB 1|" + repeat("- 0|", 5));
}

TEST_F(Hiscore, FailedSaveLeavesNoTemporaryFileAndTheTableGoesOn) {
  std::strcpy(hiscore_table.rows[0].initials, "NEW");
  hiscore_table.rows[0].score = 999;
  ASSERT_EQ(mkdir(HISCORE_FILE, 0700), 0);  // written, but cannot take the place of scores.dat
  write_file("scores.dat/keep", "x");
  EXPECT_EQ(hiscore_save(), 0);
  EXPECT_EQ(read_file("scores.dat/keep"), "x");
  for (const auto& e : std::filesystem::directory_iterator("."))
    EXPECT_EQ(e.path().filename().string().rfind("scores.dat.", 0), std::string::npos) << e.path();
  // A recorded run keeps the table it saved even when the disk refused it.
  hiscore_use_storage(HiscoreStorage::FILE_AND_MEMORY, "OLD 5\n");
  EXPECT_EQ(hiscore_save(), 0);
  hiscore_init();
  EXPECT_EQ(hiscore_load(0), -1);
  EXPECT_EQ(rows(), "NEW 999|" + repeat("- 0|", 9));
  hiscore_use_storage(HiscoreStorage::FILE, "");
}

}  // namespace
