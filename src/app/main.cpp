#include <cstdio>

#include "app/app.h"
#include "app/options.h"

#ifndef ZORVANE_VERSION
#define ZORVANE_VERSION "0.9.0"
#endif

int main(int argc, char** argv) {
  Options options;
  std::string error;
  if (!options_parse(argc, argv, &options, &error)) {
    std::fprintf(stderr, "zorvane: %s\n%s", error.c_str(), options_usage());
    return 2;
  }
  if (options.help) {
    std::fputs(options_usage(), stdout);
    return 0;
  }
  if (options.version) {
    std::printf("zorvane %s\n", ZORVANE_VERSION);
    return 0;
  }
  return app_main(1, options);
}
