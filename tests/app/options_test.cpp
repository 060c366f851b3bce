// The command line: every option in both spellings, and the mistakes that must stop the program.
#include <gtest/gtest.h>

#include "app/options.h"

namespace {

bool parse(std::vector<const char*> words, Options* o, std::string* error) {
  words.insert(words.begin(), "zorvane");
  return options_parse(static_cast<int>(words.size()), words.data(), o, error);
}

TEST(Options, EveryOptionInBothSpellings) {
  Options o;
  std::string error;
  ASSERT_TRUE(parse({"--windowed", "--scale=integer", "--data", "/d", "--scores=/s/x.dat", "--seed", "4294967295",
                     "--timedemo", "a.zdemo"},
                    &o, &error))
      << error;
  EXPECT_EQ(o.windowed, 1);
  EXPECT_EQ(o.scale, ScaleMode::INTEGER);
  EXPECT_EQ((std::vector<std::string>{o.data_dir, o.scores_file, o.demo_file}),
            (std::vector<std::string>{"/d", "/s/x.dat", "a.zdemo"}));
  EXPECT_TRUE(o.seed_given);
  EXPECT_EQ(o.seed, 4294967295u);
  EXPECT_EQ(o.demo, DemoMode::TIME);
  ASSERT_TRUE(parse({"--fullscreen", "--record=r.zdemo", "--help", "--version"}, &o, &error));
  EXPECT_EQ((std::vector<int>{o.windowed, int(o.demo), o.help, o.version}), (std::vector<int>{0, 1, 1, 1}));
  ASSERT_TRUE(parse({}, &o, &error));
  EXPECT_EQ((std::vector<int>{o.windowed, int(o.scale), int(o.demo), o.seed_given}), (std::vector<int>{-1, 0, 0, 0}));
}

TEST(Options, MistakesAreRefusedWithAReason) {
  const std::vector<std::vector<const char*>> wrong = {
      {"--bogus"},           {"-x"},          {"game.zdemo"},       {"--seed"},
      {"--seed", "-1"},      {"--seed=4294967296"}, {"--seed=12a"},  {"--scale=huge"},
      {"--help=yes"},        {"--record", "a", "--playdemo", "b"}, {"--data"}, {"--record="},
  };
  for (const auto& words : wrong) {
    Options o;
    std::string error;
    EXPECT_FALSE(parse(words, &o, &error)) << words[0];
    EXPECT_FALSE(error.empty()) << words[0];
  }
}

}  // namespace
