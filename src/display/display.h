// The screen: primary surface with one back buffer, the palette, the clipper, fills, flips,
// surface locks, sprite-frame surfaces, the vertical-blank wait and the millisecond frame clock.
#pragma once
#include <cstdint>

#include "display/palette.h"
#include "display/surface.h"

// The hardware palette: what the screen shows pixel values through.
struct Palette {
  PALETTEENTRY entries[256];
};

// Sees every frame a flip shows, with its palette (the demos' frame log); null: nothing does.
using FrameObserver = void (*)(const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3]);

// The display engine's state: one screen per program.
struct Display {
  Surface* display_primary = nullptr;
  Surface* display_back = nullptr;
  Palette* display_palette = nullptr;
  Clipper* display_clipper = nullptr;
  int32_t screen_width = 640, screen_height = 480, screen_bpp = 8;
  uint32_t clock_start_ticks = 0;  // when the frame clock was last started
  FrameObserver display_frame_observer = nullptr;
  // False for a replay as fast as possible: flips go only to the observer and the frame
  // clock never waits or sleeps.
  bool display_realtime = true;
  // What the back buffer's frame changes from the frame flipped before it. Whole after every
  // flip; a screen that knows better fills it in while it draws.
  FrameChanges display_changes;
  uint32_t display_flips = 0;          // flips so far: a screen can tell whether the one shown is its own
  bool display_flip_presented = false;  // the last flip reached the platform (not only the observer)
  // The still picture a screen composes its frames on (display_still_layer), screen-sized, and
  // the count of its compositions (see display/still.h).
  Surface* display_still = nullptr;
  uint32_t display_still_epoch = 0;
};
// The engine's one context, as the screen it stands for is one: every drawing call reaches it.
extern Display display;

bool display_init(int32_t width, int32_t height, int32_t bpp);
bool display_shutdown();
Clipper* display_attach_clipper(Surface* surface, int32_t count, const Rect* rects);
bool display_fill(Surface* surface, uint32_t colour);
// Refused while a lock or a device context is out on either surface.
bool display_flip();
uint8_t* display_lock(Surface* surface, int32_t* pitch_out);
// A lock released records the whole surface as written where the surface keeps a record;
// display_unlock_written records only the rectangle the caller wrote.
bool display_unlock(Surface* surface, uint8_t* address);
bool display_unlock_written(Surface* surface, uint8_t* address, const Rect& written);
// The screen-sized still layer, made on first use (null when memory runs out); it goes with
// display_shutdown.
Surface* display_still_layer();
// An off-screen surface whose index 0 is transparent in keyed blits (a sprite frame).
Surface* display_create_surface(int32_t width, int32_t height);
// Waits for the next frame tick of the display (none when not in real time).
bool display_wait_vblank();

// The frame clock.
uint32_t clock_start();
uint32_t clock_read();
uint32_t clock_wait(uint32_t ms);
// A plain pause of ms milliseconds (none when not in real time).
void clock_sleep(uint32_t ms);
