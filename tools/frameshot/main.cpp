// frameshot: real frames of the real program as PNG files, for the documentation.
//   frameshot DEMO FRAME OUT.png [FRAME OUT.png ...]
// The demo is replayed through the main loop on the fake platform (run from the data folder);
// frame N (1 = the first shown) is written through its own palette.
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "app/app.h"
#include "platform/fake/fake_platform.h"
#include "platform/common/png_writer.h"

int main(int argc, char** argv) {
  if (argc < 4 || argc % 2 != 0) {
    std::fprintf(stderr, "usage: frameshot DEMO FRAME OUT.png [FRAME OUT.png ...]\n");
    return 2;
  }
  std::map<uint64_t, std::string> wanted;
  for (int i = 2; i + 1 < argc; i += 2) wanted[std::strtoull(argv[i], nullptr, 10)] = argv[i + 1];
  fake_reset();
  fake_keep_frames(1);
  int written = 0;
  fake_on_present([&](uint64_t frame) {
    auto it = wanted.find(frame);
    if (it == wanted.end()) return;
    const FakeFrame& f = fake_last_frame();
    RgbaImage image{f.width, f.height, {}};
    image.bytes.reserve(f.pixels.size() * 4);
    for (uint8_t index : f.pixels) {
      image.bytes.insert(image.bytes.end(), f.palette[index], f.palette[index] + 3);
      image.bytes.push_back(255);
    }
    if (png_save(it->second, image)) ++written;
  });
  Options options;
  options.demo = DemoMode::PLAY;
  options.demo_file = argv[1];
  const int32_t status = app_main(options);
  fake_on_present(nullptr);
  if (written != static_cast<int>(wanted.size())) {
    std::fprintf(stderr, "frameshot: wrote %d of %zu frames (the demo showed %llu)\n", written, wanted.size(),
                 static_cast<unsigned long long>(fake_frame_count()));
    return 1;
  }
  return status;
}
