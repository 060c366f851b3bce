// docs/HACKING.md names the code by file and function; each name must still be true: the file
// exists and defines the function (a definition, not a call or a declaration).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

const fs::path ROOT = fs::path(ZORVANE_SOURCE_DIR);

std::string read_text(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Whether text defines function name: a line that starts with a return type and the name,
// whose parameter list (parentheses balanced) is followed by a body rather than a ';'.
bool defines(const std::string& text, const std::string& name) {
  const std::regex head("(^|\\n)[ \\t]*(?:[A-Za-z_][\\w:<>,]*[ \\t\\*&]+)+(?:\\w+::)*" + name + "\\s*\\(");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), head); it != std::sregex_iterator(); ++it) {
    size_t at = static_cast<size_t>(it->position(0) + it->length(0));  // just past the '('
    int32_t depth = 1;
    while (at < text.size() && depth > 0) depth += text[at] == '(' ? 1 : text[at] == ')' ? -1 : 0, ++at;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
    if (text.compare(at, 5, "const") == 0) at += 5;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
    if (at < text.size() && text[at] == '{') return true;
  }
  return false;
}

TEST(Hacking, TheDefinitionFinderTellsDefinitionsFromCallsAndDeclarations) {
  const std::string text =
      "bool step(int a,\n           int b) {\n  return other(a, b);\n}\n"
      "int32_t declared(int x);\n"
      "  if (called(x)) {\n"
      "const char* Type::member(const std::string& s) const {\n";
  EXPECT_TRUE(defines(text, "step"));
  EXPECT_TRUE(defines(text, "member"));
  EXPECT_FALSE(defines(text, "other"));
  EXPECT_FALSE(defines(text, "declared"));
  EXPECT_FALSE(defines(text, "called"));
  EXPECT_FALSE(defines(text, "missing"));
}

TEST(Hacking, EveryFileAndFunctionTheGuideNamesExists) {
  const std::string guide = read_text(ROOT / "docs/HACKING.md");
  ASSERT_FALSE(guide.empty()) << "docs/HACKING.md is missing";
  const std::regex reference(R"(`((?:src|tests|tools|bench|fuzz|scripts)/[\w./-]+)(?::(\w+))?`)");
  std::set<std::string> functions;
  int32_t files = 0;
  for (auto it = std::sregex_iterator(guide.begin(), guide.end(), reference); it != std::sregex_iterator(); ++it) {
    const std::string path = (*it)[1], function = (*it)[2];
    const fs::path file = ROOT / path;
    ++files;
    EXPECT_TRUE(fs::exists(file)) << path << " does not exist";
    if (function.empty() || !fs::is_regular_file(file)) continue;
    functions.insert(path + ":" + function);
    EXPECT_TRUE(defines(read_text(file), function)) << path << " does not define " << function;
  }
  // The guide names the code: a page that lost its references proves nothing.
  EXPECT_GE(functions.size(), 40u);
  EXPECT_GE(files, 60);
}

TEST(Hacking, TheReadmeLinksTheGuide) {
  EXPECT_NE(read_text(ROOT / "README.md").find("(docs/HACKING.md)"), std::string::npos);
}

}  // namespace
