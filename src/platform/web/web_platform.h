// Inside the browser platform: what its main loop and the page's test entry points reach beyond
// the platform interface.
#pragma once
#include <cstdint>
#include <string>

#include "platform/common/actions.h"

// The game's own clock in milliseconds: its waits move it (nothing in a browser may block), and
// the main loop keeps it near real time.
uint64_t web_clock_now();
void web_clock_set(uint64_t ms);

// Runs pass(context) from the page's animation frames, as many per frame as the game's clock
// allows, until it returns false; then calls the page's onGameExit. Returns at once.
void web_run_loop(bool (*pass)(void*), void* context);

// Back to a freshly loaded page: clock at 0, no keys down, no messages, no buffers, and the
// frame and sound logs emptied (a test replays several runs in one page).
void web_reset();
// While logging, every presented frame's fingerprint and every sound started are kept.
void web_log_start();
// The log as text: "frames N", N fingerprints in hex, "sounds M", M lines "frame label".
std::string web_log_text();
// Called by the audio device: a sound started, for the log.
void web_log_sound(const char* label);

// Test driving: while on, the keys the game reads come from mask (bit i: GAME_KEYS[i]) instead
// of the keyboard.
void web_keys_drive(bool on, uint16_t mask);
// The page lost or regained the focus (keys held then are let go: their release may never come).
void web_focus_changed(bool focused);


// Between the browser platform's own files.
// A pass begins (platform_peek_message): keys tapped and let go before it have been seen, and
// the game controllers are sampled, once a pass.
void web_keys_begin_pass();
void web_gamepad_begin_pass();
bool web_gamepad_key_down(int32_t vk);
ActionMask web_gamepad_actions();
// What every source of input holds this pass, OR-ed: the keyboard's, the controllers' and the
// touch controls' actions. The game's key state and the program's actions both read it.
ActionMask web_actions_held();
// The program's own actions (mute, volume, screenshot, full screen) begun this pass, from the
// union of every source's held actions and the presses they saw come and go; the remembered
// settings saved when due.
void web_program_actions(ActionMask held, ActionMask tapped);
// What the page's touch controls hold, taps since the pass began included.
ActionMask web_touch_actions();
bool web_touch_any_game_key();
void web_touch_begin_pass();
void web_window_focus(bool focused);
// Starts or wakes the page's sound (browsers allow it only after a key press).
void web_audio_unlock();
// The parts web_reset puts back, one per file.
void web_keys_reset();
void web_gamepad_reset();
void web_touch_reset();
void web_window_reset();
void web_present_reset();
void web_audio_reset();
