// State shared by the window, input and presentation files of the SDL platform.
#pragma once
#include <SDL.h>

#include <cstdint>

struct SdlVideo {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;      // the picture, made when the renderer first draws from it
  int texture_width = 0, texture_height = 0;
  bool software = false;               // SDL's software renderer (no GPU): the cheap scaling path
  bool cpu_raster = false;             // OpenGL drawn by the CPU (Mesa's llvmpipe): one nearest pass
  int32_t refresh_hz = 0;              // what the display reports; 0 when it does not know (Xvfb)
  // Set by window events that lose or change what is on screen (exposed, resized): the next
  // present draws even an unchanged frame.
  bool redraw = true;
  // Full screen is asked for after the first frame is shown: SDL then waits up to 100 ms for
  // the window manager to agree (the whole 100 ms where there is none, as under Xvfb), and
  // that wait should not hold back the first picture.
  bool fullscreen_pending = false;
  // From platform_configure_video: -1 leaves full screen or window to ZORVANE_WINDOWED.
  int32_t windowed = -1;
  int32_t integer_scale = 0;
};

// The one window and renderer of the program, shared by the window and presentation code.
extern SdlVideo sdl_video;

// Takes every pending SDL event: quit requests set the close request, key presses of the
// program's actions (full screen, volume, mute, screenshot) are carried out, window changes ask
// for a redraw, everything else (mouse, text) is dropped so nothing piles up.
void video_pump();
// The same for the reads of a pass (keys, the close request, focus): skipped when the last
// pump is under a millisecond old.
void video_pump_for_keys();
// Frees the presentation's own textures before the renderer goes (present_sdl.cpp).
void present_release();
// Goes full screen if that was put off until the first frame (window_sdl.cpp).
void video_enter_pending_fullscreen();
// Full screen to window and back (the full-screen action); the choice is remembered.
void video_toggle_fullscreen();
