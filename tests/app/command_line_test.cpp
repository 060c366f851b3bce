// The command line: the parser's table of options, the answers given without a window, and the
// files and window mode handed to the platform.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "platform/fake/fake_platform.h"
#include "app/storage_fixture.h"
#include "platform/platform.h"
#include "zorvane_version.h"

namespace {

bool parse(std::vector<const char*> words, Options* o, std::string* error) {
  words.insert(words.begin(), "zorvane");
  return options_parse(static_cast<int>(words.size()), words.data(), o, error);
}

TEST(Options, ValuesFlagsAndRefusals) {
  struct Case {
    std::vector<const char*> words;
    const char* error;  // a part of the reason, or null when the line is accepted
  };
  const Case cases[] = {
      {{"--data", "/d", "--scores=s.dat", "--windowed", "--scale=integer", "--seed", "4294967295"}, nullptr},
      {{"--fullscreen", "--record", "r.zdemo"}, nullptr},
      {{"-h"}, nullptr},
      {{"--bogus"}, "unknown option '--bogus'"},
      {{"play"}, "unknown option 'play'"},
      {{"--data"}, "needs a value"},
      {{"--data="}, "needs a folder"},
      {{"--scores", ""}, "needs a file name"},
      {{"--help=yes"}, "takes no value"},
      {{"--scale", "huge"}, "fit or integer"},
      {{"--seed", "4294967296"}, "--seed"},
      {{"--seed", "12a"}, "--seed"},
      {{"--seed="}, "--seed"},
      {{"--record", "a", "--playdemo", "b"}, "only one of"},
      {{"--timedemo="}, "needs a file name"},
  };
  for (const Case& c : cases) {
    Options o;
    std::string error;
    const bool ok = parse(c.words, &o, &error);
    SCOPED_TRACE(c.words[0]);
    EXPECT_EQ(ok, c.error == nullptr) << error;
    if (c.error) {
      EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
  }
  Options o;
  std::string error;
  ASSERT_TRUE(parse(cases[0].words, &o, &error));
  EXPECT_EQ(o.data_dir, "/d");
  EXPECT_EQ(o.scores_file, "s.dat");
  EXPECT_EQ(o.windowed, 1);
  EXPECT_EQ(o.scale, ScaleMode::INTEGER);
  EXPECT_TRUE(o.seed_given);
  EXPECT_EQ(o.seed, 4294967295u);
  ASSERT_TRUE(parse(cases[1].words, &o, &error));
  EXPECT_EQ(o.windowed, 0);
  EXPECT_EQ(o.demo, DemoMode::RECORD);
  EXPECT_EQ(o.demo_file, "r.zdemo");
}

struct Answer {
  int32_t status;
  std::string out, err;
};

Answer handle(std::vector<const char*> words) {
  words.insert(words.begin(), "zorvane");
  words.push_back(nullptr);
  Options o;
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  const int32_t status = app_handle_options(static_cast<int>(words.size()) - 1, const_cast<char**>(words.data()), &o);
  Answer a{status, testing::internal::GetCapturedStdout(), testing::internal::GetCapturedStderr()};
  return a;
}

TEST(CommandLine, HelpVersionAndUsageErrorsAnswerAtOnce) {
  const Answer help = handle({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out, options_usage());
  EXPECT_EQ(help.err, "");
  const Answer version = handle({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, std::string("zorvane ") + ZORVANE_VERSION + "\n");
  EXPECT_TRUE(std::regex_match(ZORVANE_VERSION, std::regex("[0-9]+\\.[0-9]+\\.[0-9]+")));
  // Errors go to stderr only, even when --help is also there.
  for (const auto& words : {std::vector<const char*>{"--bogus"}, std::vector<const char*>{"--help", "--seed", "x"}}) {
    const Answer bad = handle(words);
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err.rfind("zorvane: ", 0), 0u) << bad.err;
    EXPECT_NE(bad.err.find(options_usage()), std::string::npos);
  }
}

class CommandLineFiles : public TempTree {
 protected:
  void TearDown() override {
    unsetenv("ZORVANE_WINDOWED");
    TempTree::TearDown();
  }
};

TEST_F(CommandLineFiles, DataScoresAndWindowModeReachThePlatform) {
  put("d/STAR.BMP", "x");
  const std::string data = at("d"), scores = at("s/table.dat");
  EXPECT_EQ(handle({"--data", data.c_str(), "--scores", scores.c_str(), "--windowed", "--scale=integer"}).status, -1);
  EXPECT_EQ(platform_data_path("STAR.BMP"), at("d/STAR.BMP"));
  ASSERT_TRUE(platform_scores_write("AAA 5\n"));
  EXPECT_EQ(text_of(scores), "AAA 5\n");
  EXPECT_EQ((std::vector<int32_t>{fake_configured_windowed(), fake_configured_integer_scale()}),
            (std::vector<int32_t>{1, 1}));
  // --fullscreen says full screen; saying nothing leaves the choice to the environment, the
  // remembered state and the configuration file (-1).
  EXPECT_EQ(handle({"--fullscreen"}).status, -1);
  EXPECT_EQ((std::vector<int32_t>{fake_configured_windowed(), fake_configured_integer_scale()}),
            (std::vector<int32_t>{0, -1}));
  EXPECT_EQ(handle({}).status, -1);
  EXPECT_EQ(fake_configured_windowed(), -1);
}

}  // namespace
