// The diagnostic log: one optional output file. Nothing in the game opens it, so normally every
// write is dropped.
#include "common/errlog.h"

#include <cstdarg>

namespace {
FILE* errlog_file = nullptr;
}  // namespace

bool errlog_is_open() { return errlog_file != nullptr; }

int32_t errlog_open(const char* file_name) {
  if (!file_name) return 0;
  FILE* f = std::fopen(file_name, "w");
  if (!f) return 0;  // the file already open, if any, stays in use
  if (errlog_file) errlog_close();
  errlog_file = f;
  errlog_write("\nOpening Error Output File (%s):\n", file_name);
  return 1;
}

int32_t errlog_close() {
  if (!errlog_file) return 0;
  errlog_write("\nClosing Error Output File.");
  std::fclose(errlog_file);
  errlog_file = nullptr;
  return 1;
}

// Formatted straight into the file, so a message of any length is written whole.
int32_t errlog_write(const char* format, ...) {
  if (!format || !errlog_file) return 0;
  va_list args;
  va_start(args, format);
  std::vfprintf(errlog_file, format, args);
  va_end(args);
  return 1;
}
