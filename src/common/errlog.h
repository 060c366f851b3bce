// The diagnostic log: one optional output file for engine messages.
#pragma once
#include <cstdint>
#include <cstdio>


int32_t errlog_open(const char* file_name);
int32_t errlog_close();
// Whether an output file is open.
bool errlog_is_open();
int32_t errlog_write(const char* format, ...) __attribute__((format(printf, 1, 2)));
