// The screen: primary surface with one back buffer, the palette, the clipper, fills, flips,
// locks, and the millisecond frame clock.
#pragma once
#include <cstdint>

#include "display/palette.h"
#include "display/surface.h"

// The engine's one surface description, filled by display_init and by every display_lock.
struct SurfaceDesc {
  int32_t width, height;
  int32_t lPitch;
  uint8_t* lpSurface;
};

// The hardware palette: what the screen shows pixel values through.
struct Palette {
  PALETTEENTRY entries[256];
};

extern Surface* display_primary;
extern Surface* display_back;
extern Palette* display_palette;
extern Clipper* display_clipper;
extern int32_t screen_width, screen_height, screen_bpp;
extern SurfaceDesc display_desc;
extern uint32_t clock_start_ticks;

// Sees every frame a flip shows, with its palette (the demos' frame log); null: nothing does.
using FrameObserver = void (*)(const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3]);
extern FrameObserver display_frame_observer;
// False for a replay as fast as possible: flips go only to the observer and the frame clock
// never waits or sleeps.
extern bool display_realtime;

int32_t display_init(int32_t width, int32_t height, int32_t bpp);
int32_t display_shutdown();
Clipper* display_attach_clipper(Surface* surface, int32_t count, const Rect* rects);
int32_t display_fill(Surface* surface, uint32_t colour);
int32_t display_flip();
uint8_t* display_lock(Surface* surface, int32_t* pitch_out);
int32_t display_unlock(Surface* surface, uint8_t* address);

// Operations the game itself never calls.
Surface* display_create_surface(int32_t width, int32_t height, int32_t memory_flags);
int32_t display_wait_vblank();
extern uint8_t* primary_buffer;
extern int32_t primary_pitch;
extern uint8_t* back_buffer;
extern int32_t back_pitch;
uint8_t* display_lock_primary();
int32_t display_unlock_primary();
uint8_t* display_lock_back();
int32_t display_unlock_back();

// The frame clock.
uint32_t clock_start();
uint32_t clock_read();
uint32_t clock_wait(uint32_t ms);
// A plain pause of ms milliseconds (none when not in real time).
void clock_sleep(uint32_t ms);
