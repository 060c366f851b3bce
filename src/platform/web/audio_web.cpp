// Sound in the browser: the game's buffers, converted to the mixer's format, mixed by the same
// mixer as on the desktop and pulled by Web Audio a block at a time. Browsers start sound only
// after the player has pressed a key, so until then buffers play into silence.
#include <emscripten.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/common/audio_mixer.h"
#include "platform/common/pcm_convert.h"
#include "platform/platform.h"
#include "platform/web/web_platform.h"

namespace {

constexpr int32_t DEVICE_RATE = 44100;
constexpr int32_t BLOCK_FRAMES = 4096;  // the largest block the page asks for at once
// Converted copies larger than this are refused rather than exhausting the page's memory.
constexpr uint64_t MAX_CONVERTED_BYTES = 64ull << 20;

struct WebBuffer {
  PcmFormat format{};
  uint32_t block = 0;  // bytes per source frame
  uint32_t source_frames = 0;
  std::vector<uint8_t> bytes;
  std::vector<int16_t> converted;  // valid when has_converted
  bool has_converted = false;
  int32_t pan = 0;
  std::string label;
  MixVoice voice;
};

struct WebAudio {
  bool open = false;
  std::map<int32_t, std::unique_ptr<WebBuffer>> buffers;
  int32_t next_handle = 1;
  std::vector<MixVoice*> active;
  std::vector<int32_t> accumulator;
  std::vector<int16_t> out;
};

WebAudio audio;

WebBuffer* find(int32_t handle) {
  if (!audio.open) return nullptr;
  auto it = audio.buffers.find(handle);
  return it == audio.buffers.end() ? nullptr : it->second.get();
}

void convert(WebBuffer& b) {
  pcm_convert_stereo16(b.bytes.data(), b.source_frames, b.format, DEVICE_RATE, &b.converted);
  b.has_converted = true;
  b.voice.frames = b.converted.data();
  b.voice.frame_count = static_cast<uint32_t>(b.converted.size() / 2);
  if (b.voice.position >= b.voice.frame_count) b.voice.position = 0;
}

void deactivate(MixVoice* v) {
  v->playing = 0;
  for (size_t i = 0; i < audio.active.size(); ++i) {
    if (audio.active[i] == v) {
      audio.active[i] = audio.active.back();
      audio.active.pop_back();
      return;
    }
  }
}

// Starts Web Audio (or wakes it after the page was hidden): a script node that pulls each block
// from zorvane_audio_mix.
EM_JS(void, page_audio_start, (int rate), {
  var ctx = Module['zorvaneAudio'];
  if (ctx) {
    if (ctx.state === 'suspended') ctx.resume();
    return;
  }
  var Context = window.AudioContext || window.webkitAudioContext;
  if (!Context) return;
  try {
    ctx = new Context({sampleRate: rate});
  } catch (e) {
    return;
  }
  Module['zorvaneAudio'] = ctx;
  var node = ctx.createScriptProcessor(1024, 0, 2);
  node.onaudioprocess = function(event) {
    var n = event.outputBuffer.length;
    var left = event.outputBuffer.getChannelData(0), right = event.outputBuffer.getChannelData(1);
    var at = Module['_zorvane_audio_mix'](n) >> 1;
    for (var i = 0; i < n; ++i) {
      left[i] = HEAP16[at + 2 * i] / 32768;
      right[i] = HEAP16[at + 2 * i + 1] / 32768;
    }
  };
  node.connect(ctx.destination);
  ctx.resume();
});

}  // namespace

// Mixes the next frames of every playing buffer; the page copies them out at once.
extern "C" EMSCRIPTEN_KEEPALIVE int16_t* zorvane_audio_mix(int32_t frames) {
  if (frames > BLOCK_FRAMES) frames = BLOCK_FRAMES;
  audio.out.assign(static_cast<size_t>(BLOCK_FRAMES) * 2, 0);
  if (!audio.open || frames <= 0) return audio.out.data();
  mixer_mix(audio.active.data(), static_cast<int32_t>(audio.active.size()), audio.out.data(), frames,
            audio.accumulator.data());
  std::erase_if(audio.active, [](const MixVoice* v) { return !v->playing; });
  return audio.out.data();
}

void web_audio_unlock() {
  if (audio.open) page_audio_start(DEVICE_RATE);
}

void web_audio_reset() {
  audio.buffers.clear();
  audio.active.clear();
  audio.next_handle = 1;
}

int32_t platform_audio_open() {
  if (audio.open) return 1;
  audio.open = true;
  audio.accumulator.assign(static_cast<size_t>(BLOCK_FRAMES) * 2, 0);
  audio.out.assign(static_cast<size_t>(BLOCK_FRAMES) * 2, 0);
  audio.active.reserve(64);
  return 1;
}

void platform_audio_close() {
  web_audio_reset();
  audio.open = false;
}

int32_t platform_audio_buffer_create(const PcmFormat* format, uint32_t bytes, const char* label) {
  if (!audio.open || !format || bytes == 0) return 0;
  if (!pcm_format_playable(*format)) return 0;
  const uint32_t block = static_cast<uint32_t>(format->channels * format->bits_per_sample / 8);
  const uint32_t frames = bytes / block;
  if (static_cast<uint64_t>(pcm_converted_frames(frames, format->sample_rate, DEVICE_RATE)) * 4 > MAX_CONVERTED_BYTES)
    return 0;
  auto b = std::make_unique<WebBuffer>();
  b->format = *format;
  b->block = block;
  b->source_frames = frames;
  b->bytes.assign(bytes, format->bits_per_sample == 8 ? 0x80 : 0x00);  // silence
  b->label = label ? label : "";
  mixer_pan_gains(0, &b->voice.gain_left, &b->voice.gain_right);
  const int32_t handle = audio.next_handle++;
  if (audio.next_handle <= 0) audio.next_handle = 1;
  audio.buffers[handle] = std::move(b);
  return handle;
}

void platform_audio_buffer_release(int32_t buffer) {
  WebBuffer* b = find(buffer);
  if (!b) return;
  deactivate(&b->voice);
  audio.buffers.erase(buffer);
}

uint8_t* platform_audio_buffer_lock(int32_t buffer, uint32_t offset, uint32_t bytes, uint32_t* locked_bytes) {
  WebBuffer* b = find(buffer);
  const uint32_t size = b ? static_cast<uint32_t>(b->bytes.size()) : 0;
  if (!b || offset >= size) {
    if (locked_bytes) *locked_bytes = 0;
    return nullptr;
  }
  if (locked_bytes) *locked_bytes = bytes == 0 || bytes > size - offset ? size - offset : bytes;
  return b->bytes.data() + offset;
}

// Nothing mixes while the game runs (one thread), so the whole copy is made again at once.
void platform_audio_buffer_unlock(int32_t buffer) {
  if (WebBuffer* b = find(buffer)) convert(*b);
}

int32_t platform_audio_buffer_play(int32_t buffer, uint32_t from_offset, int32_t looping) {
  WebBuffer* b = find(buffer);
  if (!b || from_offset >= b->bytes.size()) return 0;
  if (!b->has_converted) convert(*b);  // played without ever being filled: silence
  const uint32_t source_frame = from_offset / b->block;
  if (!b->voice.playing) audio.active.push_back(&b->voice);
  b->voice.position = pcm_device_frame(source_frame, b->source_frames, b->voice.frame_count);
  b->voice.looping = looping ? 1 : 0;
  b->voice.finished = 0;
  b->voice.playing = 1;
  web_log_sound(b->label.c_str());
  return 1;
}

void platform_audio_buffer_stop(int32_t buffer) {
  if (WebBuffer* b = find(buffer)) deactivate(&b->voice);
}

int32_t platform_audio_buffer_playing(int32_t buffer) {
  WebBuffer* b = find(buffer);
  return b ? b->voice.playing : 0;
}

int32_t platform_audio_buffer_position(int32_t buffer, uint32_t* position) {
  WebBuffer* b = find(buffer);
  if (!b || !position) return 0;
  *position = pcm_source_frame(b->voice.position, b->source_frames, b->voice.frame_count) * b->block;
  return 1;
}

int32_t platform_audio_buffer_get_pan(int32_t buffer, int32_t* pan) {
  WebBuffer* b = find(buffer);
  if (!b || !pan) return 0;
  *pan = b->pan;
  return 1;
}

int32_t platform_audio_buffer_set_pan(int32_t buffer, int32_t pan) {
  WebBuffer* b = find(buffer);
  if (!b) return 0;
  b->pan = pcm_pan_clamped(pan);
  mixer_pan_gains(b->pan, &b->voice.gain_left, &b->voice.gain_right);
  return 1;
}

int32_t platform_audio_buffer_format(int32_t buffer, PcmFormat* format) {
  WebBuffer* b = find(buffer);
  if (!b || !format) return 0;
  *format = b->format;
  return 1;
}
