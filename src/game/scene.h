// The still part of the game screen, kept composed between frames in the display's still
// layer: the backdrop, the side panel and the playfield's cells over their picture. A frame
// copies it and draws what moves over it; only what changed is drawn into it again.
#pragma once
#include <cstdint>

#include "display/display.h"
#include "display/still.h"
#include "game/assets.h"
#include "playfield/playfield.h"

struct Game;
struct Round;

// What the side panel shows; an item is drawn again only when its value changed.
struct PanelShown {
  int32_t score, high, level, claimed, time_bar_right, lives;
};

struct GameScene {
  bool composed = false;                  // the layer was composed for this scene (else all is drawn again)
  const Playfield* playfield = nullptr;   // the grid it shows
  uint64_t row_seen[PLAYFIELD_SIZE] = {}; // each grid row's write stamp when it was drawn
  const Surface* picture = nullptr;       // the frame of the playfield picture it was drawn with
  PALETTEENTRY palette[256] = {};         // the palette its text colours were matched with
  PanelShown panel = {};
  StillFrame frame;  // the layer's owner and what moved over it
};

// The layer brought up to date with the round and the panel's values. changes (reset to the
// layer's size) gets the parts of the layer drawn again; whole when all of it was.
// False when there is no layer to keep (out of memory).
bool scene_update(GameScene& scene, const Game& game, const Round& round, const Assets& assets, FrameChanges* changes);
// The whole still picture drawn from scratch onto target (what the layer holds).
void scene_draw_still(const Game& game, const Round& round, const Assets& assets, Surface* target);
