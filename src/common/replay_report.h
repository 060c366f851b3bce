// The fingerprints of a replay as text, the form the golden files keep and every platform's
// replay reports: "frames N", N lines of 16 hex digits, "sounds M", M lines "frame label".
#pragma once
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

inline std::string replay_report_text(const std::vector<uint64_t>& frames, const std::vector<std::string>& sounds) {
  std::string out = "frames " + std::to_string(frames.size()) + "\n";
  char line[32];
  for (uint64_t h : frames) {
    std::snprintf(line, sizeof line, "%016" PRIx64 "\n", h);
    out += line;
  }
  out += "sounds " + std::to_string(sounds.size()) + "\n";
  for (const std::string& s : sounds) out += s + "\n";
  return out;
}
