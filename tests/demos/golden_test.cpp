// Every golden demo replays through the real main loop to exactly the frames, sounds and
// milestones stored beside it. ZORVANE_UPDATE_GOLDENS=1 rewrites the stored results instead
// (scripts/update-goldens.sh); a commit that changes them says why.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "golden_replay.h"

namespace {

namespace fs = std::filesystem;

const fs::path GOLDEN_DIR = fs::path(ZORVANE_SOURCE_DIR) / "tests" / "demos";

std::vector<std::string> golden_names() {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(GOLDEN_DIR))
    if (e.path().extension() == ".zdemo") names.push_back(e.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string read_text(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, ReplaysToTheSameFramesSoundsAndMilestones) {
  const std::string name = GetParam();
  const fs::path demo = GOLDEN_DIR / (name + ".zdemo"), expected_path = GOLDEN_DIR / (name + ".expected");
  GoldenResult actual;
  std::string error;
  ASSERT_TRUE(golden_replay(demo.string(), ZORVANE_DATA_DIR, &actual, &error)) << error;
  if (std::getenv("ZORVANE_UPDATE_GOLDENS")) {
    std::ofstream(expected_path, std::ios::binary) << golden_format(actual);
    std::printf("rewrote %s: %zu frames, %zu sounds, %zu milestones\n", expected_path.c_str(), actual.frames.size(),
                actual.sounds.size(), actual.milestones.size());
    return;
  }
  GoldenResult expected;
  ASSERT_TRUE(golden_parse(read_text(expected_path), &expected)) << "missing or damaged " << expected_path;
  // The first frame that differs, or the first missing one.
  size_t first = 0;
  while (first < actual.frames.size() && first < expected.frames.size() && actual.frames[first] == expected.frames[first])
    ++first;
  if (first < std::max(actual.frames.size(), expected.frames.size())) {
    const std::string prefix = (fs::current_path() / ("golden-" + name)).string();
    GoldenResult again;
    golden_replay(demo.string(), ZORVANE_DATA_DIR, &again, &error, static_cast<int64_t>(first + 1), prefix);
    ADD_FAILURE() << name << ": frame " << first + 1 << " of " << expected.frames.size()
                  << " differs from the golden (the replay showed " << actual.frames.size() << " frames); "
                  << "the replay's frame and the last matching one are in " << prefix << "-frame-" << first + 1
                  << ".png and " << prefix << "-frame-" << first << ".png";
  }
  EXPECT_EQ(actual.exit_status, expected.exit_status) << "3: the demo's own checksum did not match";
  EXPECT_EQ(actual.sounds, expected.sounds);
  EXPECT_EQ(actual.milestones, expected.milestones);
  // A frame's record of what it changes may name more than changed, never less; game frames
  // come with one.
  const bool played = std::any_of(actual.milestones.begin(), actual.milestones.end(),
                                  [](const std::string& m) { return golden_milestone_kind(m) == "new-game"; });
  if (played) {
    EXPECT_GT(actual.change_records, 0u) << name << ": no game frame said what it changes";
  }
  EXPECT_EQ(actual.change_misses, 0u) << name << ": frame " << actual.first_missed_frame
                                      << " changed pixels its record left out";
}

// The goldens prove what they are kept for only if, together, they reach every milestone.
TEST(GoldenCoverage, TheGoldensTogetherReachEveryMilestoneWithinTheFrameBudget) {
  const char* const required[] = {
      "new-game",        "menu",          "resume",         "pause",           "unpause",
      "claim-slow",      "claim-fast",    "claim-cancelled", "life-lost-qix",  "life-lost-sparx",
      "life-lost-fuse",  "level-2",       "level-3",        "qix-cut-off",     "split-bonus",
      "game-over",       "initials-entry", "initials-saved", "hiscore-list",   "about",
      "quit"};
  constexpr size_t FRAME_BUDGET = 12000;  // whole games replayed in every test run
  std::set<std::string> reached;
  size_t frames = 0;
  for (const std::string& name : golden_names()) {
    GoldenResult expected;
    ASSERT_TRUE(golden_parse(read_text(GOLDEN_DIR / (name + ".expected")), &expected)) << name;
    frames += expected.frames.size();
    for (const std::string& m : expected.milestones) reached.insert(golden_milestone_kind(m));
  }
  for (const char* kind : required) EXPECT_TRUE(reached.count(kind)) << "no golden reaches " << kind;
  EXPECT_LE(frames, FRAME_BUDGET) << "the goldens together have grown past their frame budget";
}

INSTANTIATE_TEST_SUITE_P(Demos, Golden, ::testing::ValuesIn(golden_names()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string n = info.param;
                           std::replace_if(n.begin(), n.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
                           return n;
                         });

}  // namespace
