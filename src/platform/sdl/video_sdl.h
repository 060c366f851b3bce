// State shared by the window, input and presentation files of the SDL platform.
#pragma once
#include <SDL.h>

struct SdlVideo {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;      // the picture, created by platform_display_open
  int texture_width = 0, texture_height = 0;
};

// The one window and renderer of the program, shared by the window and presentation code.
extern SdlVideo sdl_video;

// Takes every pending SDL event: quit requests become one queued WM_DESTROY, Alt+Enter toggles
// full screen, everything else (keys, mouse, text) is dropped so nothing piles up.
void video_pump();
