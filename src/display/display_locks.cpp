// Dedicated locks of the screen's two surfaces. They lock through display_lock, so the
// surfaces' own flags keep flips, blits and device contexts off while one is held.
#include "display/display_locks.h"

#include "display/display.h"

DisplayLocks display_locks;

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

uint8_t* display_lock_primary() { return lock(display.display_primary, &display_locks.primary_buffer, &display_locks.primary_pitch); }
bool display_unlock_primary() { return unlock(display.display_primary, &display_locks.primary_buffer, &display_locks.primary_pitch); }
uint8_t* display_lock_back() { return lock(display.display_back, &display_locks.back_buffer, &display_locks.back_pitch); }
bool display_unlock_back() { return unlock(display.display_back, &display_locks.back_buffer, &display_locks.back_pitch); }
