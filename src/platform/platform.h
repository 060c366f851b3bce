// The services the game needs from the machine it runs on: a window and its events, keys,
// files, the clock, presentation, glyphs and audio. Three implementations exist:
// platform/sdl (the desktop), platform/fake (tests: keys and clock set by the test, frames
// captured, sounds logged) and platform/web (the browser page).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/input.h"

// --- window and events ---
// The events the game has: the window is to close (the desktop asked, or the game chose to
// end), and then the program is to end.
enum PlatformEvent : uint32_t { PLATFORM_EVENT_CLOSE = 1, PLATFORM_EVENT_QUIT = 2 };

struct PlatformMessage {
  PlatformEvent event;
};

// Settings from the command line, given before the window opens. windowed: 1 a window, 0 full
// screen, -1 not said (ZORVANE_WINDOWED, else full screen). integer_scale: 1 shows the picture
// at whole factors only; 0 (the default) as large as fits at its shape, kept sharp.
void platform_configure_video(int32_t windowed, int32_t integer_scale);
// Opens the game's window (full screen at the desktop's resolution unless configured or
// ZORVANE_WINDOWED says otherwise). Returns a non-zero window handle, or 0 when no window can
// be made; platform_window_error() then says why in one line (what was tried, how to fix it).
int32_t platform_window_create(const char* caption);
const char* platform_window_error();
void platform_window_destroy();
// Takes at most one event off the queue without blocking; 0 when the queue is empty.
// Keyboard events and the desktop's close request never queue.
int32_t platform_peek_message(PlatformMessage* out);
// Appends an event to the queue; the main loop takes one a pass.
void platform_post_message(PlatformEvent event);
void platform_show_cursor(int32_t show);
// 1 once the desktop has asked to close the window (pumping input first); it stays 1.
int32_t platform_close_requested();

// --- keyboard ---
// 1 while the key is down at the moment of the call (pending input is pumped first).
// VK_SHIFT and VK_CONTROL mean either key of the pair. A game controller feeds the same keys
// through the controller mapping of platform/common/actions.h; its confirm button means Enter
// only in the main-loop pass its press begins (a pass runs from one platform_peek_message to
// the next), never while merely held.
int32_t platform_key_down(int32_t vk);
// 1 while any key of the keyboard at all is down (a replay on the screen ends on any key).
int32_t platform_any_key_down();

// 1 while the game's window has the keyboard focus (a window that cannot tell says 1).
int32_t platform_has_focus();

// --- files ---
// Reads a whole file of at most max_bytes into out. False when it is missing, unreadable or
// larger than max_bytes (out is then empty).
bool platform_file_read(const char* path, std::string* out, size_t max_bytes);
// Replaces path with data atomically: a temporary file with a unique name beside it, written,
// synced and renamed over path. False on any failure; the old file is then left as it was.
bool platform_file_replace(const char* path, const void* data, size_t size);

// Where the game's own files live. The data folders hold the pictures, sounds and glyphs; the
// scores file holds the hi-score table.
// Called once before start-up, with --data and --scores (null when not given): data files are
// then searched for in --data, $ZORVANE_DATA, the "data" folder beside the program and the
// installed data folder; scores live in --scores or $XDG_DATA_HOME/zorvane/scores.dat
// (~/.local/share/zorvane/ by default). Until then both are taken from the current folder.
void platform_configure_files(const char* data_dir_option, const char* scores_option);
// The path of a data file (a picture or a sound) by its name; empty when no data folder has it
// (the first such file is reported on stderr, with the folders searched). A name holding a '/'
// is a path and is returned as it is.
std::string platform_data_path(const char* name);
// The text of the scores file; false (and empty) when there is none or it cannot be read. A
// scores.dat left in a data folder by earlier versions is copied home the first time.
bool platform_scores_read(std::string* out);
// Replaces the scores file atomically with text (creating its folders); false when it cannot
// be written, which is reported once on stderr. The text is then read back from memory.
bool platform_scores_write(const std::string& text);

// --- settings ---
// Reads the player's configuration (--config FILE, else zorvane/zorvane.toml in the XDG config
// folders; in the browser, local storage) and what the last game remembered, reporting every
// mistake in one line on stderr. Called once before the window opens, after
// platform_configure_video (whose choices win). remember false (a replay) never writes the
// remembered choices.
void platform_configure_settings(const char* config_option, bool remember);
// The complete, commented configuration file of the settings in force (--print-config).
std::string platform_settings_text();

// --- time ---
uint32_t platform_ticks();            // milliseconds, wrapping at 2^32
int64_t platform_time_seconds();      // calendar time in whole seconds
// Sleeps until platform_ticks() has moved on by ms (the wake-up falls on a tick boundary).
void platform_sleep_ms(uint32_t ms);
void platform_relax();                // a pause in the last milliseconds of a wait: until the next tick

// --- presentation ---
// Sets up a width x height picture of the given depth; 0 when the mode is refused
// (only 8 bits per pixel are offered).
int32_t platform_display_open(int32_t width, int32_t height, int32_t bpp);
void platform_display_close();
// Shows one 8-bit frame through its 256 RGB colours (r, g, b per entry). Waits for the
// next tick of a 60 Hz clock first, so every screen paces alike on every monitor; where the
// display's vertical blank is to be trusted the frame appears at the first blank after that
// tick, never before it. A frame identical to the one on screen is not drawn again.
void platform_present(const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3]);
// platform_present with what the frame changes from the frame presented before it: only
// those spans need converting and sending. Null or a whole record: anything may have changed.
struct FrameChanges;
void platform_present_changes(const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3],
                              const FrameChanges* changes);
// Waits for the next tick of that 60 Hz clock without presenting.
void platform_wait_frame_tick();

// --- glyphs ---
// One rendered character: a width x height mask (1 = ink) placed at (bearing_x, top) relative
// to the pen position and the line's top; the pen then moves by advance.
struct PlatformGlyph {
  int32_t width, height;
  int32_t bearing_x, top;
  int32_t advance;
  const uint8_t* mask;
};
// The glyph of one single-byte character (Latin-1), from the glyph table in the data folders
// (read on the first call and kept); null when no table could be read.
const PlatformGlyph* platform_glyph(unsigned char c);
// The smallest advance and bearing_x of any glyph of the table; false when there is none. With
// no advance below 0 the pen never moves left, so a text can stop where nothing more can show.
bool platform_glyph_least(int32_t* advance, int32_t* bearing_x);

// --- audio ---
struct PcmFormat {
  int32_t channels;        // 1 or 2
  int32_t sample_rate;     // Hz
  int32_t bits_per_sample; // 8 (unsigned) or 16 (signed)
};
// Opens the mixer and its output device; 0 when sound cannot be had at all (every later call
// then fails quietly). Where the output is missing or goes away, sounds play on in silence and
// the platform asks for it again until it is back (the SDL platform; the sound engine also
// calls this again, now and then, after a 0).
int32_t platform_audio_open();
void platform_audio_close();
// A buffer of PCM bytes the mixer can play; label names its source (a file) for logs.
// Returns a handle > 0, or 0 on failure.
int32_t platform_audio_buffer_create(const PcmFormat* format, uint32_t bytes, const char* label);
void platform_audio_buffer_release(int32_t buffer);
// Lock bytes [offset, offset + bytes) for writing; bytes 0 means the whole buffer.
uint8_t* platform_audio_buffer_lock(int32_t buffer, uint32_t offset, uint32_t bytes, uint32_t* locked_bytes);
void platform_audio_buffer_unlock(int32_t buffer);
int32_t platform_audio_buffer_play(int32_t buffer, uint32_t from_offset, int32_t looping);
void platform_audio_buffer_stop(int32_t buffer);
int32_t platform_audio_buffer_playing(int32_t buffer);
// The byte offset being played, in the buffer's own bytes.
int32_t platform_audio_buffer_position(int32_t buffer, uint32_t* position);
int32_t platform_audio_buffer_get_pan(int32_t buffer, int32_t* pan);
int32_t platform_audio_buffer_set_pan(int32_t buffer, int32_t pan);   // -10000..10000
int32_t platform_audio_buffer_format(int32_t buffer, PcmFormat* format);
