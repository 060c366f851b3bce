// The table of the ten best games and its file scores.dat.
#pragma once
#include <cstdint>
#include <string>

constexpr int32_t HISCORE_ENTRIES = 10;
constexpr int32_t HISCORE_NAME_SIZE = 30;

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

// Where loads read the table's text and saves write it: the scores file (read anew at every
// load); the file for saves but a text held in memory for loads (a recorded run, which must
// read what its demo stores); or memory alone (a replay, which never touches the player's file).
enum class HiscoreStorage : int32_t { FILE = 0, FILE_AND_MEMORY = 1, MEMORY = 2 };
void hiscore_use_storage(HiscoreStorage storage, const std::string& text);
// The text held in memory (the table as it was when a recording began, or as last saved).
const std::string& hiscore_stored_text();
// The table as the scores file holds it: ten lines of "III score", "- 0" for an empty row.
std::string hiscore_table_text();

void hiscore_init();
void hiscore_free();
// Writes the table (atomically, where it goes to the scores file). 1 or 0.
int32_t hiscore_save();
// Reads the table and places new_score when it qualifies; the row it took, or -1.
int32_t hiscore_load(int32_t new_score);
