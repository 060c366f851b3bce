// Opt-in measurement: with ZORVANE_FRAME_STATS=<file> the wall-clock time of the first present
// (Unix ms) and then one line a second are appended to the file: frames presented, the
// milliseconds counted over, frames left unchanged, and how presents are paced.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"
#include "platform/sdl/present_parts.h"
#include "platform/sdl/video_sdl.h"

namespace {

enum : int32_t { STATS_UNREAD = 0, STATS_OFF = 1, STATS_ON = 2 };

void stats_start(FrameStats& stats) {
  stats.path = std::getenv("ZORVANE_FRAME_STATS");
  stats.state = stats.path && *stats.path ? STATS_ON : STATS_OFF;
  if (stats.state != STATS_ON) return;
  stats.since = platform_ticks();
  const long long unix_ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                                std::chrono::system_clock::now().time_since_epoch()).count();
  if (std::FILE* f = std::fopen(stats.path, "a")) {
    std::fprintf(f, "first_present_unix_ms=%lld\n", unix_ms);
    std::fclose(f);
  }
}

}  // namespace

void frame_stats_count(FrameStats& stats, bool shown, bool vsync_trusted) {
  if (stats.state == STATS_UNREAD) stats_start(stats);
  if (stats.state != STATS_ON) return;
  ++(shown ? stats.presents : stats.unchanged);
  const uint32_t now = platform_ticks();
  if (now - stats.since < 1000) return;
  if (std::FILE* f = std::fopen(stats.path, "a")) {
    std::fprintf(f, "presents=%u ms=%u unchanged=%u vsync=%d software=%d\n", stats.presents, now - stats.since,
                 stats.unchanged, vsync_trusted ? 1 : 0, sdl_video.software ? 1 : 0);
    std::fclose(f);
  }
  stats.presents = stats.unchanged = 0;
  stats.since = now;
}
