// The window, its message queue, the cursor and the choice of display and renderer.
#include <glob.h>
#include <malloc.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <deque>
#include <string>

#include "platform/common/settings.h"
#include "platform/platform.h"
#include "platform/sdl/audio_sdl.h"
#include "platform/sdl/gamepad_sdl.h"
#include "platform/sdl/keys_sdl.h"
#include "platform/sdl/present_overlay.h"
#include "platform/sdl/video_sdl.h"

SdlVideo sdl_video;

namespace {

constexpr int WINDOW_WIDTH = 640, WINDOW_HEIGHT = 480;

struct MessageQueue {
  std::deque<PlatformMessage> messages;
  bool close_requested = false;
};

MessageQueue queue;
std::string window_error;

// The desktop may say it twice (window close, then quit); the flag stays set and the main
// loop posts its one close event when it first sees it.
void request_close() { queue.close_requested = true; }

void handle(const SDL_Event& e) {
  switch (e.type) {
    case SDL_QUIT:
      request_close();
      break;
    case SDL_WINDOWEVENT:
      switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
          request_close();
          break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          // A window's size is remembered in window units; full screen's is the desktop's.
          if (sdl_video.window && !sdl_video.fullscreen_pending &&
              (SDL_GetWindowFlags(sdl_video.window) & SDL_WINDOW_FULLSCREEN_DESKTOP) == 0)
            settings_set_window_size(e.window.data1, e.window.data2);
          sdl_video.redraw = true;
          break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_RESTORED:
          sdl_video.redraw = true;
          break;
        default:
          break;
      }
      break;
    case SDL_KEYDOWN:
      keys_sdl_event(e.key);
      break;
    default:
      gamepad_handle_event(e);
      break;
  }
}

const char* env(const char* name) {
  const char* v = std::getenv(name);
  return v && *v ? v : nullptr;
}

// The process's memory, before the display's libraries and the first large allocations. The
// game reads keys, never composed text, so libX11's input method gets an empty compose table
// instead of parsing the locale's (470 kB kept for the whole run). And blocks of 128 kB or more
// are mapped and handed back when freed: glibc otherwise raises that threshold at the first
// such free (a sound's conversion works in sixteen times its size) and keeps later ones on a
// heap that never shrinks.
void lighten_process() {
  setenv("XCOMPOSEFILE", "/dev/null", 1);
#ifdef __GLIBC__
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
}

// Brings up SDL's video on a real display. Only an explicit SDL_VIDEODRIVER may pick another
// driver (offscreen, dummy): left to itself SDL falls back to an invisible offscreen window,
// and a game started over SSH would run unseen until killed.
bool video_init() {
  if (env("SDL_VIDEODRIVER")) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
    window_error = std::string("cannot start SDL video driver \"") + env("SDL_VIDEODRIVER") + "\" (" +
                   SDL_GetError() + "); unset SDL_VIDEODRIVER to use the desktop's display";
    return false;
  }
  const char* x11 = env("DISPLAY");
  const char* wayland = env("WAYLAND_DISPLAY");
  if (!x11 && !wayland) {
    window_error = "no display: neither DISPLAY nor WAYLAND_DISPLAY is set; start it from a desktop session "
                   "(over SSH: ssh -X), or set DISPLAY to a running X server";
    return false;
  }
  std::string tried;
  // X11 first, as SDL 2 itself prefers: XWayland serves it on Wayland desktops too.
  const struct {
    const char* driver;
    const char* display;
    const char* label;
  } candidates[] = {{"x11", x11, "DISPLAY"}, {"wayland", wayland, "WAYLAND_DISPLAY"}};
  for (const auto& c : candidates) {
    if (!c.display) continue;
    SDL_SetHint(SDL_HINT_VIDEODRIVER, c.driver);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
    if (!tried.empty()) tried += ", ";
    tried += std::string(c.label) + "=" + c.display + " (" + SDL_GetError() + ")";
  }
  window_error = "cannot connect to the display: tried " + tried +
                 "; check that the display server runs and that this user may use it";
  return false;
}

// Mesa and the GPU vendors' drivers reach a GPU through a render node; without one any OpenGL
// is drawn by the CPU, which only adds start-up time and memory.
bool gpu_render_node_present() {
  glob_t found;
  const bool any = glob("/dev/dri/renderD*", 0, nullptr, &found) == 0 && found.gl_pathc > 0;
  globfree(&found);
  return any;
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

// SDL's software renderer writing into the window's own image (shared memory on X11), never
// through an OpenGL texture. Null where the video driver gives windows no image of their own
// (Wayland in SDL 2.26).
SDL_Renderer* software_renderer(SDL_Window* window) {
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  return SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
}

// The renderer SDL names so (opengl, opengles2), or null when there is none or it fails.
SDL_Renderer* named_renderer(SDL_Window* window, const char* name, Uint32 sync) {
  for (int i = 0, n = SDL_GetNumRenderDrivers(); i < n; ++i) {
    SDL_RendererInfo info;
    if (SDL_GetRenderDriverInfo(i, &info) != 0 || !info.name || std::strcmp(info.name, name) != 0) continue;
    SDL_Renderer* r = SDL_CreateRenderer(window, i, SDL_RENDERER_ACCELERATED | sync);
    return r ? r : SDL_CreateRenderer(window, i, SDL_RENDERER_ACCELERATED);
  }
  return nullptr;
}

SDL_Renderer* renderer_create(SDL_Window* window, bool vsync) {
  const Uint32 sync = vsync ? SDL_RENDERER_PRESENTVSYNC : 0;
  if (env("SDL_RENDER_DRIVER")) {
    // Chosen by the user (or a test): SDL reads it; the OpenGL probe stays out of the way.
    SDL_Renderer* r = SDL_CreateRenderer(window, -1, sync);
    return r ? r : SDL_CreateRenderer(window, -1, 0);
  }
  if (gpu_render_node_present()) {
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | sync);
    if (renderer && !renderer_rasterises_on_cpu(renderer)) return renderer;
    // A render node but OpenGL on the CPU all the same (no driver for the GPU): SDL's software
    // renderer costs a third of the CPU of llvmpipe scaling a texture, where it can be had.
    if (renderer) SDL_DestroyRenderer(renderer);
  }
  if (SDL_Renderer* renderer = software_renderer(window)) return renderer;
  // No image to draw into (Wayland): OpenGL or OpenGL ES through EGL, which Mesa provides on
  // the CPU too where there is no GPU.
  for (const char* name : {"opengl", "opengles2"})
    if (SDL_Renderer* renderer = named_renderer(window, name, sync)) return renderer;
  // Last, the software picture uploaded through whatever texture SDL can make.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "1");
  return SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
}

// The command line, ZORVANE_WINDOWED, the remembered choice and the player's file decide.
bool starts_windowed() { return !settings_now().fullscreen; }

// The display's refresh rate, 0 when it does not say (Xvfb) or says something implausible.
int32_t display_refresh_hz(SDL_Window* window) {
  SDL_DisplayMode mode;
  const int index = SDL_GetWindowDisplayIndex(window);
  if (index < 0 || SDL_GetDesktopDisplayMode(index, &mode) != 0) return 0;
  return mode.refresh_rate > 0 ? mode.refresh_rate : 0;
}

// Drivers with no notion of focus: their windows count as focused.
bool driver_without_focus() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return !driver || std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0;
}

}  // namespace

namespace {
int64_t last_pump_ns = INT64_MIN / 2;
int64_t now_ns() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}
}  // namespace

void video_pump_for_keys() {
  // A pass asks for a dozen keys within microseconds, and each look at the display's events
  // costs a poll and a read or two on X11. A millisecond old is as fresh as a key can be; a
  // loop waiting for a key to be let go still sees it within that.
  constexpr int64_t KEY_PUMP_INTERVAL_NS = 1000000;
  if (now_ns() - last_pump_ns >= KEY_PUMP_INTERVAL_NS) video_pump();
}

void video_pump() {
  audio_poll();  // a sound device lost or missing is looked after between frames
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
  last_pump_ns = now_ns();
  SDL_PumpEvents();
  SDL_Event events[32];
  int n;
  while ((n = SDL_PeepEvents(events, 32, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT)) > 0)
    for (int i = 0; i < n; ++i) handle(events[i]);
  if (sdl_video.window) keys_sdl_step();
}

void video_toggle_fullscreen() {
  if (!sdl_video.window) return;
  if (sdl_video.fullscreen_pending) {  // asked before the first frame: stay in the window
    sdl_video.fullscreen_pending = false;
    settings_set_fullscreen(false);
    return;
  }
  bool full = (SDL_GetWindowFlags(sdl_video.window) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
  SDL_SetWindowFullscreen(sdl_video.window, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
  settings_set_fullscreen(!full);
  sdl_video.redraw = true;
}

void video_enter_pending_fullscreen() {
  if (!sdl_video.fullscreen_pending || !sdl_video.window) return;
  sdl_video.fullscreen_pending = false;
  SDL_SetWindowFullscreen(sdl_video.window, SDL_WINDOW_FULLSCREEN_DESKTOP);
  sdl_video.redraw = true;
}

void platform_configure_video(int32_t windowed, int32_t integer_scale) {
  sdl_video.windowed = windowed < 0 ? -1 : (windowed ? 1 : 0);
  settings_command_line(windowed, integer_scale);
  sdl_video.integer_scale = settings_now().integer_scale ? 1 : 0;
}

const char* platform_window_error() { return window_error.c_str(); }

int32_t platform_window_create(const char* caption) {
  if (sdl_video.window) return static_cast<int32_t>(SDL_GetWindowID(sdl_video.window));
  window_error.clear();
  lighten_process();
  if (!video_init()) return 0;
  // Only key-downs (for the program's actions) and window events are of interest; keys are polled.
  for (Uint32 type : {SDL_KEYUP, SDL_TEXTINPUT, SDL_TEXTEDITING, SDL_MOUSEMOTION, SDL_MOUSEBUTTONDOWN,
                      SDL_MOUSEBUTTONUP, SDL_MOUSEWHEEL, SDL_FINGERDOWN, SDL_FINGERUP, SDL_FINGERMOTION})
    SDL_EventState(type, SDL_IGNORE);
  // In physical pixels: on a scaled output the renderer's output is larger than the window, and
  // the picture is scaled sharply to it instead of being blown up by the compositor.
  const Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
  // Leaving full screen restores this size (in window units): 640x480, or the window's size the
  // last game left.
  const Settings& s = settings_now();
  sdl_video.integer_scale = s.integer_scale ? 1 : 0;
  const int width = s.window_width > 0 ? s.window_width : WINDOW_WIDTH;
  const int height = s.window_height > 0 ? s.window_height : WINDOW_HEIGHT;
  SDL_Window* window = SDL_CreateWindow(caption ? caption : "", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                        width, height, flags);
  if (!window) {
    window_error = std::string("cannot open a window on the display (") + SDL_GetError() + ")";
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return 0;
  }
  // Vsync is asked only of a display that states its refresh rate; the presentation measures
  // whether presents really wait before it trusts them (see present_sdl.cpp).
  const int32_t refresh = display_refresh_hz(window);
  SDL_Renderer* renderer = renderer_create(window, refresh > 0);
  if (!renderer) {
    window_error = std::string("cannot draw into the window (") + SDL_GetError() + ")";
    SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return 0;
  }
  SDL_RendererInfo info;
  sdl_video.software = SDL_GetRendererInfo(renderer, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE) != 0;
  sdl_video.cpu_raster = !sdl_video.software && renderer_rasterises_on_cpu(renderer);
  sdl_video.refresh_hz = refresh;
  SDL_StopTextInput();
  sdl_video.window = window;
  sdl_video.renderer = renderer;
  sdl_video.redraw = true;
  sdl_video.fullscreen_pending = !starts_windowed();
  queue.close_requested = false;
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  SDL_RenderClear(renderer);
  SDL_RenderPresent(renderer);
  return static_cast<int32_t>(SDL_GetWindowID(window));
}

void platform_window_destroy() {
  if (!sdl_video.window) return;
  settings_finish();
  platform_display_close();
  present_overlay_release();
  present_release();
  SDL_DestroyRenderer(sdl_video.renderer);
  SDL_DestroyWindow(sdl_video.window);
  sdl_video.renderer = nullptr;
  sdl_video.window = nullptr;
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

int32_t platform_peek_message(PlatformMessage* out) {
  gamepad_begin_pass();
  video_pump();
  if (queue.messages.empty() || !out) return 0;
  *out = queue.messages.front();
  queue.messages.pop_front();
  return 1;
}

void platform_post_message(PlatformEvent event) {
  queue.messages.push_back(PlatformMessage{event});
}

void platform_show_cursor(int32_t show) {
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

int32_t platform_close_requested() {
  video_pump_for_keys();
  return queue.close_requested ? 1 : 0;
}

int32_t platform_has_focus() {
  if (!sdl_video.window || driver_without_focus()) return 1;
  video_pump_for_keys();
  // A minimised or hidden window has lost the keyboard even where the desktop did not say so.
  const Uint32 flags = SDL_GetWindowFlags(sdl_video.window);
  return (flags & SDL_WINDOW_INPUT_FOCUS) != 0 && (flags & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) == 0 ? 1 : 0;
}
