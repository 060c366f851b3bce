// hiscore_load on any table text, then a save and a second load that must give the same table.
// The table is held in memory, as a replay holds it: the parser is the same as for the file.
#include <cstdlib>
#include <cstring>
#include <string>

#include "game/hiscore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int32_t new_score = 0;
  if (size >= 4) {
    std::memcpy(&new_score, data, 4);
    data += 4;
    size -= 4;
  }
  Hiscores h;
  hiscore_use_storage(h, HiscoreStorage::MEMORY, std::string(reinterpret_cast<const char*>(data), size));
  hiscore_init(h);
  hiscore_load(h, new_score);
  if (!hiscore_save(h)) std::abort();
  // The real rows, in order, must read back as the first rows of the table. Initials holding
  // line ends or NULs change how the text splits into lines, so only printable ones are compared.
  int32_t scores[HISCORE_ENTRIES];
  char initials[HISCORE_ENTRIES][3];
  int count = 0;
  bool printable = true;
  for (const HiscoreRow& row : h.hiscore_table.rows) {
    if (row.score <= 0) continue;
    for (int c = 0; c < 3; ++c) printable = printable && row.initials[c] >= 0x20 && row.initials[c] < 0x7f;
    scores[count] = row.score;
    std::memcpy(initials[count], row.initials, 3);
    ++count;
  }
  hiscore_load(h, 0);
  for (int i = 0; printable && i < count; ++i) {
    if (h.hiscore_table.rows[i].score != scores[i]) std::abort();
    if (std::memcmp(h.hiscore_table.rows[i].initials, initials[i], 3) != 0) std::abort();
  }
  return 0;
}
