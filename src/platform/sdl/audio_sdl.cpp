// The audio device: one SDL output stream fed by a software mixer of any number of buffers.
// Each buffer keeps its source bytes (what the caller locks and fills). A buffer of 16-bit
// samples at the device rate is played from those bytes; any other is converted by SDL's own
// converter, when it is unlocked, into a copy at the device rate with its own channels, and
// the mixer plays the copy; play positions are mapped between the two by the ratio of their
// lengths, so a position read back is in the buffer's own bytes.
// The output may be missing (no sound server yet) or lost (the server stopped, the device was
// unplugged): the mixer and its buffers stay, sounds go on in silence at the device's pace,
// and the device is opened again every few seconds, from audio_poll, until one answers.
#include <SDL.h>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "platform/common/audio_mixer.h"
#include "platform/common/pcm_convert.h"
#include "platform/sdl/audio_sdl.h"

namespace {

constexpr int32_t CALLBACK_FRAMES = 512;  // 23 ms
// Converted copies larger than this are refused rather than exhausting memory.
constexpr uint64_t MAX_CONVERTED_BYTES = 512ull << 20;
// How often a missing output device is asked for again. A failed try costs a millisecond or
// two (a refused connection to the sound server).
constexpr int64_t REOPEN_INTERVAL_US = 2000000;
// At most this much silent mixing at once, after a stall: sounds end, nothing plays it back.
constexpr int64_t MAX_SILENT_ADVANCE_US = 1000000;

struct AudioBuffer {
  PcmFormat format{};
  uint32_t block = 0;                  // bytes per source frame
  uint32_t source_frames = 0;
  std::vector<uint8_t> bytes;
  std::vector<int16_t> converted;      // device frames, valid when has_converted
  bool has_converted = false;          // the voice has its frames (converted, or direct)
  bool direct = false;                 // played from bytes: already in the device's format
  bool locked = false;
  uint32_t dirty_begin = 0, dirty_end = 0;
  int32_t pan = 0;
  std::string label;
  MixVoice voice;                      // owned by the audio thread while playing
};

struct AudioState {
  bool open = false;
  bool offline = false;                // audio_open_offline: pulled by audio_render alone
  SDL_AudioDeviceID device = 0;        // 0 for the offline mixer and while there is no output
  std::map<int32_t, std::unique_ptr<AudioBuffer>> buffers;
  int32_t next_handle = 1;
  // Voices being played; the audio thread drops the ones that end. Changed only under the lock.
  std::vector<MixVoice*> active;
  std::vector<int32_t> accumulator;
  uint64_t frames_mixed = 0;
  // Without an output device: when the next open is tried, and up to when the voices have
  // been moved on in silence (microseconds of SDL's performance counter, from audio_poll).
  bool has_opened = false;   // a device was open once: a lost one is reopened with its driver
  int64_t next_open_us = 0;
  int64_t silent_until_us = -1;
  int64_t silent_remainder = 0;  // frames * 1e6 not yet mixed
  std::vector<int16_t> scratch;
  // Each opened device gets a number, passed to its callback; only the callback of the device
  // whose number is current touches the mixer. A lost device's thread goes on calling until
  // it is closed, which takes tens of milliseconds: that is done on a thread of its own.
  uintptr_t opened = 0;
  std::atomic<uintptr_t> current{0};
  std::thread closing;
  std::string fallback_driver;  // the driver SDL took at the start when no device opened
};

AudioState audio;

void mixer_lock() {
  if (audio.device) SDL_LockAudioDevice(audio.device);
}
void mixer_unlock() {
  if (audio.device) SDL_UnlockAudioDevice(audio.device);
}

AudioBuffer* find(int32_t handle) {
  if (!audio.open) return nullptr;
  auto it = audio.buffers.find(handle);
  return it == audio.buffers.end() ? nullptr : it->second.get();
}

SDL_AudioFormat sdl_format(const PcmFormat& f) { return f.bits_per_sample == 8 ? AUDIO_U8 : AUDIO_S16SYS; }

int build_cvt(SDL_AudioCVT* cvt, const PcmFormat& f) {
  return SDL_BuildAudioCVT(cvt, sdl_format(f), static_cast<Uint8>(f.channels), f.sample_rate, AUDIO_S16SYS,
                           static_cast<Uint8>(f.channels), AUDIO_DEVICE_RATE);
}

// Converts source frames [first, first + count) to device frames. 0 when SDL refuses.
int32_t convert_frames(const AudioBuffer& b, uint32_t first, uint32_t count, std::vector<int16_t>* out) {
  out->clear();
  if (count == 0) return 1;
  SDL_AudioCVT cvt;
  int needed = build_cvt(&cvt, b.format);
  if (needed < 0) return 0;
  size_t in_bytes = static_cast<size_t>(count) * b.block;
  const uint8_t* src = b.bytes.data() + static_cast<size_t>(first) * b.block;
  if (needed == 0) {
    out->resize(in_bytes / sizeof(int16_t));
    SDL_memcpy(out->data(), src, in_bytes);
    return 1;
  }
  if (in_bytes * static_cast<size_t>(cvt.len_mult) > INT_MAX) return 0;
  std::vector<uint8_t> work(in_bytes * static_cast<size_t>(cvt.len_mult));
  SDL_memcpy(work.data(), src, in_bytes);
  cvt.buf = work.data();
  cvt.len = static_cast<int>(in_bytes);
  if (SDL_ConvertAudio(&cvt) != 0) return 0;
  out->resize(static_cast<size_t>(cvt.len_cvt) / sizeof(int16_t));
  SDL_memcpy(out->data(), work.data(), static_cast<size_t>(cvt.len_cvt));
  return 1;
}

uint32_t device_frames(const AudioBuffer& b) {
  if (!b.has_converted) return 0;
  return b.direct ? b.source_frames : static_cast<uint32_t>(b.converted.size() / b.format.channels);
}

uint32_t to_device_frame(const AudioBuffer& b, uint32_t source_frame) {
  return pcm_device_frame(source_frame, b.source_frames, device_frames(b));
}
uint32_t to_source_frame(const AudioBuffer& b, uint32_t device_frame) {
  return pcm_source_frame(device_frame, b.source_frames, device_frames(b));
}

// Converts the whole buffer and puts the copy in place of the old one; a direct buffer's voice
// is given its own bytes.
int32_t convert_whole(AudioBuffer& b) {
  std::vector<int16_t> fresh;
  if (!b.direct && !convert_frames(b, 0, b.source_frames, &fresh)) return 0;
  mixer_lock();
  fresh.swap(b.converted);
  b.has_converted = true;
  b.voice.frames = b.direct ? reinterpret_cast<const int16_t*>(b.bytes.data()) : b.converted.data();
  b.voice.channels = b.format.channels;
  b.voice.frame_count = device_frames(b);
  if (b.voice.position >= b.voice.frame_count) b.voice.position = 0;
  mixer_unlock();
  return 1;  // the old copy is freed here, outside the lock
}

// Converts the source frames [first, end) into their place in the existing copy, for a buffer
// that is refilled piece by piece while it plays.
void convert_span(AudioBuffer& b, uint32_t first, uint32_t end) {
  if (b.direct) return;  // the voice reads the bytes just written
  std::vector<int16_t> piece;
  if (!convert_frames(b, first, end - first, &piece)) return;
  uint32_t to = to_device_frame(b, first);
  uint32_t to_end = end >= b.source_frames ? device_frames(b) : to_device_frame(b, end);
  if (to_end <= to) return;
  const int32_t channels = b.format.channels;
  size_t wanted = static_cast<size_t>(to_end - to) * channels;
  // The converter may come out a frame short of the mapped span; repeat its last frame.
  if (piece.empty()) piece.assign(static_cast<size_t>(channels), 0);
  while (piece.size() < wanted) {
    size_t last = piece.size() - channels;
    for (int32_t c = 0; c < channels; ++c) piece.push_back(piece[last + c]);
  }
  mixer_lock();
  SDL_memcpy(b.converted.data() + static_cast<size_t>(to) * channels, piece.data(),
             wanted * sizeof(int16_t));
  mixer_unlock();
}

void remove_active(MixVoice* v) {
  for (size_t i = 0; i < audio.active.size(); ++i) {
    if (audio.active[i] == v) {
      audio.active[i] = audio.active.back();
      audio.active.pop_back();
      return;
    }
  }
}

// Buffers whose one-shot play has ended give up their converted copy until played again, so a
// caller that keeps many spent buffers around holds only their source bytes.
void drop_spent_copies() {
  std::vector<std::vector<int16_t>> spent;
  mixer_lock();
  for (auto& entry : audio.buffers) {
    AudioBuffer& b = *entry.second;
    if (b.has_converted && !b.direct && b.voice.finished && !b.voice.playing && !b.locked) {
      spent.emplace_back(std::move(b.converted));
      b.converted.clear();
      b.has_converted = false;
      b.voice.frames = nullptr;
      b.voice.frame_count = 0;
      b.voice.position = 0;
      b.voice.finished = 0;
    }
  }
  mixer_unlock();
}

void render_locked(int16_t* out, int32_t frames) {
  int32_t chunk = static_cast<int32_t>(audio.accumulator.size() / AUDIO_DEVICE_CHANNELS);
  while (frames > 0) {
    int32_t n = frames < chunk ? frames : chunk;
    mixer_mix(audio.active.data(), static_cast<int32_t>(audio.active.size()), out, n, audio.accumulator.data());
    for (size_t i = 0; i < audio.active.size();) {
      if (!audio.active[i]->playing) {
        audio.active[i] = audio.active.back();
        audio.active.pop_back();  // never allocates
      } else {
        ++i;
      }
    }
    audio.frames_mixed += static_cast<uint64_t>(n);
    out += static_cast<size_t>(n) * AUDIO_DEVICE_CHANNELS;
    frames -= n;
  }
}

// SDL calls this on its audio thread with the device locked.
void audio_callback(void* number, Uint8* stream, int len) {
  if (reinterpret_cast<uintptr_t>(number) != audio.current.load()) {  // a lost device, being closed
    SDL_memset(stream, 0, static_cast<size_t>(len));
    return;
  }
  render_locked(reinterpret_cast<int16_t*>(stream), len / (AUDIO_DEVICE_CHANNELS * static_cast<int>(sizeof(int16_t))));
}

void prepare_mixer() {
  audio.accumulator.assign(static_cast<size_t>(CALLBACK_FRAMES) * AUDIO_DEVICE_CHANNELS, 0);
  audio.active.clear();
  audio.active.reserve(64);
  audio.frames_mixed = 0;
  audio.open = true;
}

// The default output of the audio driver SDL runs now; 0 when it gives none.
SDL_AudioDeviceID open_output() {
  SDL_AudioSpec want;
  SDL_zero(want);
  want.freq = AUDIO_DEVICE_RATE;
  want.format = AUDIO_S16SYS;
  want.channels = AUDIO_DEVICE_CHANNELS;
  want.samples = CALLBACK_FRAMES;
  want.callback = audio_callback;
  want.userdata = reinterpret_cast<void*>(++audio.opened);
  SDL_AudioSpec have;
  // No changes allowed: SDL converts to whatever the hardware wants, the mixer sees one format.
  return SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
}

// SDL's audio brought up with one driver by name; false when that driver cannot start.
bool start_driver(const char* name) {
  if (SDL_WasInit(SDL_INIT_AUDIO)) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  SDL_SetHint(SDL_HINT_AUDIODRIVER, name);
  const bool up = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  SDL_SetHint(SDL_HINT_AUDIODRIVER, nullptr);
  return up;
}

// Another try at an output device. A device that was open once and was lost comes back through
// a plain open with the same driver, once its server is back (bringing SDL's audio up again
// would fail while it is away). A device never opened: SDL fell back to a driver that has no
// device (ALSA without a sound card, when no sound server ran yet), so the drivers SDL prefers
// to that one are brought up by name and asked, never that one itself or those after it (ALSA
// would print its complaints again at every try). An SDL_AUDIODRIVER of the user's own is kept.
SDL_AudioDeviceID reopen_output() {
  if (audio.has_opened || std::getenv("SDL_AUDIODRIVER")) {
    if (!SDL_WasInit(SDL_INIT_AUDIO) && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return 0;
    return open_output();
  }
  for (int i = 0, n = SDL_GetNumAudioDrivers(); i < n; ++i) {
    const char* name = SDL_GetAudioDriver(i);
    if (!name || audio.fallback_driver == name) break;
    if (std::strcmp(name, "disk") == 0 || std::strcmp(name, "dummy") == 0) break;
    if (!start_driver(name)) continue;
    if (SDL_AudioDeviceID device = open_output()) return device;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  return 0;
}

void output_started(SDL_AudioDeviceID device) {
  audio.device = device;
  audio.current.store(audio.opened);
  audio.has_opened = true;
  audio.silent_until_us = -1;
  SDL_PauseAudioDevice(device, 0);
}

int64_t now_us() {
  return static_cast<int64_t>(SDL_GetPerformanceCounter() * 1000000.0 / static_cast<double>(SDL_GetPerformanceFrequency()));
}

// Without a device nothing pulls the mixer: the voices are moved on as the device would have
// played them, so one-shots end (and are released) and loops keep their place.
void advance_silently(int64_t now) {
  if (audio.silent_until_us < 0 || now <= audio.silent_until_us) {
    if (audio.silent_until_us < 0) audio.silent_until_us = now;
    return;
  }
  int64_t span = now - audio.silent_until_us;
  audio.silent_until_us = now;
  if (span > MAX_SILENT_ADVANCE_US) span = MAX_SILENT_ADVANCE_US;
  audio.silent_remainder += span * AUDIO_DEVICE_RATE;
  int64_t frames = audio.silent_remainder / 1000000;
  audio.silent_remainder %= 1000000;
  if (audio.active.empty()) return;
  audio.scratch.resize(static_cast<size_t>(CALLBACK_FRAMES) * AUDIO_DEVICE_CHANNELS);
  while (frames > 0) {
    const int32_t n = frames < CALLBACK_FRAMES ? static_cast<int32_t>(frames) : CALLBACK_FRAMES;
    render_locked(audio.scratch.data(), n);
    frames -= n;
  }
}

}  // namespace

void audio_poll_at(int64_t now) {
  if (!audio.open || audio.offline) return;
  if (audio.device) {
    // SDL marks a device its server dropped as stopped (SDL_AUDIODEVICEREMOVED comes with it).
    if (SDL_GetAudioDeviceStatus(audio.device) != SDL_AUDIO_STOPPED) return;
    const SDL_AudioDeviceID lost = audio.device;
    SDL_LockAudioDevice(lost);  // its callback is not in the mixer once this returns
    audio.current.store(0);
    SDL_UnlockAudioDevice(lost);
    audio.device = 0;
    if (audio.closing.joinable()) audio.closing.join();
    audio.closing = std::thread([lost] { SDL_CloseAudioDevice(lost); });
    audio.silent_until_us = now;
    audio.next_open_us = now + REOPEN_INTERVAL_US;
    return;
  }
  advance_silently(now);
  if (audio.next_open_us < 0) audio.next_open_us = now + REOPEN_INTERVAL_US;
  if (now < audio.next_open_us) return;
  audio.next_open_us = now + REOPEN_INTERVAL_US;
  if (audio.closing.joinable()) audio.closing.join();  // long done: SDL's devices are not opened meanwhile
  if (SDL_AudioDeviceID device = reopen_output()) output_started(device);
}

void audio_poll() { audio_poll_at(now_us()); }

int32_t audio_output_open() { return audio.device ? 1 : 0; }

// The mixer always; the output device when one answers, else sound goes on in silence and the
// device is asked for again from audio_poll.
int32_t platform_audio_open() {
  if (audio.open) return 1;
  prepare_mixer();
  audio.offline = false;
  audio.has_opened = false;
  audio.next_open_us = -1;  // the first poll starts the clocks
  audio.silent_until_us = -1;
  audio.silent_remainder = 0;
  audio.fallback_driver.clear();
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
    if (SDL_AudioDeviceID device = open_output())
      output_started(device);
    else if (const char* name = SDL_GetCurrentAudioDriver())
      audio.fallback_driver = name;
  }
  return 1;
}

int32_t audio_open_offline() {
  if (audio.open) return 0;
  prepare_mixer();
  audio.device = 0;
  audio.offline = true;
  return 1;
}

void platform_audio_close() {
  if (!audio.open) return;
  if (audio.closing.joinable()) audio.closing.join();
  if (audio.device) SDL_CloseAudioDevice(audio.device);  // the callback has stopped once this returns
  audio.current.store(0);
  if (!audio.offline && SDL_WasInit(SDL_INIT_AUDIO)) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  audio.device = 0;
  audio.offline = false;
  audio.open = false;
  audio.active.clear();
  audio.buffers.clear();
}

void audio_render(int16_t* out, int32_t frames) {
  if (!audio.open || frames <= 0) return;
  mixer_lock();
  render_locked(out, frames);
  mixer_unlock();
}

uint64_t audio_frames_mixed() {
  mixer_lock();
  uint64_t n = audio.frames_mixed;
  mixer_unlock();
  return n;
}

uint32_t audio_buffer_device_frames(int32_t buffer) {
  AudioBuffer* b = find(buffer);
  return b ? device_frames(*b) : 0;
}

int32_t platform_audio_buffer_create(const PcmFormat* format, uint32_t bytes, const char* label) {
  if (!audio.open || !format || bytes == 0) return 0;
  if (!pcm_format_playable(*format)) return 0;
  SDL_AudioCVT cvt;
  const int needed = build_cvt(&cvt, *format);
  if (needed < 0) return 0;
  uint32_t block = static_cast<uint32_t>(format->channels * format->bits_per_sample / 8);
  uint64_t frames = bytes / block;
  uint64_t out_bytes = frames * AUDIO_DEVICE_RATE / static_cast<uint64_t>(format->sample_rate) * 4;
  if (out_bytes > MAX_CONVERTED_BYTES || static_cast<uint64_t>(bytes) * static_cast<uint64_t>(cvt.len_mult) > INT_MAX)
    return 0;
  drop_spent_copies();
  auto b = std::make_unique<AudioBuffer>();
  b->format = *format;
  b->block = block;
  b->direct = needed == 0;
  b->source_frames = static_cast<uint32_t>(frames);
  // A fresh buffer holds silence (the 8-bit midpoint is 0x80).
  b->bytes.assign(bytes, format->bits_per_sample == 8 ? 0x80 : 0x00);
  b->label = label ? label : "";
  mixer_pan_gains(0, &b->voice.gain_left, &b->voice.gain_right);
  int32_t handle = audio.next_handle++;
  if (audio.next_handle <= 0) audio.next_handle = 1;
  audio.buffers[handle] = std::move(b);
  return handle;
}

void platform_audio_buffer_release(int32_t buffer) {
  AudioBuffer* b = find(buffer);
  if (!b) return;
  mixer_lock();
  if (b->voice.playing) {
    b->voice.playing = 0;
    remove_active(&b->voice);
  }
  mixer_unlock();
  audio.buffers.erase(buffer);
}

uint8_t* platform_audio_buffer_lock(int32_t buffer, uint32_t offset, uint32_t bytes, uint32_t* locked_bytes) {
  AudioBuffer* b = find(buffer);
  uint32_t size = b ? static_cast<uint32_t>(b->bytes.size()) : 0;
  if (!b || offset >= size) {
    if (locked_bytes) *locked_bytes = 0;
    return nullptr;
  }
  uint32_t n = bytes == 0 || bytes > size - offset ? size - offset : bytes;
  if (b->locked) {
    // A second lock before the unlock widens the span to be converted.
    if (offset < b->dirty_begin) b->dirty_begin = offset;
    if (offset + n > b->dirty_end) b->dirty_end = offset + n;
  } else {
    b->locked = true;
    b->dirty_begin = offset;
    b->dirty_end = offset + n;
  }
  if (locked_bytes) *locked_bytes = n;
  return b->bytes.data() + offset;
}

void platform_audio_buffer_unlock(int32_t buffer) {
  AudioBuffer* b = find(buffer);
  if (!b || !b->locked) return;
  b->locked = false;
  uint32_t first = b->dirty_begin / b->block;
  uint32_t end = (b->dirty_end + b->block - 1) / b->block;
  if (end > b->source_frames) end = b->source_frames;
  if (!b->has_converted || (first == 0 && end == b->source_frames)) {
    convert_whole(*b);
  } else if (first < end) {
    convert_span(*b, first, end);
  }
}

int32_t platform_audio_buffer_play(int32_t buffer, uint32_t from_offset, int32_t looping) {
  AudioBuffer* b = find(buffer);
  if (!b || from_offset >= b->bytes.size()) return 0;
  if (!b->has_converted && !convert_whole(*b)) return 0;
  uint32_t start = to_device_frame(*b, from_offset / b->block);
  mixer_lock();
  if (!b->voice.playing) audio.active.push_back(&b->voice);
  b->voice.position = start;
  b->voice.looping = looping ? 1 : 0;
  b->voice.finished = 0;
  b->voice.playing = 1;
  mixer_unlock();
  return 1;
}

void platform_audio_buffer_stop(int32_t buffer) {
  AudioBuffer* b = find(buffer);
  if (!b) return;
  mixer_lock();
  if (b->voice.playing) {
    b->voice.playing = 0;
    remove_active(&b->voice);
  }
  mixer_unlock();
}

int32_t platform_audio_buffer_playing(int32_t buffer) {
  AudioBuffer* b = find(buffer);
  if (!b) return 0;
  mixer_lock();
  int32_t playing = b->voice.playing;
  mixer_unlock();
  return playing;
}

int32_t platform_audio_buffer_position(int32_t buffer, uint32_t* position) {
  AudioBuffer* b = find(buffer);
  if (!b || !position) return 0;
  mixer_lock();
  uint32_t device_frame = b->voice.position;
  mixer_unlock();
  *position = to_source_frame(*b, device_frame) * b->block;
  return 1;
}

int32_t platform_audio_buffer_get_pan(int32_t buffer, int32_t* pan) {
  AudioBuffer* b = find(buffer);
  if (!b || !pan) return 0;
  *pan = b->pan;
  return 1;
}

int32_t platform_audio_buffer_set_pan(int32_t buffer, int32_t pan) {
  AudioBuffer* b = find(buffer);
  if (!b) return 0;
  b->pan = pcm_pan_clamped(pan);
  int32_t left, right;
  mixer_pan_gains(b->pan, &left, &right);
  mixer_lock();
  b->voice.gain_left = left;
  b->voice.gain_right = right;
  mixer_unlock();
  return 1;
}

int32_t platform_audio_buffer_format(int32_t buffer, PcmFormat* format) {
  AudioBuffer* b = find(buffer);
  if (!b || !format) return 0;
  *format = b->format;
  return 1;
}
