// The window, its message queue and the cursor.
#include <cstdlib>
#include <cstring>
#include <deque>

#include "platform/platform.h"
#include "platform/sdl/video_driver_sdl.h"
#include "platform/sdl/video_sdl.h"

SdlVideo sdl_video;

namespace {

constexpr int WINDOW_WIDTH = 640, WINDOW_HEIGHT = 480;

struct MessageQueue {
  std::deque<PlatformMessage> messages;
  bool close_requested = false;
};

MessageQueue queue;

void request_close() {
  // The desktop may say it twice (window close, then quit); the game hears it once.
  if (queue.close_requested) return;
  queue.close_requested = true;
  queue.messages.push_back(PlatformMessage{WM_DESTROY, 0, 0});
}

void toggle_fullscreen() {
  if (!sdl_video.window) return;
  bool full = (SDL_GetWindowFlags(sdl_video.window) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
  SDL_SetWindowFullscreen(sdl_video.window, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
}

void handle(const SDL_Event& e) {
  switch (e.type) {
    case SDL_QUIT:
      request_close();
      break;
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_CLOSE) request_close();
      break;
    case SDL_KEYDOWN:
      if ((e.key.keysym.mod & KMOD_ALT) && !e.key.repeat &&
          (e.key.keysym.scancode == SDL_SCANCODE_RETURN || e.key.keysym.scancode == SDL_SCANCODE_KP_ENTER))
        toggle_fullscreen();
      break;
    default:
      break;
  }
}

// True when the renderer is OpenGL implemented in software (Mesa's llvmpipe or softpipe).
bool renderer_rasterises_on_cpu(SDL_Renderer* renderer) {
  SDL_RendererInfo info;
  if (SDL_GetRendererInfo(renderer, &info) != 0 || !info.name || std::strncmp(info.name, "opengl", 6) != 0)
    return false;
  using GetString = const unsigned char* (*)(unsigned int);
  auto get_string = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
  if (!get_string) return false;
  const char* name = reinterpret_cast<const char*>(get_string(0x1F01));  // GL_RENDERER
  return name && (std::strstr(name, "llvmpipe") || std::strstr(name, "softpipe") ||
                  std::strstr(name, "Software Rasterizer"));
}

}  // namespace

void video_pump() {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
  SDL_PumpEvents();
  SDL_Event events[32];
  int n;
  while ((n = SDL_PeepEvents(events, 32, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT)) > 0)
    for (int i = 0; i < n; ++i) handle(events[i]);
}

int32_t platform_window_create(const char* caption) {
  if (sdl_video.window) return static_cast<int32_t>(SDL_GetWindowID(sdl_video.window));
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return 0;
  if (!video_driver_acceptable()) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return 0;
  }
  // Only key-downs (for Alt+Enter) and window events are of interest; keys are polled.
  for (Uint32 type : {SDL_KEYUP, SDL_TEXTINPUT, SDL_TEXTEDITING, SDL_MOUSEMOTION, SDL_MOUSEBUTTONDOWN,
                      SDL_MOUSEBUTTONUP, SDL_MOUSEWHEEL, SDL_FINGERDOWN, SDL_FINGERUP, SDL_FINGERMOTION})
    SDL_EventState(type, SDL_IGNORE);
  Uint32 flags = SDL_WINDOW_RESIZABLE;
  if (!std::getenv("ZORVANE_WINDOWED")) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  // Leaving full screen restores this 640x480 size.
  SDL_Window* window = SDL_CreateWindow(caption ? caption : "", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                        WINDOW_WIDTH, WINDOW_HEIGHT, flags);
  if (!window) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return 0;
  }
  // No vsync: a clock of our own paces presentation identically on every display. Drivers
  // without an accelerated renderer (the dummy one) get the software renderer.
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
  if (renderer && !std::getenv("SDL_RENDER_DRIVER") && renderer_rasterises_on_cpu(renderer)) {
    // OpenGL drawn by the CPU (llvmpipe under Xvfb or without a GPU) costs two to three times
    // the CPU of SDL's own software renderer writing straight into the window's framebuffer.
    SDL_DestroyRenderer(renderer);
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  }
  if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  if (!renderer) {
    SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return 0;
  }
  SDL_StopTextInput();
  sdl_video.window = window;
  sdl_video.renderer = renderer;
  queue.close_requested = false;
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  SDL_RenderClear(renderer);
  SDL_RenderPresent(renderer);
  return static_cast<int32_t>(SDL_GetWindowID(window));
}

void platform_window_destroy() {
  if (!sdl_video.window) return;
  platform_display_close();
  SDL_DestroyRenderer(sdl_video.renderer);
  SDL_DestroyWindow(sdl_video.window);
  sdl_video.renderer = nullptr;
  sdl_video.window = nullptr;
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

int32_t platform_peek_message(PlatformMessage* out) {
  video_pump();
  if (queue.messages.empty() || !out) return 0;
  *out = queue.messages.front();
  queue.messages.pop_front();
  return 1;
}

void platform_post_message(uint32_t message, uint64_t wparam, int64_t lparam) {
  queue.messages.push_back(PlatformMessage{message, wparam, lparam});
}

void platform_show_cursor(int32_t show) {
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

int32_t platform_close_requested() {
  video_pump();
  return queue.close_requested ? 1 : 0;
}

int32_t platform_has_focus() {
  if (!sdl_video.window) return 1;
  video_pump();
  return (SDL_GetWindowFlags(sdl_video.window) & SDL_WINDOW_INPUT_FOCUS) != 0 ? 1 : 0;
}
