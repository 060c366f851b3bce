// The table of the ten best games, its text form (the scores file), and the initials entry.
#pragma once
#include <cstdint>
#include <string>

constexpr int32_t HISCORE_ENTRIES = 10;
constexpr int32_t HISCORE_NAME_SIZE = 30;

struct HiscoreRow {
  char initials[HISCORE_NAME_SIZE] = {'-'};  // zero-terminated
  int32_t score = 0;                         // 0 or less: an empty row
};

struct HiscoreTable {
  HiscoreRow rows[HISCORE_ENTRIES];
};

// Where loads read the table's text and saves write it: the scores file (read anew at every
// load); the file for saves but a text held in memory for loads (a recorded run, which must
// read what its demo stores); or memory alone (a replay, which never touches the player's file).
enum class HiscoreStorage : int32_t { FILE = 0, FILE_AND_MEMORY = 1, MEMORY = 2 };

struct Hiscores {
  HiscoreTable hiscore_table;
  // The initials entry: the row taken by the new score (-1: none), the initial being chosen
  // (0..2) and the letter on offer there; hiscore_loaded 0 means the table is to be read.
  int32_t hiscore_edit_row = -1;
  int32_t hiscore_edit_cursor = 0;
  int32_t hiscore_edit_letter = 'A';
  int32_t hiscore_loaded = 0;
  HiscoreStorage storage = HiscoreStorage::FILE;
  std::string stored_text;  // the text held in memory (the table as a recording began, or as last saved)
};

void hiscore_use_storage(Hiscores& hiscores, HiscoreStorage storage, const std::string& text);
// The table as the scores file holds it: ten lines of "III score", "- 0" for an empty row.
std::string hiscore_table_text(const HiscoreTable& table);

// Every row empty ("-", 0).
void hiscore_init(Hiscores& hiscores);
// Writes the table (atomically, where it goes to the scores file); false when it could not be
// written. The table in memory is the one the run goes on with either way.
bool hiscore_save(Hiscores& hiscores);
// Reads the table and places new_score when it qualifies; the row it took, or -1.
int32_t hiscore_load(Hiscores& hiscores, int32_t new_score);

// The letter on offer written into the row being edited, at the cursor, so the row shows it.
void hiscore_offer_letter(Hiscores& hiscores);
// The table's ten rows from y = 120, 20 pixels apart; shift_left moves them 60 pixels left
// (the initials entry). The row being edited shows its cursor's initial highlighted.
void hiscore_table_draw(const Hiscores& hiscores, bool shift_left);
