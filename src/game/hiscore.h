// The table of the ten best games and its file scores.dat.
#pragma once
#include <cstdint>

constexpr int32_t HISCORE_ENTRIES = 10;
constexpr int32_t HISCORE_NAME_SIZE = 30;
constexpr const char* HISCORE_FILE = "scores.dat";

struct HiscoreRow {
  char* initials;  // owned block of HISCORE_NAME_SIZE bytes, zero-terminated
  int32_t score;   // 0 or less: an empty row
};

struct HiscoreTable {
  HiscoreRow rows[HISCORE_ENTRIES];
};

extern HiscoreTable hiscore_table;
extern int32_t hiscore_edit_row;
extern int32_t hiscore_edit_cursor;
extern int32_t hiscore_edit_letter;
extern int32_t hiscore_loaded;

void hiscore_init();
void hiscore_free();
// Writes the table through a temporary file renamed over scores.dat. 1 or 0.
int32_t hiscore_save();
// Reads scores.dat and places new_score when it qualifies; the row it took, or -1.
int32_t hiscore_load(int32_t new_score);
