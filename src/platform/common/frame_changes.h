// What a frame changes from the frame presented before it: per picture row, the span of
// columns that may differ. Whoever draws a frame knows this far more cheaply than a comparison
// of the two pictures, and a presenter then converts and sends only those spans.
#pragma once
#include <cstdint>

constexpr int32_t FRAME_CHANGES_ROWS = 1200;

struct FrameChanges {
  int32_t width = 0, height = 0;
  // Anything may have changed: the record was not kept, or the picture is taller than it holds.
  bool whole = true;
  int32_t first = 0, last = -1;  // rows that hold a span lie in first..last (none when last < first)
  // Row y may differ in columns [left[y], right[y]); left >= right: the row is unchanged.
  int16_t left[FRAME_CHANGES_ROWS], right[FRAME_CHANGES_ROWS];
};

// A record of a width x height picture in which nothing changed.
void frame_changes_reset(FrameChanges* changes, int32_t width, int32_t height);
void frame_changes_set_whole(FrameChanges* changes);
// Adds the rectangle [left, right) x [top, bottom), cut to the picture; each row keeps one span
// that covers everything added to it.
void frame_changes_add(FrameChanges* changes, int32_t left, int32_t top, int32_t right, int32_t bottom);
// Adds everything from (records of the same picture size; a different size makes into whole).
void frame_changes_merge(FrameChanges* into, const FrameChanges& from);
// The span of row y, false when the row is unchanged; a whole record gives the whole row.
bool frame_changes_row(const FrameChanges& changes, int32_t y, int32_t* left, int32_t* right);
// The smallest rectangle holding every span, false when nothing changed.
bool frame_changes_bounds(const FrameChanges& changes, int32_t* left, int32_t* top, int32_t* right, int32_t* bottom);
// The first row in which before and after (width x height bytes, rows pitch apart) differ
// outside the row's span; -1 when the record covers every difference.
int32_t frame_changes_first_missed(const FrameChanges& changes, const uint8_t* before, const uint8_t* after,
                                   int32_t pitch);
