// The only file that includes toml++, header-only and without exceptions.
// toml++ 3.3 asserts in parse_key that a key begins with a key character, which the two bytes
// "[\n" break: an assertion build aborts, and where NDEBUG is set the assertion becomes an
// assumption the optimiser relies on (undefined behaviour). The check that follows in the
// parser reports the error properly, so the assertions are switched off here: NDEBUG is lifted
// while the header is read, because with it set the library turns its assertions into
// assumptions whatever TOML_ASSERT says.
#include "platform/common/config_file.h"

#pragma push_macro("NDEBUG")
#undef NDEBUG
#define TOML_HEADER_ONLY 1
#define TOML_EXCEPTIONS 0
#define TOML_ENABLE_FORMATTERS 0
#define TOML_ASSERT(expr) static_cast<void>(0)
#include <toml++/toml.h>
#pragma pop_macro("NDEBUG")

#include <algorithm>
#include <utility>

#include "platform/common/key_codes.h"

namespace {

struct Reader {
  const std::string& name;
  ConfigKind kind;
  ConfigRead* out;
  std::vector<std::pair<int32_t, std::string>> messages;  // sorted into line order at the end
};

int32_t line_of(const toml::node& node) { return static_cast<int32_t>(node.source().begin.line); }

// One line each, whatever the file held: the parser's own descriptions may span lines, and a
// quoted key may hold any character.
void complain(Reader& r, int32_t line, std::string what) {
  for (char& ch : what)
    if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7f) ch = ' ';
  r.messages.emplace_back(line, r.name + ":" + std::to_string(line) + ": " + what);
}

void read_bool(Reader& r, const toml::node& node, const char* section, const char* key, int32_t* out) {
  if (const auto* b = node.as_boolean()) {
    *out = b->get() ? 1 : 0;
    return;
  }
  complain(r, line_of(node), std::string("[") + section + "] " + key + " takes true or false; it keeps its default");
}

void read_int(Reader& r, const toml::node& node, const char* section, const char* key, int64_t low, int64_t high,
              int32_t* out) {
  if (const auto* i = node.as_integer(); i != nullptr && i->get() >= low && i->get() <= high) {
    *out = static_cast<int32_t>(i->get());
    return;
  }
  complain(r, line_of(node), std::string("[") + section + "] " + key + " takes a whole number from " +
                                 std::to_string(low) + " to " + std::to_string(high) + "; it keeps its default");
}

void read_keys(Reader& r, const toml::table& table) {
  for (const auto& [key, node] : table) {
    const std::string action_name(key.str());
    const int32_t line = line_of(node);
    const Action action = action_by_name(action_name.c_str());
    if (action == ACTION_COUNT) {
      complain(r, line, "unknown action \"" + action_name + "\" in [keys]; ignored");
      continue;
    }
    const toml::array* list = node.as_array();
    if (list == nullptr) {
      complain(r, line, action_name + " takes a list of keys, such as [\"KeyZ\", \"Alt+Enter\"]; it keeps its default");
      continue;
    }
    BindingWrite write{action, {}, line};
    bool good = true;
    for (const toml::node& item : *list) {
      KeyBinding binding;
      const auto* text = item.as_string();
      if (text == nullptr || !binding_parse(text->get(), &binding)) {
        const std::string shown = text != nullptr ? "\"" + text->get() + "\"" : std::string("a value that is not text");
        complain(r, line_of(item), "unknown key " + shown + " for " + action_name +
                                       " (keys are KeyboardEvent.code names, such as \"KeyZ\" or \"ArrowUp\"); " +
                                       action_name + " keeps its default");
        good = false;
        break;
      }
      write.keys.push_back(binding);
    }
    if (good) r.out->keys.push_back(std::move(write));
  }
  // Tables iterate by name; which action wins a clash goes by the file's order.
  std::stable_sort(r.out->keys.begin(), r.out->keys.end(),
                   [](const BindingWrite& a, const BindingWrite& b) { return a.line < b.line; });
}

void finish(Reader& r) {
  std::stable_sort(r.messages.begin(), r.messages.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (auto& m : r.messages) r.out->messages.push_back(std::move(m.second));
}

void read_sound(Reader& r, const toml::table& table) {
  for (const auto& [key, node] : table) {
    if (key == "volume")
      read_int(r, node, "sound", "volume", 0, 100, &r.out->values.volume);
    else if (key == "muted")
      read_bool(r, node, "sound", "muted", &r.out->values.muted);
    else
      complain(r, line_of(node), "unknown setting \"" + std::string(key.str()) + "\" in [sound]; ignored");
  }
}

void read_window(Reader& r, const toml::table& table) {
  const bool state = r.kind == ConfigKind::STATE;
  for (const auto& [key, node] : table) {
    if (key == "fullscreen") {
      read_bool(r, node, "window", "fullscreen", &r.out->values.fullscreen);
    } else if (key == "scale" && !state) {
      const auto* text = node.as_string();
      if (text != nullptr && (text->get() == "fit" || text->get() == "integer"))
        r.out->values.integer_scale = text->get() == "integer" ? 1 : 0;
      else
        complain(r, line_of(node), "[window] scale takes \"fit\" or \"integer\"; it keeps its default");
    } else if (key == "width" && state) {
      read_int(r, node, "window", "width", 1, CONFIG_MAX_WINDOW_SIDE, &r.out->values.window_width);
    } else if (key == "height" && state) {
      read_int(r, node, "window", "height", 1, CONFIG_MAX_WINDOW_SIDE, &r.out->values.window_height);
    } else {
      complain(r, line_of(node), "unknown setting \"" + std::string(key.str()) + "\" in [window]; ignored");
    }
  }
}

}  // namespace

ConfigRead config_parse(std::string_view text, const std::string& name, ConfigKind kind) {
  ConfigRead out;
  Reader r{name, kind, &out, {}};
  toml::parse_result parsed = toml::parse(text, std::string_view(name));
  if (!parsed) {
    const toml::parse_error& e = parsed.error();
    complain(r, static_cast<int32_t>(e.source().begin.line),
             "not a valid TOML file (" + std::string(e.description()) + "); the whole file is ignored");
    finish(r);
    return out;
  }
  out.valid = true;
  const toml::table& root = parsed.table();
  for (const auto& [key, node] : root) {
    const std::string section(key.str());
    const toml::table* table = node.as_table();
    if (table == nullptr) {
      complain(r, line_of(node), "unknown setting \"" + section + "\" outside any section; ignored");
      continue;
    }
    if (section == "keys" && kind == ConfigKind::PLAYER)
      read_keys(r, *table);
    else if (section == "sound")
      read_sound(r, *table);
    else if (section == "window")
      read_window(r, *table);
    else
      complain(r, line_of(node), "unknown section [" + section + "]; ignored");
  }
  finish(r);
  return out;
}
