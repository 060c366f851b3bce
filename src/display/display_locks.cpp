// Dedicated locks of the screen's two surfaces. They lock through display_lock, so the
// surfaces' own flags keep flips, blits and device contexts off while one is held.
#include "display/display_locks.h"

#include "display/display.h"

uint8_t* primary_buffer = nullptr;
int32_t primary_pitch = 0;
uint8_t* back_buffer = nullptr;
int32_t back_pitch = 0;

namespace {

// A remembered lock counts only while its surface still holds it on that memory: a plain
// display_unlock or a new display set-up may have ended it behind these functions' back.
bool still_held(const uint8_t* buffer, const Surface* surface) {
  return buffer && surface && surface->locked && surface->pixels == buffer;
}

uint8_t* lock(Surface* surface, uint8_t** buffer, int32_t* pitch) {
  if (still_held(*buffer, surface)) return *buffer;
  *pitch = 0;
  *buffer = display_lock(surface, pitch);
  return *buffer;
}

bool unlock(Surface* surface, uint8_t** buffer, int32_t* pitch) {
  const bool held = still_held(*buffer, surface);
  if (held) display_unlock(surface, *buffer);
  *buffer = nullptr;
  *pitch = 0;
  return held;
}

}  // namespace

uint8_t* display_lock_primary() { return lock(display_primary, &primary_buffer, &primary_pitch); }
bool display_unlock_primary() { return unlock(display_primary, &primary_buffer, &primary_pitch); }
uint8_t* display_lock_back() { return lock(display_back, &back_buffer, &back_pitch); }
bool display_unlock_back() { return unlock(display_back, &back_buffer, &back_pitch); }
