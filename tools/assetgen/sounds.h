// The game's sixteen sound effects, synthesised and stored as 16-bit mono PCM WAVE files.
#pragma once
#include <cstdint>
#include <vector>

// Every sound peaks at this share of full scale (about -3.4 dBFS) or below, so that sounds
// that overlap in the mixer do not clip harshly.
constexpr float SOUND_PEAK = 0.68f;

struct SoundSpec {
  const char* file_name;
  std::vector<int16_t> (*make)();
};
constexpr int32_t SOUND_COUNT = 16;
// In the order of the game's sound ids 1..16.
extern const SoundSpec SOUNDS[SOUND_COUNT];

// Writes one sound as a WAVE file through the game's own writer; 1 or 0.
int32_t sound_save(const char* path, const std::vector<int16_t>& samples);
// Writes the sixteen sounds into the directory; 1, or 0 when a file could not be written.
int32_t assetgen_write_sounds(const char* directory);
