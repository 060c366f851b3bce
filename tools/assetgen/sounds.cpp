// The recipes of the sixteen sounds and their writing into WAVE files.
#include "sounds.h"

#include <string>

#include "sound/wave.h"
#include "synth.h"

namespace {

// Note frequencies used by the tunes.
constexpr float C4 = 261.63f, EB4 = 311.13f, G4 = 392.0f, C5 = 523.25f, D5 = 587.33f,
                E5 = 659.25f, G5 = 783.99f, C6 = 1046.5f, E6 = 1318.5f, G6 = 1567.98f;

Voice tone(float start, float length, float f0, float f1, Waveform wave, float amplitude, float attack, float decay) {
  return Voice{start, length, f0, f1, wave, amplitude, attack, decay, 0.0f, 0.0f};
}

// A claim: two crisp rising square blips, the second a fifth above.
std::vector<int16_t> beep_arcade() {
  Sound s = sound_make(0.17f);
  sound_voice(&s, tone(0.0f, 0.055f, 880.0f, 940.0f, WAVE_SQUARE, 0.5f, 0.002f, 0.05f));
  sound_voice(&s, tone(0.06f, 0.11f, 1320.0f, 1400.0f, WAVE_SQUARE, 0.5f, 0.002f, 0.05f));
  sound_voice(&s, tone(0.06f, 0.11f, 2640.0f, 2800.0f, WAVE_SINE, 0.12f, 0.002f, 0.03f));
  return sound_finish(s, SOUND_PEAK * 0.9f);
}

// The QIX touches the stix: a burst of distorted noise over a saw crashing downward.
std::vector<int16_t> stixhit() {
  Sound s = sound_make(0.5f);
  sound_noise(&s, 0.0f, 0.5f, 0.9f, 3500.0f, 0.001f, 0.09f, 2, 0.0f);
  sound_voice(&s, tone(0.0f, 0.5f, 340.0f, 55.0f, WAVE_SAW, 0.8f, 0.002f, 0.16f));
  sound_voice(&s, tone(0.0f, 0.5f, 357.0f, 60.0f, WAVE_SQUARE, 0.5f, 0.002f, 0.12f));
  sound_drive(&s, 3.0f);
  sound_lowpass(&s, 5000.0f);
  return sound_finish(s, SOUND_PEAK);
}

// A link is made: three quick blips climbing, over a rising sweep.
std::vector<int16_t> connect() {
  Sound s = sound_make(0.5f);
  sound_voice(&s, tone(0.0f, 0.45f, 220.0f, 1100.0f, WAVE_TRIANGLE, 0.35f, 0.02f, 0.0f));
  const float notes[3] = {660.0f, 880.0f, 1320.0f};
  for (int32_t i = 0; i < 3; ++i)
    sound_voice(&s, tone(0.05f + 0.13f * static_cast<float>(i), 0.11f, notes[i], notes[i], WAVE_SQUARE, 0.4f, 0.003f, 0.06f));
  return sound_finish(s, SOUND_PEAK * 0.85f);
}

// The machine comes up: a swelling saw chord rising an octave, then an arpeggio and a chime.
std::vector<int16_t> startup() {
  Sound s = sound_make(1.1f);
  sound_voice(&s, tone(0.0f, 0.6f, 65.4f, 130.8f, WAVE_SAW, 0.35f, 0.25f, 0.0f));
  sound_voice(&s, tone(0.0f, 0.6f, 98.0f, 196.0f, WAVE_SAW, 0.25f, 0.25f, 0.0f));
  sound_lowpass(&s, 1800.0f);
  const float arpeggio[4] = {C5, E5, G5, C6};
  for (int32_t i = 0; i < 4; ++i)
    sound_voice(&s, tone(0.5f + 0.08f * static_cast<float>(i), 0.3f, arpeggio[i], arpeggio[i], WAVE_SQUARE, 0.22f, 0.003f, 0.1f));
  sound_voice(&s, tone(0.82f, 0.28f, C6 * 2.0f, C6 * 2.0f, WAVE_SINE, 0.25f, 0.002f, 0.09f));
  return sound_finish(s, SOUND_PEAK * 0.9f);
}

// The beat of play: a low thump with a soft click on top.
std::vector<int16_t> enginebeat() {
  Sound s = sound_make(0.26f);
  sound_voice(&s, tone(0.0f, 0.26f, 110.0f, 42.0f, WAVE_SINE, 1.0f, 0.003f, 0.07f));
  sound_voice(&s, tone(0.0f, 0.26f, 220.0f, 84.0f, WAVE_TRIANGLE, 0.25f, 0.003f, 0.03f));
  sound_noise(&s, 0.0f, 0.02f, 0.25f, 2500.0f, 0.0005f, 0.004f, 5, 0.0f);
  return sound_finish(s, SOUND_PEAK * 0.75f);
}

// The Fuse: hiss with crackling pops, like a burning wick.
std::vector<int16_t> fusehit() {
  Sound s = sound_make(0.32f);
  sound_noise(&s, 0.0f, 0.32f, 0.35f, 0.0f, 0.01f, 0.15f, 6, 0.0f);
  sound_noise(&s, 0.0f, 0.32f, 1.0f, 0.0f, 0.005f, 0.2f, 7, 0.02f);
  sound_highpass(&s, 2500.0f);
  return sound_finish(s, SOUND_PEAK * 0.8f);
}

// A life is lost: a wobbling square falling three octaves.
std::vector<int16_t> dying() {
  Sound s = sound_make(1.2f);
  sound_voice(&s, Voice{0.0f, 1.2f, 880.0f, 110.0f, WAVE_SQUARE, 0.5f, 0.005f, 0.6f, 11.0f, 0.05f});
  sound_voice(&s, Voice{0.0f, 1.2f, 440.0f, 55.0f, WAVE_TRIANGLE, 0.4f, 0.005f, 0.7f, 11.0f, 0.05f});
  sound_lowpass(&s, 4000.0f);
  return sound_finish(s, SOUND_PEAK);
}

// The game is over: a slow minor phrase over a low drone.
std::vector<int16_t> dead() {
  Sound s = sound_make(2.0f);
  sound_voice(&s, tone(0.0f, 0.42f, G4, G4, WAVE_TRIANGLE, 0.5f, 0.02f, 0.5f));
  sound_voice(&s, tone(0.42f, 0.42f, EB4, EB4, WAVE_TRIANGLE, 0.5f, 0.02f, 0.5f));
  sound_voice(&s, Voice{0.84f, 1.16f, C4, C4 * 0.97f, WAVE_TRIANGLE, 0.55f, 0.02f, 0.6f, 5.0f, 0.012f});
  sound_voice(&s, tone(0.0f, 2.0f, 65.4f, 65.4f, WAVE_SAW, 0.18f, 0.3f, 0.9f));
  sound_lowpass(&s, 2200.0f);
  return sound_finish(s, SOUND_PEAK * 0.9f);
}

// Goodbye: a bell-like arpeggio falling gently.
std::vector<int16_t> quit() {
  Sound s = sound_make(1.7f);
  const float notes[4] = {C6, G5, E5, C5};
  for (int32_t i = 0; i < 4; ++i) {
    const float start = 0.22f * static_cast<float>(i), f = notes[i];
    sound_voice(&s, tone(start, 1.7f - start, f, f, WAVE_SINE, 0.5f, 0.004f, 0.45f));
    sound_voice(&s, tone(start, 1.7f - start, f * 2.76f, f * 2.76f, WAVE_SINE, 0.12f, 0.002f, 0.12f));  // bell overtone
  }
  return sound_finish(s, SOUND_PEAK * 0.85f);
}

// A level is cleared: a short fanfare, three quick notes and a held top note with vibrato.
std::vector<int16_t> success() {
  Sound s = sound_make(1.3f);
  const float notes[3] = {C5, E5, G5};
  for (int32_t i = 0; i < 3; ++i) {
    const float start = 0.1f * static_cast<float>(i);
    sound_voice(&s, tone(start, 0.1f, notes[i], notes[i], WAVE_SQUARE, 0.35f, 0.003f, 0.2f));
    sound_voice(&s, tone(start, 0.1f, notes[i] * 1.005f, notes[i] * 1.005f, WAVE_SAW, 0.2f, 0.003f, 0.2f));
  }
  sound_voice(&s, Voice{0.3f, 1.0f, C6, C6, WAVE_SQUARE, 0.35f, 0.005f, 0.45f, 6.0f, 0.01f});
  sound_voice(&s, Voice{0.3f, 1.0f, G5, G5, WAVE_SAW, 0.2f, 0.005f, 0.45f, 6.0f, 0.01f});
  sound_voice(&s, Voice{0.3f, 1.0f, E5, E5, WAVE_TRIANGLE, 0.3f, 0.005f, 0.5f, 0.0f, 0.0f});
  sound_lowpass(&s, 6000.0f);
  return sound_finish(s, SOUND_PEAK);
}

// More Sparx: a two-tone alarm, three times.
std::vector<int16_t> newsparx() {
  Sound s = sound_make(0.9f);
  for (int32_t i = 0; i < 3; ++i) {
    const float start = 0.3f * static_cast<float>(i);
    sound_voice(&s, tone(start, 0.13f, 740.0f, 760.0f, WAVE_SQUARE, 0.45f, 0.003f, 0.2f));
    sound_voice(&s, tone(start + 0.14f, 0.13f, 990.0f, 1010.0f, WAVE_SQUARE, 0.45f, 0.003f, 0.2f));
  }
  sound_lowpass(&s, 4000.0f);
  return sound_finish(s, SOUND_PEAK * 0.75f);
}

// The link drops: a sweep falling from high to low, roughening as it goes.
std::vector<int16_t> disconnect() {
  Sound s = sound_make(0.8f);
  sound_voice(&s, tone(0.0f, 0.8f, 1400.0f, 90.0f, WAVE_SQUARE, 0.5f, 0.005f, 0.45f));
  sound_voice(&s, tone(0.0f, 0.8f, 700.0f, 45.0f, WAVE_SAW, 0.3f, 0.005f, 0.45f));
  sound_lowpass(&s, 3500.0f);
  return sound_finish(s, SOUND_PEAK * 0.75f);
}

// Power down: a machine winding down, its hum sinking and dulling.
std::vector<int16_t> shutdown() {
  Sound s = sound_make(1.5f);
  sound_voice(&s, tone(0.0f, 1.5f, 240.0f, 28.0f, WAVE_SAW, 0.6f, 0.01f, 0.8f));
  sound_voice(&s, tone(0.0f, 1.5f, 362.0f, 42.0f, WAVE_SQUARE, 0.25f, 0.01f, 0.6f));
  sound_noise(&s, 0.0f, 1.5f, 0.15f, 900.0f, 0.01f, 0.5f, 13, 0.0f);
  sound_lowpass(&s, 1500.0f);
  return sound_finish(s, SOUND_PEAK * 0.75f);
}

// A new record: a bigger fanfare climbing to a trilled high chord.
std::vector<int16_t> record() {
  Sound s = sound_make(1.7f);
  const float notes[4] = {G4, C5, E5, G5};
  for (int32_t i = 0; i < 4; ++i) {
    const float start = 0.09f * static_cast<float>(i);
    sound_voice(&s, tone(start, 0.09f, notes[i], notes[i], WAVE_SQUARE, 0.35f, 0.003f, 0.2f));
  }
  for (int32_t i = 0; i < 8; ++i) {
    const float start = 0.36f + 0.06f * static_cast<float>(i);
    const float f = (i % 2 == 0) ? C6 : D5 * 2.0f;
    sound_voice(&s, tone(start, 0.06f, f, f, WAVE_SQUARE, 0.28f, 0.002f, 0.1f));
  }
  sound_voice(&s, Voice{0.84f, 0.86f, C6, C6, WAVE_SQUARE, 0.3f, 0.005f, 0.4f, 6.0f, 0.01f});
  sound_voice(&s, Voice{0.84f, 0.86f, E6, E6, WAVE_SAW, 0.16f, 0.005f, 0.4f, 6.0f, 0.01f});
  sound_voice(&s, Voice{0.84f, 0.86f, G6 / 2.0f, G6 / 2.0f, WAVE_TRIANGLE, 0.3f, 0.005f, 0.45f, 0.0f, 0.0f});
  sound_lowpass(&s, 6000.0f);
  return sound_finish(s, SOUND_PEAK);
}

// The menu moves: a tiny tick.
std::vector<int16_t> menubrowse() {
  Sound s = sound_make(0.06f);
  sound_voice(&s, tone(0.0f, 0.06f, 1500.0f, 1300.0f, WAVE_SINE, 0.8f, 0.001f, 0.012f));
  sound_noise(&s, 0.0f, 0.01f, 0.3f, 6000.0f, 0.0005f, 0.002f, 17, 0.0f);
  return sound_finish(s, SOUND_PEAK * 0.6f);
}

// The menu confirms: two bright notes, the second a fifth up.
std::vector<int16_t> menuselect() {
  Sound s = sound_make(0.2f);
  sound_voice(&s, tone(0.0f, 0.07f, 660.0f, 660.0f, WAVE_TRIANGLE, 0.6f, 0.002f, 0.05f));
  sound_voice(&s, tone(0.07f, 0.13f, 990.0f, 990.0f, WAVE_TRIANGLE, 0.6f, 0.002f, 0.06f));
  sound_voice(&s, tone(0.07f, 0.13f, 1980.0f, 1980.0f, WAVE_SINE, 0.15f, 0.002f, 0.04f));
  return sound_finish(s, SOUND_PEAK * 0.75f);
}

}  // namespace

const SoundSpec SOUNDS[SOUND_COUNT] = {
    {"beep_arcade.wav", beep_arcade}, {"stixhit.wav", stixhit},       {"connect.wav", connect},
    {"startup.wav", startup},         {"enginebeat.wav", enginebeat}, {"fusehit.wav", fusehit},
    {"dying.wav", dying},             {"dead.wav", dead},             {"quit.wav", quit},
    {"success.wav", success},         {"newsparx.wav", newsparx},     {"disconnect.wav", disconnect},
    {"shutdown.wav", shutdown},       {"record.wav", record},         {"menubrowse.wav", menubrowse},
    {"menuselect.wav", menuselect},
};

int32_t sound_save(const char* path, const std::vector<int16_t>& samples) {
  WaveFormat format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 1;
  format.nSamplesPerSec = SYNTH_RATE;
  format.wBitsPerSample = 16;
  format.nBlockAlign = 2;
  format.nAvgBytesPerSec = SYNTH_RATE * 2;
  format.cbSize = 0;
  // Sample bytes in file order: 16-bit little-endian.
  std::vector<uint8_t> bytes(samples.size() * 2);
  for (size_t i = 0; i < samples.size(); ++i) {
    const uint16_t v = static_cast<uint16_t>(samples[i]);
    bytes[2 * i] = static_cast<uint8_t>(v & 0xFF);
    bytes[2 * i + 1] = static_cast<uint8_t>(v >> 8);
  }
  return wav_save_whole(path, static_cast<uint32_t>(bytes.size()), static_cast<uint32_t>(samples.size()), &format,
                        bytes.data()) == 0
             ? 1
             : 0;
}

int32_t assetgen_write_sounds(const char* directory) {
  for (const SoundSpec& spec : SOUNDS) {
    const std::string path = std::string(directory) + "/" + spec.file_name;
    if (!sound_save(path.c_str(), spec.make())) return 0;
  }
  return 1;
}
