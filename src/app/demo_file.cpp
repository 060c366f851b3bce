// The .zdemo format, little-endian throughout:
//   "ZDEMO\x1a\r\n", u16 version, u16 flags (0), u32 seed, i64 start seconds,
//   u32 scores length + the scores text, u32 passes,
//   u32 run count + runs (varint count, varint held, varint pressed-beyond-held, u8 flags),
//   u32 clock step count + steps (varint gap, zigzag varint delta),
//   u32 frames, u64 checksum, u16 check per frame.
// A press is stored only where the held keys do not already tell it (a key that went down and
// up between two passes), so a key held for a while costs one run, not two.
#include "app/demo_file.h"

#include <cstring>

namespace {

const char MAGIC[8] = {'Z', 'D', 'E', 'M', 'O', '\x1a', '\r', '\n'};
constexpr uint8_t FLAG_CLOSE = 1, FLAG_UNFOCUSED = 2;

struct Writer {
  std::string out;
  void u8(uint8_t v) { out.push_back(static_cast<char>(v)); }
  void le(uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) u8(static_cast<uint8_t>(v >> (8 * i)));
  }
  void varint(uint64_t v) {
    while (v >= 0x80) {
      u8(static_cast<uint8_t>(v | 0x80));
      v >>= 7;
    }
    u8(static_cast<uint8_t>(v));
  }
};

struct Reader {
  const std::string& in;
  size_t at = 0;
  bool ok = true;
  size_t left() const { return in.size() - at; }
  uint64_t le(int bytes) {
    if (!ok || left() < static_cast<size_t>(bytes)) return ok = false, 0;
    uint64_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= static_cast<uint64_t>(static_cast<uint8_t>(in[at + i])) << (8 * i);
    at += static_cast<size_t>(bytes);
    return v;
  }
  uint64_t varint() {
    uint64_t v = 0;
    for (int shift = 0; shift < 64; shift += 7) {
      if (!ok || left() < 1) return ok = false, 0;
      const uint8_t b = static_cast<uint8_t>(in[at++]);
      v |= static_cast<uint64_t>(b & 0x7F) << shift;
      if ((b & 0x80) == 0) return v;
    }
    return ok = false, 0;
  }
};

uint64_t zigzag(int64_t v) { return (static_cast<uint64_t>(v) << 1) ^ static_cast<uint64_t>(v >> 63); }
int64_t unzigzag(uint64_t v) { return static_cast<int64_t>(v >> 1) ^ -static_cast<int64_t>(v & 1); }

uint16_t implied_presses(uint16_t held, uint16_t previous_held) {
  return static_cast<uint16_t>(held & ~previous_held);
}

constexpr uint16_t ALL_KEYS = (1u << GAME_KEY_COUNT) - 1;
// Bounds that keep every sum of clock readings far from overflow: 2^40 s is 35,000 years.
constexpr int64_t CLOCK_LIMIT = int64_t{1} << 40;
constexpr int64_t CLOCK_STEP_LIMIT = int64_t{1} << 32;

}  // namespace

bool demo_equal_pass(const DemoPass& a, const DemoPass& b) {
  return a.held == b.held && a.pressed == b.pressed && a.close_requested == b.close_requested &&
         a.focused == b.focused;
}

void demo_append(Demo* demo, const Input& input) {
  const DemoPass pass{input.held, input.pressed, input.close_requested, input.focused};
  if (demo->passes == 0) demo->recorded_seconds = demo->start_seconds;
  if (input.seconds != demo->recorded_seconds) {
    demo->clock.push_back(
        DemoClockStep{static_cast<uint32_t>(demo->passes + 1 - demo->recorded_step_end), input.seconds - demo->recorded_seconds});
    demo->recorded_step_end = demo->passes + 1;
    demo->recorded_seconds = input.seconds;
  }
  if (!demo->runs.empty() && demo_equal_pass(demo->runs.back().pass, pass) && demo->runs.back().count < UINT32_MAX)
    ++demo->runs.back().count;
  else
    demo->runs.push_back(DemoRun{pass, 1});
  ++demo->passes;
}

std::string demo_encode(const Demo& demo) {
  Writer w;
  w.out.append(MAGIC, sizeof MAGIC);
  w.le(DEMO_VERSION, 2);
  w.le(0, 2);
  w.le(demo.seed, 4);
  w.le(static_cast<uint64_t>(demo.start_seconds), 8);
  w.le(demo.scores.size(), 4);
  w.out += demo.scores;
  w.le(demo.passes, 4);
  w.le(demo.runs.size(), 4);
  uint16_t previous_held = 0;
  for (const DemoRun& r : demo.runs) {
    w.varint(r.count);
    w.varint(r.pass.held);
    w.varint(static_cast<uint16_t>(r.pass.pressed ^ implied_presses(r.pass.held, previous_held)));
    w.u8(static_cast<uint8_t>((r.pass.close_requested ? FLAG_CLOSE : 0) | (r.pass.focused ? 0 : FLAG_UNFOCUSED)));
    previous_held = r.pass.held;
  }
  w.le(demo.clock.size(), 4);
  for (const DemoClockStep& s : demo.clock) {
    w.varint(s.gap);
    w.varint(zigzag(s.delta));
  }
  w.le(demo.frame_checks.size(), 4);
  w.le(demo.checksum, 8);
  for (uint16_t c : demo.frame_checks) w.le(c, 2);
  return w.out;
}

bool demo_decode(const std::string& bytes, Demo* out, std::string* error) {
  auto fail = [error](const char* why) {
    *error = why;
    return false;
  };
  if (bytes.size() > DEMO_MAX_FILE_BYTES) return fail("too large to be a demo");
  if (bytes.size() < sizeof MAGIC || std::memcmp(bytes.data(), MAGIC, sizeof MAGIC) != 0)
    return fail("not a Zorvane demo");
  Reader r{bytes, sizeof MAGIC};
  const uint64_t version = r.le(2);
  if (r.ok && version > DEMO_VERSION) {
    *error = "made by a newer version of the game (demo version " + std::to_string(version) + ", this game plays " +
             std::to_string(DEMO_VERSION) + ")";
    return false;
  }
  if (r.ok && version == 0) return fail("unknown demo version 0");
  const uint64_t flags = r.le(2);
  if (r.ok && flags != 0) return fail("unknown demo flags");
  Demo demo;
  demo.seed = static_cast<uint32_t>(r.le(4));
  demo.start_seconds = static_cast<int64_t>(r.le(8));
  const uint64_t scores_size = r.le(4);
  if (!r.ok) return fail("truncated header");
  if (demo.start_seconds > CLOCK_LIMIT || demo.start_seconds < -CLOCK_LIMIT) return fail("damaged clock");
  if (scores_size > DEMO_MAX_SCORES_BYTES) return fail("hi-score table too large");
  if (scores_size > r.left()) return fail("truncated hi-score table");
  demo.scores = bytes.substr(r.at, scores_size);
  r.at += scores_size;
  demo.passes = static_cast<uint32_t>(r.le(4));
  const uint64_t run_count = r.le(4);
  // Every run takes at least four bytes: a count is never larger than what the file can hold.
  if (!r.ok || run_count > r.left() / 4) return fail("truncated or damaged input runs");
  demo.runs.reserve(run_count);
  uint64_t total = 0;
  uint16_t previous_held = 0;
  for (uint64_t i = 0; i < run_count; ++i) {
    DemoRun run;
    const uint64_t count = r.varint(), held = r.varint(), extra = r.varint(), run_flags = r.le(1);
    if (!r.ok) return fail("truncated input runs");
    if (count == 0 || count > UINT32_MAX || held > ALL_KEYS || extra > ALL_KEYS || run_flags > 3)
      return fail("damaged input runs");
    run.count = static_cast<uint32_t>(count);
    run.pass.held = static_cast<uint16_t>(held);
    run.pass.pressed = static_cast<uint16_t>(extra ^ implied_presses(run.pass.held, previous_held));
    run.pass.close_requested = (run_flags & FLAG_CLOSE) != 0;
    run.pass.focused = (run_flags & FLAG_UNFOCUSED) == 0;
    previous_held = run.pass.held;
    total += count;
    demo.runs.push_back(run);
  }
  if (total != demo.passes) return fail("input runs do not add up to the passes");
  const uint64_t step_count = r.le(4);
  if (!r.ok || step_count > r.left() / 2) return fail("truncated or damaged clock steps");
  demo.clock.reserve(step_count);
  uint64_t gaps = 0;
  for (uint64_t i = 0; i < step_count; ++i) {
    const uint64_t gap = r.varint(), delta = r.varint();
    if (!r.ok) return fail("truncated clock steps");
    gaps += gap;
    if (gap == 0 || gap > UINT32_MAX || gaps > demo.passes) return fail("clock steps beyond the last pass");
    if (delta > 2 * static_cast<uint64_t>(CLOCK_STEP_LIMIT)) return fail("damaged clock steps");
    demo.clock.push_back(DemoClockStep{static_cast<uint32_t>(gap), unzigzag(delta)});
  }
  const uint64_t frames = r.le(4);
  demo.checksum = r.le(8);
  if (!r.ok) return fail("truncated frame checks");
  if (frames * 2 != r.left()) return fail("frame checks do not match the file's size");
  demo.frame_checks.resize(frames);
  for (uint64_t i = 0; i < frames; ++i) demo.frame_checks[i] = static_cast<uint16_t>(r.le(2));
  *out = std::move(demo);
  return true;
}

DemoCursor demo_cursor(const Demo& demo) {
  DemoCursor c;
  c.seconds = demo.start_seconds;
  c.clock_pass = demo.clock.empty() ? UINT64_MAX : demo.clock[0].gap - 1;
  return c;
}

bool demo_next(const Demo& demo, DemoCursor* c, Input* input) {
  while (c->run < demo.runs.size() && c->in_run >= demo.runs[c->run].count) {
    ++c->run;
    c->in_run = 0;
  }
  if (c->run >= demo.runs.size()) return false;
  if (c->pass == c->clock_pass) {
    c->seconds += demo.clock[c->clock].delta;
    ++c->clock;
    c->clock_pass = c->clock < demo.clock.size() ? c->clock_pass + demo.clock[c->clock].gap : UINT64_MAX;
  }
  const DemoPass& p = demo.runs[c->run].pass;
  input->held = p.held;
  input->pressed = p.pressed;
  input->close_requested = p.close_requested;
  input->focused = p.focused;
  input->seconds = c->seconds;
  ++c->in_run;
  ++c->pass;
  return true;
}
