// The hi-score table in memory and its text file scores.dat.
#include "game/hiscore.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/platform.h"

namespace {

// The reader takes each line in two pieces, the way the table was always read: the initials
// through a buffer of 4 (three characters, or fewer up to a line end) and the rest through a
// buffer of 16. A line longer than that goes on as the next "line"; files rely on it.
constexpr int INITIALS_BUFFER = 4;
constexpr int REST_BUFFER = 16;

// Decimal with leading blanks skipped and an optional sign, stopping at the first non-digit;
// values beyond 32 bits are held at the nearest 32-bit limit.
int32_t score_from_text(const char* text) {
  const char* p = text;
  while (*p != '\0' && std::isspace(static_cast<unsigned char>(*p))) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  int64_t value = 0;
  constexpr int64_t LIMIT = static_cast<int64_t>(INT32_MAX) + 1;
  for (; *p >= '0' && *p <= '9'; ++p) {
    value = value * 10 + (*p - '0');
    if (value > LIMIT) value = LIMIT;  // stays far from 64-bit overflow
  }
  if (negative) return static_cast<int32_t>(-value);  // -2^31 at the most
  return value > INT32_MAX ? INT32_MAX : static_cast<int32_t>(value);
}

void row_set(HiscoreTable& table, int32_t row, const char* initials, int32_t score) {
  HiscoreRow& r = table.rows[row];
  std::strncpy(r.initials, initials, HISCORE_NAME_SIZE - 1);
  r.initials[HISCORE_NAME_SIZE - 1] = '\0';
  r.score = score;
}

// An initial that would end or split the line (a line end, a NUL, any control byte read from a
// damaged file) goes out as a blank, so the score on that line is read back.
char initial_for_file(const char* initials, int32_t k) {
  size_t length = std::strlen(initials);
  unsigned char c = static_cast<size_t>(k) < length ? static_cast<unsigned char>(initials[k]) : 0;
  return c < 0x20 || c == 0x7F ? ' ' : static_cast<char>(c);
}

bool store_read(const Hiscores& h, std::string* text) {
  if (h.storage == HiscoreStorage::FILE) return platform_scores_read(text);
  *text = h.stored_text;
  return true;
}

}  // namespace

void hiscore_use_storage(Hiscores& h, HiscoreStorage storage, const std::string& text) {
  h.storage = storage;
  h.stored_text = text;
}

void hiscore_init(Hiscores& h) {
  for (HiscoreRow& r : h.hiscore_table.rows) r = HiscoreRow{};
}

std::string hiscore_table_text(const HiscoreTable& table) {
  std::string text;
  char line[64];
  for (const HiscoreRow& r : table.rows) {
    if (r.score > 0)
      std::snprintf(line, sizeof line, "%c%c%c %d\n", initial_for_file(r.initials, 0), initial_for_file(r.initials, 1),
                    initial_for_file(r.initials, 2), r.score);
    else
      std::snprintf(line, sizeof line, "- 0\n");
    text += line;
  }
  return text;
}

bool hiscore_save(Hiscores& h) {
  const std::string text = hiscore_table_text(h.hiscore_table);
  // The table in memory is the one this run goes on with, even when the disk refuses it.
  if (h.storage != HiscoreStorage::FILE) h.stored_text = text;
  if (h.storage == HiscoreStorage::MEMORY) return true;
  return platform_scores_write(text);
}

int32_t hiscore_load(Hiscores& h, int32_t new_score) {
  std::string text;
  // No table yet (no file, or an empty one) is the empty table the game writes, so the first
  // score ever made takes the first row instead of being lost.
  if (!store_read(h, &text) || text.empty()) text = hiscore_table_text(HiscoreTable{});
  FILE* f = fmemopen(text.data(), text.size(), "r");
  if (f == nullptr) return -1;
  int32_t next = 0;
  int32_t placed = -1;
  char initials[INITIALS_BUFFER];
  char rest[REST_BUFFER];
  while (next < HISCORE_ENTRIES) {
    if (std::fgets(initials, INITIALS_BUFFER, f) == nullptr) break;
    if (std::fgets(rest, REST_BUFFER, f) == nullptr) break;
    const int32_t score = score_from_text(rest);
    if (new_score > 0 && new_score >= score && placed == -1) {
      row_set(h.hiscore_table, next, "AAA", new_score);
      placed = next++;
      // The line the new score displaced goes one row down, or off the table.
      if (next < HISCORE_ENTRIES) row_set(h.hiscore_table, next++, initials, score);
    } else if (score > 0) {
      row_set(h.hiscore_table, next++, initials, score);
    }
    if (std::feof(f)) break;
  }
  std::fclose(f);
  return placed;
}

void hiscore_offer_letter(Hiscores& h) {
  if (h.hiscore_edit_row < 0 || h.hiscore_edit_row >= HISCORE_ENTRIES) return;
  if (h.hiscore_edit_cursor >= 0 && h.hiscore_edit_cursor < 3)
    h.hiscore_table.rows[h.hiscore_edit_row].initials[h.hiscore_edit_cursor] = static_cast<char>(h.hiscore_edit_letter);
}
