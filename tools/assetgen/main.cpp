// assetgen: paints the game's pictures and synthesises its sounds into the data folder.
//   assetgen <data folder>             the ten BMP files and the sixteen WAV files
//   assetgen --preview <folder>        contact-sheet.ppm, every picture and the palette, to look at
//   assetgen --icons <folder>          icon-16.png .. icon-256.png, the desktop icon, and
//                                      icon-192.png, icon-512.png for the browser page
//   assetgen --glyphs <file>           the glyph table, rendered from the system's DejaVu Sans
//                                      Bold (only to remake the checked-in table on purpose:
//                                      scripts/update-glyphs.sh)
#include <cstdio>
#include <string>
#include <string_view>

#include "glyphs.h"
#include "icons.h"
#include "pictures.h"
#include "platform/platform.h"
#include "preview.h"
#include "sounds.h"

int main(int argc, char** argv) {
  if (argc == 3 && std::string_view(argv[1]) == "--preview") {
    // The labels use the game's glyph table, found as the game finds it (build/data beside us).
    platform_configure_files(nullptr, nullptr);
    const std::string dir = argv[2];
    if (!preview_contact_sheet((dir + "/contact-sheet.ppm").c_str())) {
      std::fprintf(stderr, "assetgen: cannot write the previews into %s\n", argv[2]);
      return 1;
    }
    return 0;
  }
  if (argc == 3 && std::string_view(argv[1]) == "--icons") {
    if (assetgen_write_icons(argv[2])) return 0;
    std::fprintf(stderr, "assetgen: cannot write the icons into %s\n", argv[2]);
    return 1;
  }
  if (argc == 3 && std::string_view(argv[1]) == "--glyphs") {
    if (glyphs_write(ZORVANE_SYSTEM_FONT, argv[2])) return 0;
    std::fprintf(stderr, "assetgen: cannot render %s into %s\n", ZORVANE_SYSTEM_FONT, argv[2]);
    return 1;
  }
  if (argc != 2) {
    std::fprintf(stderr,
                 "usage: assetgen <data folder> | assetgen --preview <folder> | assetgen --icons <folder> | "
                 "assetgen --glyphs <file>\n");
    return 2;
  }
  if (!assetgen_write_pictures(argv[1])) {
    std::fprintf(stderr, "assetgen: cannot write the pictures into %s\n", argv[1]);
    return 1;
  }
  if (!assetgen_write_sounds(argv[1])) {
    std::fprintf(stderr, "assetgen: cannot write the sounds into %s\n", argv[1]);
    return 1;
  }
  return 0;
}
