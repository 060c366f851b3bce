// The hi-score table: placing a new score, reading whatever scores.dat holds, saving safely.
#include <sys/stat.h>

#include <cstring>
#include <random>

#include "game/hiscore.h"
#include "game/temp_dir.h"

namespace {

std::string empty_lines(int n) {
  std::string s;
  while (n-- > 0) s += "- 0\n";
  return s;
}

class Hiscore : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    hiscore_init();
  }
  void TearDown() override {
    hiscore_free();
    TempDirTest::TearDown();
  }
  // "initials score" of a row, for short comparisons.
  static std::string row(int32_t i) {
    return std::string(hiscore_table.rows[i].initials) + " " + std::to_string(hiscore_table.rows[i].score);
  }
  static void set_row(int32_t i, const char* initials, int32_t score) {
    std::strcpy(hiscore_table.rows[i].initials, initials);
    hiscore_table.rows[i].score = score;
  }
};

TEST_F(Hiscore, NewScoreTakesItsPlaceAndPushesTheLineItReachedDown) {
  write_file(HISCORE_FILE, empty_lines(10));
  EXPECT_EQ(hiscore_load(500), 0);
  EXPECT_EQ(row(0), "AAA 500");
  EXPECT_EQ(row(1), "- 0 0");
  EXPECT_EQ(row(2), "- 0");  // rows the file does not fill keep what they held

  hiscore_init();
  write_file(HISCORE_FILE, "ZED 900\nYOU 500\nXIA 300\n" + empty_lines(7));
  EXPECT_EQ(hiscore_load(500), 1);  // ties go to the new score
  EXPECT_EQ(row(1), "AAA 500");
  EXPECT_EQ(row(2), "YOU 500");
  EXPECT_EQ(row(3), "XIA 300");
  EXPECT_EQ(row(4), "- 0");
}

TEST_F(Hiscore, FullTableKeepsOutALowerScoreAndDropsTheTenthForAnEqualOne) {
  std::string ten;
  for (int i = 0; i < 10; ++i) ten += std::string(3, static_cast<char>('A' + i)) + " " + std::to_string(1000 - 100 * i) + "\n";
  write_file(HISCORE_FILE, ten + "KKK 50\n");
  EXPECT_EQ(hiscore_load(99), -1);
  EXPECT_EQ(row(9), "JJJ 100");
  EXPECT_EQ(hiscore_load(100), 9);
  EXPECT_EQ(row(8), "III 200");
  EXPECT_EQ(row(9), "AAA 100");
}

TEST_F(Hiscore, NoNewScoreOrNoFileChangesNothingButWhatTheFileSays) {
  set_row(5, "OLD", 77);
  EXPECT_EQ(hiscore_load(500), -1);  // no file
  EXPECT_EQ(row(0), "- 0");
  write_file(HISCORE_FILE, "ZED 900\n" + empty_lines(9));
  for (int32_t none : {0, -1}) {
    EXPECT_EQ(hiscore_load(none), -1);
    EXPECT_EQ(row(0), "ZED 900");
    EXPECT_EQ(row(1), "- 0");
    EXPECT_EQ(row(5), "OLD 77");
  }
  write_file(HISCORE_FILE, "ZED 900\nYOU 800\n");  // no empty line to take a lower score
  EXPECT_EQ(hiscore_load(100), -1);
}

TEST_F(Hiscore, LinesAreReadAsTheCLibraryReadsThemThroughBuffersOfFourAndSixteen) {
  write_file(HISCORE_FILE,
             "BIG 9999999999999\n"         // beyond 32 bits: held at the largest value
             "NEG -5\nLOW -999999999999\n"  // negative: empty rows
             "TAB \t 42xyz\nCRL 33\r\nWRD abc\n"
             "ABC 100xxxxxxxxxxxDEF 50\n"  // the rest is read 15 characters at a time
             "G\n 70\n"                    // a short first piece ends at its line end
             "HIJ 7\rKLM 9\r\n" +          // a lone carriage return ends no line
                 std::string("N\0P 6\n", 6) + "ONE 1");
  EXPECT_EQ(hiscore_load(0), -1);
  const char* expected[] = {"BIG 2147483647", "TAB 42", "CRL 33", "ABC 100", "DEF 50", "G\n 70", "HIJ 7", "N 6", "ONE 1"};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(row(i), expected[i]) << i;

  hiscore_init();
  write_file(HISCORE_FILE, "ABC 300\nDEF");  // the end of the file inside a line stores nothing
  EXPECT_EQ(hiscore_load(200), -1);
  EXPECT_EQ(row(1), "- 0");
}

TEST_F(Hiscore, AnyBytesReadSafely) {
  std::mt19937 gen(1234);
  const char alphabet[] = "\n\n\n  0123456789-\r\t\0\xff";
  for (int round = 0; round < 200; ++round) {
    std::string bytes(gen() % 600, '\0');
    for (char& c : bytes) c = gen() % 4 ? alphabet[gen() % (sizeof alphabet)] : static_cast<char>(gen());
    write_file(HISCORE_FILE, bytes);
    const int32_t placed = hiscore_load(static_cast<int32_t>(gen() % 2000));
    ASSERT_TRUE(placed >= -1 && placed < HISCORE_ENTRIES);
    for (const HiscoreRow& r : hiscore_table.rows) ASSERT_LE(std::strlen(r.initials), 3u);
  }
}

TEST_F(Hiscore, SaveWritesTenLinesAndReadsBack) {
  set_row(0, "ZED", 900);
  set_row(1, "YOU", 500);
  set_row(2, "G\n", 300);  // as a damaged file can leave it: a line end must not split the line
  set_row(3, "WEB", 1);
  set_row(4, "NEG", -4);
  ASSERT_EQ(hiscore_save(), 1);
  EXPECT_EQ(read_file(HISCORE_FILE), "ZED 900\nYOU 500\nG   300\nWEB 1\n" + empty_lines(6));
  EXPECT_FALSE(exists("scores.dat.tmp"));
  hiscore_init();
  EXPECT_EQ(hiscore_load(400), 2);
  EXPECT_EQ(row(3), "G   300");
}

TEST_F(Hiscore, FailedSaveLeavesTheOldFileWholeAndNoTemporaryFile) {
  const std::string old = "OLD 777\n" + empty_lines(9);
  write_file(HISCORE_FILE, old);
  set_row(0, "NEW", 999);
  ASSERT_EQ(mkdir("scores.dat.tmp", 0700), 0);  // the temporary file cannot be made
  EXPECT_EQ(hiscore_save(), 0);
  EXPECT_EQ(read_file(HISCORE_FILE), old);
  ASSERT_EQ(rmdir("scores.dat.tmp"), 0);

  std::filesystem::create_symlink("/dev/full", "scores.dat.tmp");  // the data does not fit
  EXPECT_EQ(hiscore_save(), 0);
  EXPECT_EQ(read_file(HISCORE_FILE), old);

  std::filesystem::remove(HISCORE_FILE);  // written, but cannot take the place of scores.dat
  ASSERT_EQ(mkdir(HISCORE_FILE, 0700), 0);
  write_file("scores.dat/keep", "x");
  EXPECT_EQ(hiscore_save(), 0);
  EXPECT_FALSE(exists("scores.dat.tmp"));
  EXPECT_EQ(read_file("scores.dat/keep"), "x");
}

}  // namespace
