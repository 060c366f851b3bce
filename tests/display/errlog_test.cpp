// The diagnostic log: nothing while closed, open, write, reopen, close.
#include "common/errlog.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "display/bob.h"
#include "display_fixture.h"

namespace {

std::string read_all(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST(Errlog, WritesOnlyWhileOpenAndReopeningClosesTheFirstFile) {
  EXPECT_EQ(errlog_write("dropped %d", 1), 0);
  EXPECT_EQ(errlog_close(), 0);
  EXPECT_EQ(errlog_open("/nonexistent-dir/x.log"), 0);
  EXPECT_FALSE(errlog_is_open());

  const std::string first = temp_path("first.log"), second = temp_path("second.log");
  ASSERT_EQ(errlog_open(first.c_str()), 1);
  EXPECT_EQ(errlog_write(nullptr), 0);
  EXPECT_EQ(errlog_write("\n%d%% done", 50), 1);
  const std::string long_text(300, 'z');
  EXPECT_EQ(errlog_write("\n%s!", long_text.c_str()), 1);
  EXPECT_EQ(errlog_open("/nonexistent-dir/x.log"), 0);  // the open file stays in use
  Bob bob{};
  bob_create(&bob, 0, 0, 469, 4, 0, 0x11);
  ASSERT_EQ(errlog_open(second.c_str()), 1);
  ASSERT_EQ(errlog_close(), 1);

  EXPECT_EQ(read_all(first), "\nOpening Error Output File (" + first + "):\n" + "\n50% done\n" + long_text + "!" +
                                 "\nCreate BOB 3" + "\nClosing Error Output File.");
  EXPECT_EQ(read_all(second), "\nOpening Error Output File (" + second + "):\n" + "\nClosing Error Output File.");
  std::remove(first.c_str());
  std::remove(second.c_str());
}
