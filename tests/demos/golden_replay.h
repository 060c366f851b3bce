// Golden demos: a demo replayed through the real main loop on the fake platform, and what the
// player saw and heard: a fingerprint of every frame, every sound with its frame, and the
// milestones the run reached (life lost to a Sparx, level 3, the split bonus paid, ...).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct GoldenResult {
  int32_t exit_status = -1;
  std::vector<uint64_t> frames;         // fingerprint of frame 1, 2, ...
  std::vector<std::string> sounds;      // "<frame> <file>": played after that many frames
  std::vector<std::string> milestones;  // "<frame> <what>": first seen in that frame
  // Frames that came with their own record of what they change, and those records that left
  // out a changed pixel (the first at that frame); from the replay only, never stored.
  uint64_t change_records = 0, change_misses = 0, first_missed_frame = 0;
};

// Replays the demo in a child process, so that every replay starts from a fresh program.
// When dump_frame > 0, the child writes that frame (1-based) and the one before it as PNGs
// named dump_prefix + "-frame-N.png".
bool golden_replay(const std::string& demo_path, const std::string& data_dir, GoldenResult* result,
                   std::string* error, int64_t dump_frame = 0, const std::string& dump_prefix = "");

std::string golden_format(const GoldenResult& result);
bool golden_parse(const std::string& text, GoldenResult* result);
// The kind of a milestone line: "123 life-lost-sparx" gives "life-lost-sparx".
std::string golden_milestone_kind(const std::string& line);
