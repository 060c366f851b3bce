// The command line: long options only, each value either as the next word or after '='.
#include "app/options.h"

#include <cstdlib>
#include <cstring>

namespace {

const char USAGE[] =
    "Usage: zorvane [OPTION]...\n"
    "Zorvane, a territory-claiming arcade game.\n"
    "\n"
    "  --help               show this help and exit\n"
    "  --version            show the version and exit\n"
    "  --windowed           start in a window\n"
    "  --fullscreen         start full screen (the default)\n"
    "  --scale=fit|integer  fill the screen at 4:3 (fit, the default) or use whole factors only\n"
    "  --data DIR           read the pictures and sounds from DIR\n"
    "  --scores FILE        keep the hi-score table in FILE\n"
    "  --seed N             start the random generator at N (0..4294967295)\n"
    "  --record FILE        play and write the run to the demo FILE when the program ends\n"
    "  --playdemo FILE      show the demo FILE at normal speed (any key ends it)\n"
    "  --timedemo FILE      replay the demo FILE as fast as possible and print its timing\n"
    "\n"
    "In the game: arrows move, Ctrl + arrows draw slowly, Shift + arrows draw fast,\n"
    "Space cancels a claim, F1 pauses, Esc returns to the menu. Alt+Enter toggles full screen.\n"
    "A game controller plays too: D-pad or left stick move, south button draws slowly (and is\n"
    "Enter in menus), east draws fast, west is Space, Start pauses, Back is Esc.\n"
    "\n"
    "Pictures and sounds are searched for in --data, $ZORVANE_DATA, the data folder beside the\n"
    "program and the installed one; hi-scores are kept in $XDG_DATA_HOME/zorvane/scores.dat\n"
    "(~/.local/share/zorvane/scores.dat when XDG_DATA_HOME is not set).\n";

bool parse_seed(const std::string& text, uint32_t* seed) {
  if (text.empty() || text.size() > 10) return false;
  uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  if (value > UINT32_MAX) return false;
  *seed = static_cast<uint32_t>(value);
  return true;
}

}  // namespace

const char* options_usage() { return USAGE; }

bool options_parse(int argc, const char* const* argv, Options* options, std::string* error) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    std::string word = argv[i] != nullptr ? argv[i] : "";
    std::string name = word, value;
    bool has_value = false;
    const size_t eq = word.find('=');
    if (word.rfind("--", 0) == 0 && eq != std::string::npos) {
      name = word.substr(0, eq);
      value = word.substr(eq + 1);
      has_value = true;
    }
    auto take_value = [&]() -> bool {
      if (has_value) return true;
      if (i + 1 >= argc || argv[i + 1] == nullptr) {
        *error = "option '" + name + "' needs a value";
        return false;
      }
      value = argv[++i];
      return true;
    };
    auto no_value = [&]() -> bool {
      if (!has_value) return true;
      *error = "option '" + name + "' takes no value";
      return false;
    };
    // An empty value would silently mean "not given".
    auto not_empty = [&](const char* what) -> bool {
      if (!value.empty()) return true;
      *error = "option '" + name + "' needs " + what;
      return false;
    };
    auto set_demo = [&](DemoMode mode) -> bool {
      if (!take_value()) return false;
      if (o.demo != DemoMode::NONE) {
        *error = "only one of --record, --playdemo and --timedemo may be given";
        return false;
      }
      if (!not_empty("a file name")) return false;
      o.demo = mode;
      o.demo_file = value;
      return true;
    };

    if (name == "--help" || name == "-h") {
      if (!no_value()) return false;
      o.help = true;
    } else if (name == "--version") {
      if (!no_value()) return false;
      o.version = true;
    } else if (name == "--windowed") {
      if (!no_value()) return false;
      o.windowed = 1;
    } else if (name == "--fullscreen") {
      if (!no_value()) return false;
      o.windowed = 0;
    } else if (name == "--scale") {
      if (!take_value()) return false;
      if (value == "fit") {
        o.scale = ScaleMode::FIT;
      } else if (value == "integer") {
        o.scale = ScaleMode::INTEGER;
      } else {
        *error = "--scale takes fit or integer, not '" + value + "'";
        return false;
      }
    } else if (name == "--data") {
      if (!take_value() || !not_empty("a folder")) return false;
      o.data_dir = value;
    } else if (name == "--scores") {
      if (!take_value() || !not_empty("a file name")) return false;
      o.scores_file = value;
    } else if (name == "--seed") {
      if (!take_value()) return false;
      if (!parse_seed(value, &o.seed)) {
        *error = "--seed takes a whole number from 0 to 4294967295, not '" + value + "'";
        return false;
      }
      o.seed_given = true;
    } else if (name == "--record") {
      if (!set_demo(DemoMode::RECORD)) return false;
    } else if (name == "--playdemo") {
      if (!set_demo(DemoMode::PLAY)) return false;
    } else if (name == "--timedemo") {
      if (!set_demo(DemoMode::TIME)) return false;
    } else {
      *error = "unknown option '" + word + "'";
      return false;
    }
  }
  *options = o;
  return true;
}
