// The diagnostic log: one optional output file for engine messages.
#pragma once
#include <cstdint>
#include <cstdio>

extern FILE* errlog_file;

int32_t errlog_open(const char* file_name);
int32_t errlog_close();
int32_t errlog_write(const char* format, ...) __attribute__((format(printf, 1, 2)));
