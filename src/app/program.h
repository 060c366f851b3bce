// Everything the program runs on, in the records their modules own: the loaded pictures, the
// screens, the game, its round and the hi-score table.
#pragma once
#include <cstdint>

#include "frontend/frontend.h"
#include "game/assets.h"
#include "game/game.h"

struct Program {
  Assets assets;
  Frontend frontend;
  Game game;
  Round round;
  Hiscores hiscores;
};

// The program app_main is running, for those who watch it (tests, the demo maker); null when
// none runs.
const Program* app_program();
