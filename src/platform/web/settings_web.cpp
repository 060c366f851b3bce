// Settings in the browser: the player's configuration text and the remembered choices (volume and
// mute; the page owns its size) live in the page's local storage, read like the desktop's files;
// a screenshot is a download.
#include <emscripten.h>

#include <cstdlib>
#include <string>

#include "platform/common/config_file.h"
#include "platform/common/screenshot.h"
#include "platform/common/settings.h"
#include "platform/platform.h"

namespace {

constexpr const char* CONFIG_KEY = "zorvane/zorvane.toml";
constexpr const char* STATE_KEY = "zorvane/state.toml";

// A storage value as UTF-8; null when there is none, it cannot be read or it is too long.
EM_JS(char*, page_text_read, (const char* key, int max_bytes), {
  var text = null;
  try {
    text = window.localStorage.getItem(UTF8ToString(key));
  } catch (e) {
    return 0;
  }
  if (text === null) return 0;
  var size = lengthBytesUTF8(text) + 1;
  if (size > max_bytes + 1) return 0;
  var at = _malloc(size);
  if (at) stringToUTF8(text, at, size);
  return at;
});

EM_JS(int, page_text_write, (const char* key, const char* text), {
  try {
    window.localStorage.setItem(UTF8ToString(key), UTF8ToString(text));
    return 1;
  } catch (e) {
    return 0;
  }
});

EM_JS(int, page_download, (const char* name, const uint8_t* bytes, int size), {
  try {
    var blob = new Blob([HEAPU8.slice(bytes, bytes + size)], {type : 'image/png'});
    var link = document.createElement('a');
    link.href = URL.createObjectURL(blob);
    link.download = UTF8ToString(name);
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(function() { URL.revokeObjectURL(link.href); }, 10000);
    return 1;
  } catch (e) {
    return 0;
  }
});

ConfigRead read_entry(const char* key, ConfigKind kind, const std::string& name) {
  char* text = page_text_read(key, static_cast<int>(CONFIG_MAX_BYTES));
  if (text == nullptr) return ConfigRead{};
  const std::string copy = text;
  std::free(text);
  return config_parse(copy, name, kind);
}

bool save_state(const std::string& text) { return page_text_write(STATE_KEY, text.c_str()) != 0; }

}  // namespace

// --config names another storage entry.
void platform_configure_settings(const char* config_option, bool remember) {
  const char* key = config_option != nullptr && *config_option ? config_option : CONFIG_KEY;
  SettingsSources sources;
  sources.config_name = std::string("local storage ") + key;
  sources.config = read_entry(key, ConfigKind::PLAYER, sources.config_name);
  sources.state_name = std::string("local storage ") + STATE_KEY;
  sources.state = read_entry(STATE_KEY, ConfigKind::STATE, sources.state_name);
  settings_begin(sources, remember, save_state);
}

std::string platform_settings_text() { return settings_print(settings_sources()); }

std::string screenshot_deliver(const std::vector<uint8_t>& png, std::time_t t) {
  const std::string name = screenshot_file_name(t, 1);
  return page_download(name.c_str(), png.data(), static_cast<int>(png.size())) ? name : std::string();
}
