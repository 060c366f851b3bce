// Test controls of the fake platform: keys set by the test, a clock the test moves, every
// presented frame captured, every sound buffer played logged.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

struct FakeFrame {
  int32_t width = 0, height = 0;
  std::vector<uint8_t> pixels;   // width * height palette indices, top row first
  uint8_t palette[256][3] = {};  // r, g, b
  uint8_t at(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

struct FakeSoundPlay {
  std::string label;   // what the buffer was created from (the sound file's name)
  int32_t buffer;      // handle
  int32_t looping;
  uint32_t from_offset;
  uint64_t frame;      // frames presented before the play
};

// Back to the state of a fresh program: no keys, clock at 0, no frames, no messages, no sounds,
// no glyph table read yet.
void fake_reset();

// Keys. fake_set_key holds a game key directly; fake_set_code a physical key by its
// KeyboardEvent.code name ("KeyZ"), which goes through the bindings in force (false for a
// name the platform does not know).
void fake_set_key(int32_t vk, bool down);
bool fake_set_code(const char* code, bool down);
void fake_release_all_keys();
// Called at every key query, before the answer is given (to script busy waits).
void fake_on_key_query(std::function<void(int32_t vk)> hook);
// Called after each frame is captured, with the number of frames presented so far.
void fake_on_present(std::function<void(uint64_t frames)> hook);

// Clock. Sleeps and spins advance it; nothing else does unless the test says so.
void fake_set_ticks(uint32_t ms);
void fake_advance_ms(uint32_t ms);
uint64_t fake_elapsed_ms();                 // total time advanced since fake_reset
void fake_set_epoch_seconds(int64_t s);     // calendar time at tick 0 of the fake run
uint64_t fake_slept_ms();                   // time spent in platform_sleep_ms

// Frames.
uint64_t fake_frame_count();
const FakeFrame& fake_last_frame();          // only valid after a present
void fake_keep_frames(size_t n);             // how many recent frames are kept (default 8)
const std::vector<FakeFrame>& fake_kept_frames();
// Off: presents are still paced, counted and hooked, but their pixels are not copied (long runs
// that only look at the game's state). On after fake_reset.
void fake_capture_frames(bool on);
// Every frame that came with a record of its changes is checked against the frame presented
// before it: a pixel that differs outside the record's spans is a miss.
struct FakeChangeCheck {
  uint64_t records = 0;             // frames that came with a record
  uint64_t unknown = 0;             // frames without one (anything may have changed)
  uint64_t missed = 0;              // records that left out a changed pixel
  uint64_t first_missed_frame = 0;  // the first such frame (its number among the presents)
  int32_t first_missed_row = -1;    // and the first row where it missed
  uint64_t pixels = 0;              // pixels the records named, in all
};
const FakeChangeCheck& fake_change_check();
// Writes a frame as a binary PPM for a person to look at (convert turns it into PNG).
bool fake_save_frame(const FakeFrame& frame, const std::string& path);

// A display with a vertical blank every 1/hz s from fake time 0 (0, the default: none). With
// one, each present waits for the 60 Hz tick exactly as the SDL platform paces (pace_next_tick)
// and is then shown at the first blank at or after it; fake_shows() logs when.
void fake_set_vblank_hz(int32_t hz);
struct FakeShow {
  uint64_t ready_us;  // when the frame was handed to present
  uint64_t due_us;    // the 60 Hz tick it waited for
  uint64_t shown_us;  // the blank it appeared at
  int64_t vblank;     // that blank's number
};
const std::vector<FakeShow>& fake_shows();
// What platform_configure_video was last told (-1 and 0 after fake_reset).
int32_t fake_configured_windowed();
int32_t fake_configured_integer_scale();

// Failures to simulate.
void fake_fail_window(bool fail);
void fake_fail_display(bool fail);
void fake_fail_audio(bool fail);

// The desktop closing the window: sets the close request (the main loop posts the close event).
void fake_close_window();
// Events still queued (for assertions); the game takes them through platform_peek_message.
size_t fake_queued_messages();
bool fake_cursor_shown();
// The window gaining or losing the keyboard focus (focused after fake_reset).
void fake_set_focus(bool focused);

// Sounds.
const std::vector<FakeSoundPlay>& fake_sound_plays();
std::vector<std::string> fake_sound_labels();   // labels of fake_sound_plays(), in order
void fake_clear_sound_plays();
size_t fake_audio_live_buffers();
// Bytes a buffer holds (0 for an unknown handle), and a copy of them.
std::vector<uint8_t> fake_audio_buffer_bytes(int32_t buffer);
// Moves a playing buffer's position by hand (the clock also moves it at the format's byte rate).
void fake_audio_set_position(int32_t buffer, uint32_t position);
// The pan value last asked of a buffer, before the fake limits it (0 when never asked).
int32_t fake_audio_requested_pan(int32_t buffer);
