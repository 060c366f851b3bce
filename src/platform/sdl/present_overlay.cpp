// The notices over the presented picture: none yet. A notice is drawn here, with the renderer
// (or into the window's image when direct), and reports that it drew.
#include "platform/sdl/present_overlay.h"

bool present_overlay(bool, int32_t, int32_t) { return false; }
