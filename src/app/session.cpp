// Live, recorded and replayed runs.
#include "app/session.h"

#include <time.h>

#include <cinttypes>
#include <cstdio>

#include "common/frame_hash.h"
#include "game/hiscore.h"
#include "platform/platform.h"

namespace {

uint64_t monotonic_ns() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<uint64_t>(ts.tv_sec) * 1000000000ull + static_cast<uint64_t>(ts.tv_nsec);
}

bool replaying(const Session& s) { return s.mode == DemoMode::PLAY || s.mode == DemoMode::TIME; }

}  // namespace

Input session_poll_platform(uint16_t previous_held) {
  Input input;
  for (int32_t i = 0; i < GAME_KEY_COUNT; ++i)
    if (platform_key_down(GAME_KEYS[i])) input.held |= static_cast<uint16_t>(1u << i);
  input.pressed = static_cast<uint16_t>(input.held & ~previous_held);
  input.close_requested = platform_close_requested() != 0;
  input.focused = platform_has_focus() != 0;
  input.seconds = platform_time_seconds();
  return input;
}

bool session_open(Session* session, const Options& options, std::string* error) {
  session->mode = options.demo;
  session->file = options.demo_file;
  session->checksum = FRAME_HASH_SEED;
  if (!replaying(*session)) return true;
  std::string bytes;
  if (!platform_file_read(session->file.c_str(), &bytes, DEMO_MAX_FILE_BYTES)) {
    *error = "cannot read the demo (missing, unreadable or too large)";
    return false;
  }
  if (!demo_decode(bytes, &session->demo, error)) return false;
  session->cursor = demo_cursor(session->demo);
  return true;
}

uint32_t session_seed(Session* session, const Options& options) {
  if (replaying(*session)) return session->demo.seed;
  uint32_t seed = options.seed;
  if (!options.seed_given) {
    // Milliseconds of the calendar clock: two runs started at different moments differ.
    timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    seed = static_cast<uint32_t>(static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u);
  }
  session->demo.seed = seed;  // what a recording stores
  return seed;
}

int64_t session_start_seconds(Session* session, Hiscores& hiscores) {
  if (replaying(*session)) {
    // The hi-score table is the demo's, in memory: a replay never reads or writes the player's.
    hiscore_use_storage(hiscores, HiscoreStorage::MEMORY, session->demo.scores);
    return session->demo.start_seconds;
  }
  if (session->mode == DemoMode::RECORD) {
    // The recorded run reads the table once, as the demo stores it; its saves still reach the file.
    std::string scores;
    if (!platform_scores_read(&scores) || scores.size() > DEMO_MAX_SCORES_BYTES) scores.clear();
    session->demo.scores = scores;
    hiscore_use_storage(hiscores, HiscoreStorage::FILE_AND_MEMORY, scores);
  }
  session->demo.start_seconds = platform_time_seconds();
  return session->demo.start_seconds;
}

bool session_next_input(Session* session, Input* input) {
  if (!replaying(*session)) {
    *input = session_poll_platform(session->previous_held);
    session->previous_held = input->held;
    if (session->mode == DemoMode::RECORD) demo_append(&session->demo, *input);
    return true;
  }
  if (session->mode == DemoMode::PLAY) {
    // A key pressed, or the window's close, ends a replay shown on the screen (a key already
    // down when it started, such as the Enter that launched it, must first come up).
    const bool any_key = platform_any_key_down() != 0;
    const bool pressed = any_key && !session->any_key_was_down;
    session->any_key_was_down = any_key;
    if ((pressed && session->cursor.pass > 0) || platform_close_requested()) {
      session->interrupted = true;
      return false;
    }
  }
  if (session->mode == DemoMode::TIME && session->first_pass_ns == 0) session->first_pass_ns = monotonic_ns();
  return demo_next(session->demo, &session->cursor, input);
}

double session_replay_seconds(const Session& session) {
  if (session.last_frame_ns < session.first_pass_ns) return 0;
  return static_cast<double>(session.last_frame_ns - session.first_pass_ns) / 1e9;
}

void session_take_frame(Session* session, uint64_t hash) {
  ++session->frames;
  if (session->mode == DemoMode::TIME) session->last_frame_ns = monotonic_ns();
  session->checksum = frame_hash_mix(session->checksum, hash);
  const uint16_t check = static_cast<uint16_t>(hash);
  if (session->mode == DemoMode::RECORD) {
    session->demo.frame_checks.push_back(check);
  } else if (replaying(*session) && session->first_mismatch < 0) {
    const auto& checks = session->demo.frame_checks;
    if (session->frames > checks.size() || checks[session->frames - 1] != check)
      session->first_mismatch = static_cast<int64_t>(session->frames);
  }
}

int32_t session_finish(Session* session, int32_t exit_status) {
  const char* file = session->file.c_str();
  if (session->mode == DemoMode::RECORD) {
    session->demo.checksum = session->checksum;
    const std::string bytes = demo_encode(session->demo);
    if (!platform_file_replace(file, bytes.data(), bytes.size())) {
      std::fprintf(stderr, "zorvane: %s: cannot write the demo\n", file);
      return 1;
    }
    return exit_status;
  }
  if (!replaying(*session) || session->interrupted) return exit_status;
  if (session->mode == DemoMode::TIME) {
    const double seconds = session_replay_seconds(*session);
    std::printf("frames %" PRIu64 ", seconds %.3f, fps %.1f, checksum %016" PRIx64 "\n", session->frames, seconds,
                seconds > 0 ? static_cast<double>(session->frames) / seconds : 0.0, session->checksum);
    std::fflush(stdout);
  }
  // A replay that showed fewer frames than the recording differs at the first one missing.
  if (session->first_mismatch < 0 && session->frames < session->demo.frame_checks.size())
    session->first_mismatch = static_cast<int64_t>(session->frames + 1);
  if (session->first_mismatch >= 0 || session->checksum != session->demo.checksum) {
    if (session->first_mismatch >= 0)
      std::fprintf(stderr, "zorvane: %s: the replay differs from the recording from frame %" PRId64 " on\n", file,
                   session->first_mismatch);
    else
      std::fprintf(stderr, "zorvane: %s: the replay's frames differ from the recording's\n", file);
    return EXIT_DEMO_MISMATCH;
  }
  return exit_status;
}
