// Opt-in measurement: with ZORVANE_FRAME_STATS=<file> the wall-clock time of the first present
// (Unix ms) and then one line a second are appended to the file: frames presented, the
// milliseconds counted over, frames left unchanged, how presents are paced, passes that came
// late and the longest gap between passes, and the renderer's output and the window's sizes.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"
#include "platform/common/pacing.h"
#include "platform/sdl/clock_sdl.h"
#include "platform/sdl/present_parts.h"
#include "platform/sdl/video_sdl.h"

namespace {

enum : int32_t { STATS_UNREAD = 0, STATS_OFF = 1, STATS_ON = 2 };

// A pass later than this after the one before missed a tick that the menu (every tick) or the
// game (30 ms frames) would have taken.
constexpr int64_t LATE_GAP_US = 1000000 * 5 / (2 * PACE_TICKS_PER_SECOND);

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
  const int64_t pass_us = clock_now_us();
  if (stats.last_pass_us >= 0) {
    const int64_t gap = pass_us - stats.last_pass_us;
    if (gap > LATE_GAP_US) ++stats.late;
    if (gap > stats.max_gap_us) stats.max_gap_us = gap;
  }
  stats.last_pass_us = pass_us;
  const uint32_t now = platform_ticks();
  if (now - stats.since < 1000) return;
  int out_w = 0, out_h = 0, win_w = 0, win_h = 0;
  SDL_GetRendererOutputSize(sdl_video.renderer, &out_w, &out_h);
  SDL_GetWindowSize(sdl_video.window, &win_w, &win_h);
  if (std::FILE* f = std::fopen(stats.path, "a")) {
    std::fprintf(f, "presents=%u ms=%u unchanged=%u vsync=%d software=%d late=%u max_gap_ms=%lld output=%dx%d window=%dx%d\n",
                 stats.presents, now - stats.since, stats.unchanged, vsync_trusted ? 1 : 0, sdl_video.software ? 1 : 0,
                 stats.late, static_cast<long long>(stats.max_gap_us / 1000), out_w, out_h, win_w, win_h);
    std::fclose(f);
  }
  stats.presents = stats.unchanged = stats.late = 0;
  stats.max_gap_us = 0;
  stats.since = now;
}
