// What the command line asks before anything opens: help, the version, usage errors, and the
// files and window mode handed to the platform.
#pragma once
#include <cstdint>

#include "app/options.h"

// Parses the command line into out. --help and --version print to stdout and give 0; a word it
// does not understand prints the reason and the usage to stderr and gives 2. Otherwise it hands
// --data, --scores and --windowed/--fullscreen to the platform and gives -1: start the game.
int32_t app_handle_options(int argc, char** argv, Options* out);
