// The sound engine: the sixteen game sounds, each read anew from its WAV file when played.
#pragma once
#include <cstdint>

enum SoundId : int32_t {
  SND_BEEP_ARCADE = 1,
  SND_STIXHIT = 2,
  SND_CONNECT = 3,
  SND_STARTUP = 4,
  SND_ENGINEBEAT = 5,
  SND_FUSEHIT = 6,
  SND_DYING = 7,
  SND_DEAD = 8,
  SND_QUIT = 9,
  SND_SUCCESS = 10,
  SND_NEWSPARX = 11,
  SND_DISCONNECT = 12,
  SND_SHUTDOWN = 13,
  SND_RECORD = 14,
  SND_MENUBROWSE = 15,
  SND_MENUSELECT = 16,
};

// The file of a sound ("beep_arcade.wav" ...), or null for an id outside 1..16.
const char* sound_file_name(int32_t id);

// How long after a failed open of the device the next sound asks for it again.
constexpr uint32_t SOUND_REOPEN_MS = 3000;

// The sound engine's state: the device (non-zero while open) and the buffer of the sound
// loaded last (0 when none); whether sound_init asked for a device, and when it last tried.
struct SoundEngine {
  int32_t sound_device = 0;
  int32_t current_effect_buffer = 0;
  bool sound_wanted = false;
  uint32_t last_open_ms = 0;
};
// The engine's one context, as the device it stands for is one.
extern SoundEngine sound_engine;

// Opens the device.
bool sound_init();
// Closes the streamed sound, releases every buffer and the device.
void sound_shutdown();
// Reads a WAV file into a new buffer that becomes current_effect_buffer; false when the file is
// missing, broken or not 8/16-bit PCM mono/stereo, or there is no device.
bool sound_load(int32_t device, const char* file_name);
// Starts current_effect_buffer from its first byte.
void sound_play(int32_t id, int32_t loop);

// Opens the device again if sound_init could not and a few seconds have passed since.
void sound_reopen_if_due();
// Plays a game sound: its file loaded into a new buffer and played once; nothing waits.
// Without a device it first asks for one again when that is due.
void sound_effect(SoundId id);
