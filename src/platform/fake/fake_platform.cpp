// The fake platform: the whole platform interface in memory, driven by the test.
#include "platform/fake/fake_platform.h"

#include <cstdio>
#include <cstring>
#include <deque>
#include <map>

#include "platform/common/bindings.h"
#include "platform/common/controls.h"
#include "platform/common/frame_changes.h"
#include "platform/common/glyphs.h"
#include "platform/common/key_codes.h"
#include "platform/common/notice.h"
#include "platform/common/pacing.h"
#include "platform/common/pcm_convert.h"
#include "platform/common/screenshot.h"
#include "platform/common/settings.h"

namespace {

struct FakeBuffer {
  PcmFormat format{};
  std::vector<uint8_t> bytes;
  std::string label;
  int32_t playing = 0;
  int32_t looping = 0;
  uint32_t from = 0;
  uint64_t started_ms = 0;
  int32_t pan = 0;
  int32_t requested_pan = 0;
};

constexpr int32_t MAX_CODES = 128;

struct FakeState {
  bool keys[256] = {};
  bool codes[MAX_CODES] = {};  // physical keys, by KEY_CODE_NAMES index
  ControlEdges edges;
  bool fullscreen_toggles = false;  // the full-screen action's state, as the window would be
  std::function<void(int32_t)> key_hook;
  std::function<void(uint64_t)> present_hook;
  uint32_t ticks = 0;
  uint64_t elapsed = 0;
  uint64_t slept = 0;
  int64_t epoch = 1'800'000'000;
  uint64_t frames = 0;
  size_t keep = 8;
  bool capture = true;
  std::vector<FakeFrame> kept;
  bool fail_window = false, fail_display = false, fail_audio = false;
  bool window = false, display = false, audio = false;
  int32_t display_w = 0, display_h = 0;
  bool cursor = true;
  bool close_requested = false;
  bool focused = true;
  std::deque<PlatformMessage> queue;
  std::map<int32_t, FakeBuffer> buffers;
  int32_t next_buffer = 1;
  std::vector<FakeSoundPlay> plays;
  int32_t vblank_hz = 0;
  PaceClock pace;
  std::vector<FakeShow> shows;
  int32_t windowed = -1, integer_scale = 0;
  // The frame presented last, to check each frame's record of its changes against.
  std::vector<uint8_t> previous;
  int32_t previous_w = 0, previous_h = 0;
  FakeChangeCheck changes;
};

FakeState fake;

void advance(uint64_t ms) {
  fake.ticks += static_cast<uint32_t>(ms);
  fake.elapsed += ms;
}

uint32_t bytes_per_second(const PcmFormat& f) {
  return static_cast<uint32_t>(f.sample_rate) * static_cast<uint32_t>(f.channels) *
         static_cast<uint32_t>(f.bits_per_sample / 8);
}

// Brings a buffer's play state up to the fake clock.
uint32_t buffer_position(FakeBuffer& b) {
  if (!b.playing || b.bytes.empty()) return b.from;
  uint64_t moved = (fake.elapsed - b.started_ms) * bytes_per_second(b.format) / 1000;
  uint32_t block = static_cast<uint32_t>(b.format.channels * (b.format.bits_per_sample / 8));
  if (block == 0) block = 1;
  uint64_t pos = b.from + moved - (moved % block);
  if (b.looping) return static_cast<uint32_t>(pos % b.bytes.size());
  if (pos >= b.bytes.size()) {
    b.playing = 0;
    b.from = 0;
    return 0;
  }
  return static_cast<uint32_t>(pos);
}

}  // namespace

// --- test controls ---
void fake_reset() {
  glyphs_forget();
  fake = FakeState{};
  settings_reset();
  notice_reset();
}
bool fake_set_code(const char* code, bool down) {
  const int32_t k = key_code_by_name(code);
  if (k < 0 || k >= MAX_CODES) return false;
  fake.codes[k] = down;
  return true;
}
void fake_set_key(int32_t vk, bool down) {
  if (vk >= 0 && vk < 256) fake.keys[vk] = down;
}
void fake_release_all_keys() {
  for (bool& k : fake.keys) k = false;
  for (bool& k : fake.codes) k = false;
}
void fake_on_key_query(std::function<void(int32_t)> hook) { fake.key_hook = std::move(hook); }
const FakeChangeCheck& fake_change_check() { return fake.changes; }
void fake_on_present(std::function<void(uint64_t)> hook) { fake.present_hook = std::move(hook); }
void fake_set_ticks(uint32_t ms) { fake.ticks = ms; }
void fake_advance_ms(uint32_t ms) { advance(ms); }
uint64_t fake_elapsed_ms() { return fake.elapsed; }
void fake_set_epoch_seconds(int64_t s) { fake.epoch = s; }
uint64_t fake_slept_ms() { return fake.slept; }
uint64_t fake_frame_count() { return fake.frames; }
const FakeFrame& fake_last_frame() { return fake.kept.back(); }
void fake_keep_frames(size_t n) { fake.keep = n < 1 ? 1 : n; }
void fake_capture_frames(bool on) { fake.capture = on; }
const std::vector<FakeFrame>& fake_kept_frames() { return fake.kept; }
void fake_fail_window(bool fail) { fake.fail_window = fail; }
void fake_fail_display(bool fail) { fake.fail_display = fail; }
void fake_fail_audio(bool fail) { fake.fail_audio = fail; }
void fake_set_vblank_hz(int32_t hz) {
  fake.vblank_hz = hz > 0 ? hz : 0;
  fake.pace = PaceClock{};
}
const std::vector<FakeShow>& fake_shows() { return fake.shows; }
int32_t fake_configured_windowed() { return fake.windowed; }
int32_t fake_configured_integer_scale() { return fake.integer_scale; }
void fake_close_window() { fake.close_requested = true; }
size_t fake_queued_messages() { return fake.queue.size(); }
bool fake_cursor_shown() { return fake.cursor; }
void fake_set_focus(bool focused) { fake.focused = focused; }
const std::vector<FakeSoundPlay>& fake_sound_plays() { return fake.plays; }
std::vector<std::string> fake_sound_labels() {
  std::vector<std::string> labels;
  for (const FakeSoundPlay& p : fake.plays) labels.push_back(p.label);
  return labels;
}
void fake_clear_sound_plays() { fake.plays.clear(); }
size_t fake_audio_live_buffers() { return fake.buffers.size(); }
std::vector<uint8_t> fake_audio_buffer_bytes(int32_t buffer) {
  auto it = fake.buffers.find(buffer);
  return it == fake.buffers.end() ? std::vector<uint8_t>{} : it->second.bytes;
}
void fake_audio_set_position(int32_t buffer, uint32_t position) {
  auto it = fake.buffers.find(buffer);
  if (it == fake.buffers.end()) return;
  it->second.from = position;
  it->second.started_ms = fake.elapsed;
}

int32_t fake_audio_requested_pan(int32_t buffer) {
  auto it = fake.buffers.find(buffer);
  return it == fake.buffers.end() ? 0 : it->second.requested_pan;
}

bool fake_save_frame(const FakeFrame& frame, const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  std::fprintf(f, "P6\n%d %d\n255\n", frame.width, frame.height);
  for (uint8_t index : frame.pixels) std::fwrite(frame.palette[index], 1, 3, f);
  return std::fclose(f) == 0;
}

// --- platform interface ---
void platform_configure_video(int32_t windowed, int32_t integer_scale) {
  fake.windowed = windowed;
  fake.integer_scale = integer_scale;
  settings_command_line(windowed, integer_scale);
}
const char* platform_window_error() { return fake.fail_window ? "no display (simulated)" : ""; }
int32_t platform_window_create(const char*) {
  if (fake.fail_window) return 0;
  fake.window = true;
  return 1;
}
void platform_window_destroy() {
  if (fake.window) settings_finish();
  fake.window = false;
}

int32_t platform_peek_message(PlatformMessage* out) {
  // The program's actions, once a pass, as the real platforms take them.
  const ActionMask left =
      controls_apply(controls_begun(&fake.edges, bindings_held(settings_now().keys, fake.codes), 0), fake.ticks);
  if (left & action_bit(ACTION_FULLSCREEN)) settings_set_fullscreen(!settings_now().fullscreen);
  settings_tick(fake.ticks);
  if (fake.queue.empty()) return 0;
  *out = fake.queue.front();
  fake.queue.pop_front();
  return 1;
}
void platform_post_message(PlatformEvent event) {
  fake.queue.push_back(PlatformMessage{event});
}
void platform_show_cursor(int32_t show) { fake.cursor = show != 0; }
int32_t platform_close_requested() { return fake.close_requested ? 1 : 0; }
int32_t platform_has_focus() { return fake.focused ? 1 : 0; }

int32_t platform_key_down(int32_t vk) {
  if (fake.key_hook) fake.key_hook(vk);
  if (vk >= 0 && vk < 256 && fake.keys[vk]) return 1;
  return action_game_key_down(bindings_held(settings_now().keys, fake.codes), vk);
}

int32_t platform_any_key_down() {
  for (bool k : fake.keys)
    if (k) return 1;
  for (bool k : fake.codes)
    if (k) return 1;
  return 0;
}

uint32_t platform_ticks() { return fake.ticks; }
int64_t platform_time_seconds() { return fake.epoch + static_cast<int64_t>(fake.elapsed / 1000); }
void platform_sleep_ms(uint32_t ms) {
  fake.slept += ms;
  advance(ms);
}
void platform_relax() { advance(1); }

int32_t platform_display_open(int32_t width, int32_t height, int32_t bpp) {
  if (fake.fail_display || bpp != 8 || width <= 0 || height <= 0) return 0;
  fake.display = true;
  fake.display_w = width;
  fake.display_h = height;
  return 1;
}
void platform_display_close() { fake.display = false; }

namespace {

// Moves the fake clock (whole milliseconds) to the first millisecond at or after t_us.
void advance_to_us(uint64_t t_us) {
  const uint64_t ms = (t_us + 999) / 1000;
  if (ms > fake.elapsed) advance(ms - fake.elapsed);
}

// With a simulated display: the SDL platform's pacing, then the vertical blank.
void wait_tick_and_vblank() {
  const uint64_t ready = fake.elapsed * 1000;
  const uint64_t due = static_cast<uint64_t>(pace_next_tick(&fake.pace, static_cast<int64_t>(ready)));
  advance_to_us(due);
  const int64_t now = static_cast<int64_t>(fake.elapsed * 1000);
  const int64_t number = pace_vblank_index(now, 0, fake.vblank_hz);
  const uint64_t blank = static_cast<uint64_t>(pace_vblank_time(number, 0, fake.vblank_hz));
  advance_to_us(blank);
  fake.shows.push_back(FakeShow{ready, due, blank, number});
}

}  // namespace

void platform_wait_frame_tick() {
  if (fake.vblank_hz > 0) {
    advance_to_us(static_cast<uint64_t>(pace_next_tick(&fake.pace, static_cast<int64_t>(fake.elapsed * 1000))));
    return;
  }
  // The next tick of the 60 Hz clock, on the fake's millisecond clock.
  uint64_t period_x3 = 50;  // 16.67 ms, counted in thirds of a millisecond
  uint64_t now_x3 = fake.elapsed * 3;
  uint64_t next_x3 = (now_x3 / period_x3 + 1) * period_x3;
  advance((next_x3 + 2) / 3 - fake.elapsed);
}

namespace {

void remember_previous(const uint8_t* pixels, int32_t pitch, int32_t w, int32_t h) {
  fake.previous.resize(static_cast<size_t>(w) * h);
  for (int32_t y = 0; y < h; ++y)
    std::memcpy(&fake.previous[static_cast<size_t>(y) * w], pixels + static_cast<size_t>(y) * pitch,
                static_cast<size_t>(w));
  fake.previous_w = w;
  fake.previous_h = h;
}

}  // namespace

void platform_present_changes(const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3],
                              const FrameChanges* changes) {
  const int32_t w = fake.display_w > 0 ? fake.display_w : 640, h = fake.display_h > 0 ? fake.display_h : 480;
  if (changes && !changes->whole) {
    ++fake.changes.records;
    // A record is relative to the frame presented before; without one, or of another size, or
    // from a picture of other rows, it cannot be right.
    int32_t missed = 0;  // with nothing of its size to be relative to, a record misses from row 0
    if (fake.previous_w == w && fake.previous_h == h && changes->width == w && changes->height == h) {
      std::vector<uint8_t> now(static_cast<size_t>(w) * h);
      for (int32_t y = 0; y < h; ++y)
        std::memcpy(&now[static_cast<size_t>(y) * w], pixels + static_cast<size_t>(y) * pitch, static_cast<size_t>(w));
      missed = frame_changes_first_missed(*changes, fake.previous.data(), now.data(), w);
    }
    if (missed >= 0) {
      if (fake.changes.missed == 0) {
        fake.changes.first_missed_frame = fake.frames + 1;
        fake.changes.first_missed_row = missed;
      }
      ++fake.changes.missed;
    }
    for (int32_t y = 0; y < changes->height && y < h; ++y) {
      int32_t l = 0, r = 0;
      if (frame_changes_row(*changes, y, &l, &r)) fake.changes.pixels += static_cast<uint64_t>(r - l);
    }
  } else {
    ++fake.changes.unknown;
  }
  platform_present(pixels, pitch, palette_rgb);
}

void platform_present(const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3]) {
  screenshot_take_pending(pixels, pitch, palette_rgb);
  remember_previous(pixels, pitch, fake.display_w > 0 ? fake.display_w : 640, fake.display_h > 0 ? fake.display_h : 480);
  if (fake.vblank_hz > 0)
    wait_tick_and_vblank();
  else
    platform_wait_frame_tick();
  if (!fake.capture) {
    // The first and last pixel are still read, so a short or freed frame is still caught.
    const int32_t w = fake.display_w > 0 ? fake.display_w : 640, h = fake.display_h > 0 ? fake.display_h : 480;
    volatile uint8_t edges = pixels[0] ^ pixels[static_cast<size_t>(h - 1) * pitch + (w - 1)];
    (void)edges;
    ++fake.frames;
    if (fake.present_hook) fake.present_hook(fake.frames);
    return;
  }
  FakeFrame frame;
  frame.width = fake.display_w > 0 ? fake.display_w : 640;
  frame.height = fake.display_h > 0 ? fake.display_h : 480;
  frame.pixels.resize(static_cast<size_t>(frame.width) * frame.height);
  for (int32_t y = 0; y < frame.height; ++y)
    std::memcpy(&frame.pixels[static_cast<size_t>(y) * frame.width], pixels + static_cast<size_t>(y) * pitch,
                static_cast<size_t>(frame.width));
  for (int i = 0; i < 256; ++i)
    for (int c = 0; c < 3; ++c) frame.palette[i][c] = palette_rgb[i][c];
  if (fake.kept.size() >= fake.keep) fake.kept.erase(fake.kept.begin());
  fake.kept.push_back(std::move(frame));
  ++fake.frames;
  if (fake.present_hook) fake.present_hook(fake.frames);
}

int32_t platform_audio_open() {
  if (fake.fail_audio) return 0;
  fake.audio = true;
  return 1;
}
void platform_audio_close() {
  fake.audio = false;
  fake.buffers.clear();
}
int32_t platform_audio_buffer_create(const PcmFormat* format, uint32_t bytes, const char* label) {
  if (!fake.audio || !format || bytes == 0) return 0;
  if (!pcm_format_playable(*format)) return 0;
  FakeBuffer b;
  b.format = *format;
  b.bytes.assign(bytes, 0);
  b.label = label ? label : "";
  int32_t handle = fake.next_buffer++;
  fake.buffers[handle] = std::move(b);
  return handle;
}
void platform_audio_buffer_release(int32_t buffer) { fake.buffers.erase(buffer); }
uint8_t* platform_audio_buffer_lock(int32_t buffer, uint32_t offset, uint32_t bytes, uint32_t* locked_bytes) {
  auto it = fake.buffers.find(buffer);
  if (it == fake.buffers.end() || offset >= it->second.bytes.size()) return nullptr;
  uint32_t size = static_cast<uint32_t>(it->second.bytes.size());
  uint32_t n = bytes == 0 ? size - offset : bytes;
  if (n > size - offset) n = size - offset;
  if (locked_bytes) *locked_bytes = n;
  return it->second.bytes.data() + offset;
}
void platform_audio_buffer_unlock(int32_t) {}
int32_t platform_audio_buffer_play(int32_t buffer, uint32_t from_offset, int32_t looping) {
  auto it = fake.buffers.find(buffer);
  if (it == fake.buffers.end()) return 0;
  FakeBuffer& b = it->second;
  b.playing = 1;
  b.looping = looping;
  b.from = from_offset;
  b.started_ms = fake.elapsed;
  fake.plays.push_back(FakeSoundPlay{b.label, buffer, looping, from_offset, fake.frames});
  return 1;
}
void platform_audio_buffer_stop(int32_t buffer) {
  auto it = fake.buffers.find(buffer);
  if (it == fake.buffers.end()) return;
  it->second.from = buffer_position(it->second);
  it->second.playing = 0;
}
int32_t platform_audio_buffer_playing(int32_t buffer) {
  auto it = fake.buffers.find(buffer);
  if (it == fake.buffers.end()) return 0;
  buffer_position(it->second);
  return it->second.playing;
}
int32_t platform_audio_buffer_position(int32_t buffer, uint32_t* position) {
  auto it = fake.buffers.find(buffer);
  if (it == fake.buffers.end()) return 0;
  *position = buffer_position(it->second);
  return 1;
}
int32_t platform_audio_buffer_get_pan(int32_t buffer, int32_t* pan) {
  auto it = fake.buffers.find(buffer);
  if (it == fake.buffers.end()) return 0;
  *pan = it->second.pan;
  return 1;
}
int32_t platform_audio_buffer_set_pan(int32_t buffer, int32_t pan) {
  auto it = fake.buffers.find(buffer);
  if (it == fake.buffers.end()) return 0;
  it->second.requested_pan = pan;
  it->second.pan = pcm_pan_clamped(pan);
  return 1;
}
int32_t platform_audio_buffer_format(int32_t buffer, PcmFormat* format) {
  auto it = fake.buffers.find(buffer);
  if (it == fake.buffers.end()) return 0;
  *format = it->second.format;
  return 1;
}
