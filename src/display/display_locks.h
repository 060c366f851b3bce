// Dedicated locks of the primary surface and the back buffer, each remembering its memory and
// pitch in a global. The game itself locks through display_lock.
#pragma once
#include <cstdint>

struct DisplayLocks {
  uint8_t* primary_buffer = nullptr;
  int32_t primary_pitch = 0;
  uint8_t* back_buffer = nullptr;
  int32_t back_pitch = 0;
};
// What the dedicated locks hold, one of each per screen like the display itself.
extern DisplayLocks display_locks;

// The surface's memory (the same again while the lock is held), or null when it cannot be
// locked (no display, or a lock or device context already out on it).
uint8_t* display_lock_primary();
// False when no dedicated lock of that surface is held.
bool display_unlock_primary();
uint8_t* display_lock_back();
bool display_unlock_back();
