// The demo reader on any bytes: what it accepts must walk to its end, encode again to the
// same bytes' meaning, and decode back to the same demo.
#include <cstdlib>
#include <string>

#include "app/demo_file.h"

namespace {

bool same(const Demo& a, const Demo& b) {
  if (a.seed != b.seed || a.start_seconds != b.start_seconds || a.scores != b.scores || a.passes != b.passes ||
      a.checksum != b.checksum || a.frame_checks != b.frame_checks || a.runs.size() != b.runs.size() ||
      a.clock.size() != b.clock.size())
    return false;
  for (size_t i = 0; i < a.runs.size(); ++i)
    if (a.runs[i].count != b.runs[i].count || !demo_equal_pass(a.runs[i].pass, b.runs[i].pass)) return false;
  for (size_t i = 0; i < a.clock.size(); ++i)
    if (a.clock[i].gap != b.clock[i].gap || a.clock[i].delta != b.clock[i].delta) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  Demo demo;
  std::string error;
  if (!demo_decode(bytes, &demo, &error)) {
    if (error.empty()) std::abort();  // every refusal says why
    return 0;
  }
  Demo again;
  if (!demo_decode(demo_encode(demo), &again, &error) || !same(demo, again)) std::abort();
  // A walk over the passes (the first hundred thousand: a run may repeat for billions).
  DemoCursor cursor = demo_cursor(demo);
  Input input;
  uint64_t walked = 0;
  while (walked < 100000 && demo_next(demo, &cursor, &input)) ++walked;
  if (walked < 100000 && walked != demo.passes) std::abort();
  return 0;
}
