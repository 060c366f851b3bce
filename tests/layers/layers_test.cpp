// The shape of the code: every #include under src/ points to its own module or one below it,
// and only a handful of mutable globals stand in headers, each with its reason.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path SOURCE = fs::path(ZORVANE_SOURCE_DIR) / "src";

// Higher includes lower; modules of one rank (the two engines) know nothing of each other.
const std::map<std::string, int> RANK = {
    {"app", 8},     {"frontend", 7}, {"game", 6},     {"enemies", 5}, {"playfield", 4},
    {"display", 3}, {"sound", 3},    {"platform", 2}, {"common", 1},
};

std::vector<fs::path> source_files() {
  std::vector<fs::path> files;
  for (const auto& e : fs::recursive_directory_iterator(SOURCE))
    if (e.is_regular_file() && (e.path().extension() == ".cpp" || e.path().extension() == ".h")) files.push_back(e.path());
  return files;
}

std::string module_of(const fs::path& file) { return fs::relative(file, SOURCE).begin()->string(); }

TEST(Layers, EveryIncludePointsToItsOwnModuleOrOneBelow) {
  const std::regex include(R"(^\s*#\s*include\s*"([a-z_]+)/)");
  int checked = 0;
  for (const fs::path& file : source_files()) {
    const std::string from = module_of(file);
    ASSERT_TRUE(RANK.count(from)) << "a folder outside the layers: " << file;
    std::ifstream in(file);
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
      std::smatch m;
      if (!std::regex_search(line, m, include)) continue;
      const std::string to = m[1];
      ++checked;
      if (to == from) continue;
      ASSERT_TRUE(RANK.count(to)) << file << ":" << n << " includes an unknown module " << to;
      EXPECT_LT(RANK.at(to), RANK.at(from)) << file << ":" << n << ": " << from << " must not include " << to;
    }
  }
  EXPECT_GT(checked, 100) << "the includes were not read";
}

TEST(Layers, AtMostTenMutableGlobalsInHeadersEachWithItsReason) {
  const std::regex global(R"(^extern\s+(?!"C")(?!const\b)(?!constexpr\b).*;)");
  std::vector<std::string> found;
  for (const fs::path& file : source_files()) {
    if (file.extension() != ".h") continue;
    std::ifstream in(file);
    std::string line, previous;
    for (int n = 1; std::getline(in, line); ++n) {
      if (std::regex_search(line, global)) {
        found.push_back(file.string() + ":" + std::to_string(n));
        EXPECT_EQ(previous.rfind("//", 0), 0u) << found.back() << " has no comment saying why it is global";
      }
      previous = line;
    }
  }
  EXPECT_LE(found.size(), 10u) << "mutable globals in headers: " << testing::PrintToString(found);
  EXPECT_GE(found.size(), 1u) << "the headers were not read";
}

}  // namespace
