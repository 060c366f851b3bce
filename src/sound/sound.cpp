// Game sounds: every play reads its file into a new device buffer and starts it from the top.
// Buffers that are replaced keep playing to their end (that is how sounds overlap) and are
// released once they have finished, so memory stays flat however long the game runs.
#include "sound/sound.h"

#include <algorithm>
#include <vector>

#include "platform/platform.h"
#include "sound/pcm_format.h"
#include "sound/sound_stream.h"
#include "sound/wave.h"

SoundEngine sound_engine;

namespace {

// Effect buffers that are no longer current and may still be playing.
std::vector<int32_t> retired_buffers;

void release_finished_buffers() {
  std::erase_if(retired_buffers, [](int32_t buffer) {
    if (platform_audio_buffer_playing(buffer)) return false;
    platform_audio_buffer_release(buffer);
    return true;
  });
}

}  // namespace

const char* sound_file_name(int32_t id) {
  static const char* const names[16] = {
      "beep_arcade.wav", "stixhit.wav",   "connect.wav",  "startup.wav",  "enginebeat.wav", "fusehit.wav",
      "dying.wav",       "dead.wav",      "quit.wav",     "success.wav",  "newsparx.wav",   "disconnect.wav",
      "shutdown.wav",    "record.wav",    "menubrowse.wav", "menuselect.wav",
  };
  return id >= 1 && id <= 16 ? names[id - 1] : nullptr;
}

bool sound_init() {
  sound_engine.sound_wanted = true;
  if (sound_engine.sound_device) return true;
  sound_engine.last_open_ms = platform_ticks();
  sound_engine.sound_device = platform_audio_open();
  return sound_engine.sound_device != 0;
}

// A device that could not be opened is asked for again when a sound is next played, every few
// seconds at most: it may come later (a sound server started after the game).
void sound_reopen_if_due() {
  if (!sound_engine.sound_wanted || sound_engine.sound_device) return;
  if (platform_ticks() - sound_engine.last_open_ms < SOUND_REOPEN_MS) return;
  sound_init();
}

void sound_shutdown() {
  sound_stream_shutdown();
  for (int32_t buffer : retired_buffers) platform_audio_buffer_release(buffer);
  retired_buffers.clear();
  if (sound_engine.current_effect_buffer) platform_audio_buffer_release(sound_engine.current_effect_buffer);
  sound_engine.current_effect_buffer = 0;
  if (sound_engine.sound_device) platform_audio_close();
  sound_engine.sound_device = 0;
  sound_engine.sound_wanted = false;
}

bool sound_load(int32_t device, const char* file_name) {
  release_finished_buffers();
  if (!device) return false;
  RiffFile* file = nullptr;
  WaveFormat* format = nullptr;
  RiffChunk riff, data;
  // The sound's name is looked up in the data folders; the buffer keeps the bare name.
  if (!file_name || wav_reader_open(platform_data_path(file_name).c_str(), &file, &format, &riff) != 0) return false;

  bool loaded = false;
  PcmFormat pcm;
  if (sound_pcm_format(format, &pcm) && wav_reader_rewind_data(file, &data, &riff) == 0) {
    const int32_t buffer = platform_audio_buffer_create(&pcm, data.cksize, file_name);
    if (buffer) {
      if (sound_engine.current_effect_buffer) retired_buffers.push_back(sound_engine.current_effect_buffer);
      sound_engine.current_effect_buffer = buffer;
      uint32_t locked = 0, got = 0;
      uint8_t* bytes = platform_audio_buffer_lock(buffer, 0, 0, &locked);
      if (bytes) {
        loaded = wav_reader_read(file, locked, bytes, &data, &got) == 0;
        platform_audio_buffer_unlock(buffer);
      }
      // A buffer that could not be filled is never played.
      if (!loaded) {
        platform_audio_buffer_release(buffer);
        sound_engine.current_effect_buffer = 0;
      }
    }
  }
  wav_reader_close(&file, &format);
  return loaded;
}

// The id would only matter to reload a buffer whose memory the device took back; our device
// never takes buffers back, so playing is just a start from the first byte.
void sound_play(int32_t, int32_t loop) {
  release_finished_buffers();
  if (!sound_engine.current_effect_buffer) return;
  platform_audio_buffer_play(sound_engine.current_effect_buffer, 0, loop ? 1 : 0);
}

void sound_effect(SoundId id) {
  sound_reopen_if_due();
  const char* file_name = sound_file_name(id);
  if (file_name && sound_load(sound_engine.sound_device, file_name)) sound_play(id, 0);
}
