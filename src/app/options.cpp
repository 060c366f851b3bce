// The command line: long options only, each value either as the next word or after '='.
#include "app/options.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/common/actions.h"

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
    "  --data DIR           read the pictures, sounds and glyphs from DIR\n"
    "  --scores FILE        keep the hi-score table in FILE\n"
    "  --config FILE        read the settings from FILE instead of zorvane.toml\n"
    "  --print-config       print the settings in force as a configuration file and exit\n"
    "  --seed N             start the random generator at N (0..4294967295)\n"
    "  --record FILE        play and write the run to the demo FILE when the program ends\n"
    "  --playdemo FILE      show the demo FILE at normal speed (any key ends it)\n"
    "  --timedemo FILE      replay the demo FILE as fast as possible and print its timing\n"
    "\n"
    "In the game: arrows move, Ctrl + arrows draw slowly, Shift + arrows draw fast,\n"
    "Space cancels a claim, F1 pauses, Esc returns to the menu. Alt+Enter or F11 toggles full\n"
    "screen, M mutes, - and = (or the keypad's - and +) turn the volume down and up, F12 saves a\n"
    "screenshot. Every key can be changed in the configuration file (see FILES below).\n"
    "A game controller plays too:\n";

const char FILES[] =
    "\n"
    "FILES\n"
    "Pictures and sounds are searched for in --data, $ZORVANE_DATA, the data folder beside the\n"
    "program and the installed one; hi-scores are kept in $XDG_DATA_HOME/zorvane/scores.dat\n"
    "(~/.local/share/zorvane/scores.dat when XDG_DATA_HOME is not set).\n"
    "Settings are read from $XDG_CONFIG_HOME/zorvane/zorvane.toml (~/.config/zorvane/), else from\n"
    "zorvane/zorvane.toml in $XDG_CONFIG_DIRS (/etc/xdg), or from --config FILE; the game never\n"
    "writes it. --print-config prints one to start from, for example:\n"
    "  [keys]\n"
    "  slow = [\"KeyZ\"]               # keys by their place: KeyboardEvent.code names\n"
    "  fast = [\"KeyX\"]\n"
    "  fullscreen = [\"Alt+Enter\", \"F11\"]\n"
    "  [sound]\n"
    "  volume = 70                   # 0..100\n"
    "  muted = false\n"
    "  [window]\n"
    "  fullscreen = true\n"
    "  scale = \"fit\"                 # or \"integer\"\n"
    "Full screen or window, the window's size, volume and mute are remembered in\n"
    "$XDG_STATE_HOME/zorvane/state.toml (~/.local/state/zorvane/); the command line wins over\n"
    "them, and they win over the configuration file. Screenshots go to Zorvane/ in the pictures\n"
    "folder ($XDG_PICTURES_DIR, the one user-dirs.dirs names, else the home folder).\n";

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

// What one option does with its value (empty for an option without one); false, with the
// reason in error, when the value is not one it takes.
using OptionApply = bool (*)(Options* o, const std::string& value, std::string* error);

struct OptionSpec {
  const char* name;
  bool takes_value;
  OptionApply apply;
};

bool set_demo(Options* o, DemoMode mode, const std::string& value, std::string* error) {
  if (o->demo != DemoMode::NONE) {
    *error = "only one of --record, --playdemo and --timedemo may be given";
    return false;
  }
  if (value.empty()) {
    *error = "a demo option needs a file name";  // --record, --playdemo, --timedemo
    return false;
  }
  o->demo = mode;
  o->demo_file = value;
  return true;
}

// An empty value would silently mean "not given".
bool set_path(std::string* path, const char* option, const char* what, const std::string& value, std::string* error) {
  if (value.empty()) {
    *error = std::string("option '") + option + "' needs " + what;
    return false;
  }
  *path = value;
  return true;
}

const OptionSpec OPTIONS[] = {
    {"--help", false, [](Options* o, const std::string&, std::string*) { return o->help = true; }},
    {"-h", false, [](Options* o, const std::string&, std::string*) { return o->help = true; }},
    {"--version", false, [](Options* o, const std::string&, std::string*) { return o->version = true; }},
    {"--windowed", false, [](Options* o, const std::string&, std::string*) { return (o->windowed = 1) != 0; }},
    {"--fullscreen", false, [](Options* o, const std::string&, std::string*) { return (o->windowed = 0) == 0; }},
    {"--scale", true,
     [](Options* o, const std::string& v, std::string* error) {
       if (v == "fit" || v == "integer") {
         o->scale = v == "fit" ? ScaleMode::FIT : ScaleMode::INTEGER;
         return o->scale_given = true;
       }
       *error = "--scale takes fit or integer, not '" + v + "'";
       return false;
     }},
    {"--data", true, [](Options* o, const std::string& v, std::string* e) { return set_path(&o->data_dir, "--data", "a folder", v, e); }},
    {"--scores", true,
     [](Options* o, const std::string& v, std::string* e) { return set_path(&o->scores_file, "--scores", "a file name", v, e); }},
    {"--config", true,
     [](Options* o, const std::string& v, std::string* e) { return set_path(&o->config_file, "--config", "a file name", v, e); }},
    {"--print-config", false, [](Options* o, const std::string&, std::string*) { return o->print_config = true; }},
    {"--seed", true,
     [](Options* o, const std::string& v, std::string* error) {
       if (parse_seed(v, &o->seed)) return o->seed_given = true;
       *error = "--seed takes a whole number from 0 to 4294967295, not '" + v + "'";
       return false;
     }},
    {"--record", true, [](Options* o, const std::string& v, std::string* e) { return set_demo(o, DemoMode::RECORD, v, e); }},
    {"--playdemo", true, [](Options* o, const std::string& v, std::string* e) { return set_demo(o, DemoMode::PLAY, v, e); }},
    {"--timedemo", true, [](Options* o, const std::string& v, std::string* e) { return set_demo(o, DemoMode::TIME, v, e); }},
};

}  // namespace

const char* options_usage() {
  static const std::string text = std::string(USAGE) + pad_help_text() + FILES;
  return text.c_str();
}

bool options_parse(int argc, const char* const* argv, Options* options, std::string* error) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i] != nullptr ? argv[i] : "";
    // A value follows as the next word, or after '=' in the same word.
    const size_t eq = word.rfind("--", 0) == 0 ? word.find('=') : std::string::npos;
    const std::string name = word.substr(0, eq);
    const OptionSpec* spec = nullptr;
    for (const OptionSpec& candidate : OPTIONS)
      if (name == candidate.name) spec = &candidate;
    if (spec == nullptr) {
      *error = "unknown option '" + word + "'";
      return false;
    }
    std::string value;
    if (eq != std::string::npos) {
      if (!spec->takes_value) {
        *error = "option '" + name + "' takes no value";
        return false;
      }
      value = word.substr(eq + 1);
    } else if (spec->takes_value) {
      if (i + 1 >= argc || argv[i + 1] == nullptr) {
        *error = "option '" + name + "' needs a value";
        return false;
      }
      value = argv[++i];
    }
    if (!spec->apply(&o, value, error)) return false;
  }
  *options = o;
  return true;
}
