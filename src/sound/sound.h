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

// The sound engine's state: the device (non-zero while open) and the buffer of the sound
// loaded last (0 when none).
struct SoundEngine {
  int32_t sound_device = 0;
  int32_t current_effect_buffer = 0;
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

// Plays a game sound: its file loaded into a new buffer and played once; nothing waits.
void sound_effect(SoundId id);
