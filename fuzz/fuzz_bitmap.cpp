// bitmap_load on any bytes, then a sprite frame copied out of whatever loaded.
#include "display/bitmap.h"
#include "display/bob.h"
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = fuzz_input_path("picture.bmp");
  if (!fuzz_write_file(path, data, size)) return 0;
  static BitmapFile bitmap;
  if (bitmap_load(&bitmap, path.c_str())) {
    // Frame rectangles of every size class the game copies, at corners that reach past the picture.
    static const int32_t sizes[][2] = {{16, 16}, {14, 16}, {120, 13}, {469, 469}};
    for (const auto& s : sizes) {
      Bob bob{};
      if (bob_create(&bob, 0, 0, s[0], s[1], 1, BOB_FLAG_ONE_FRAME | BOB_FLAG_SHOWN, DDSCAPS_SYSTEMMEMORY)) {
        bob_load_frame(&bob, &bitmap, 0, 1, 1, FRAME_AT_PIXEL);
        bob_load_frame(&bob, &bitmap, 0, bitmap.info_header.biWidth - 3, bitmap.info_header.biHeight - 3,
                       FRAME_AT_PIXEL);
        bob_load_frame(&bob, &bitmap, 0, 2, 1, FRAME_AT_CELL);
      }
      bob_destroy(&bob);
    }
  }
  bitmap_unload(&bitmap);
  return 0;
}
