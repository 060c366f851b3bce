// The claim of a completed cut: the span search, the probe fill that looks for QIX trail
// points, the claim fill that takes a region and turns its walls into borders, and the claim
// itself with its sound and points.
//
// Both fills work span by span, depth first: columns left to right, the row above with all it
// leads to before the row below, and (claim fill) the span's own row walls last. The wall rules
// read neighbours at the moment of the test, so this order decides the result. A winding region
// can chain about a hundred thousand spans, far too deep for the machine stack, so the fills
// keep their pending spans on an explicit stack that resumes each span exactly where a nested
// call would return to it.
#include "playfield/player.h"
#include "playfield/playfield.h"
#include "sound/sound.h"

#include <algorithm>
#include <iterator>

namespace {

// One span waiting for its column loop to go on: the next column to visit and whether its row
// above (0) or below (1) comes next.
struct FillFrame {
  int16_t y, left, right, column;
  uint8_t below;
};

// How deep the stack can get: every frame on it owns a span it has already filled, and a filled
// cell never holds the followed value again, so no span is pushed twice. A span holds at least
// one cell of columns 1..467 (its walls are L >= 0 and R <= 468), and two spans of one row were
// separate runs when the first was filled, so a cell lies between them: at most 234 spans per
// row (the odd columns), 469 * 234 = 109,746 frames for the whole grid, 1 MB allocated once.
constexpr int32_t SPAN_COLUMNS = PLAYFIELD_LAST - 1;
constexpr int32_t SPANS_PER_ROW = (SPAN_COLUMNS + 1) / 2;
constexpr int32_t FILL_STACK_FRAMES = PLAYFIELD_SIZE * SPANS_PER_ROW;
static_assert(FILL_STACK_FRAMES == 109746);

FillFrame fill_stack[FILL_STACK_FRAMES];

bool trail_point_in_span(const TrailPoints& t, int32_t y, int32_t left, int32_t right) {
  if (!t.on_row[y]) return false;
  for (int32_t i = 0; i < t.count; ++i)
    if (t.y[i] == y && left < t.x[i] && t.x[i] < right) return true;
  return false;
}

// L and R around the seed: the first cells either side that differ from v, or the grid's edge.
void span_find(const Playfield& playfield, int32_t x, int32_t y, int32_t v, int32_t* left, int32_t* right) {
  const PlayfieldCell* row = &playfield.cells[y * PLAYFIELD_SIZE];
  int32_t l = x, r = x;
  while (l > 0 && row[l] == v) --l;
  while (r < PLAYFIELD_LAST && row[r] == v) ++r;
  *left = l;
  *right = r;
}

void span_fill(Playfield& playfield, int32_t y, int32_t left, int32_t right, int32_t value) {
  if (left + 1 >= right) return;
  playfield_touch_row(playfield, y);
  PlayfieldCell* row = &playfield.cells[y * PLAYFIELD_SIZE];
  std::fill(row + left + 1, row + right, value);
}

// A cell outside the grid counts as non-open.
bool non_open(const Playfield& playfield, int32_t x, int32_t y) {
  return !playfield_inside(x, y) || playfield_cell(playfield, x, y) != CELL_OPEN;
}

// A neighbour counts as a line when it is stix or border.
bool is_line(int32_t value) { return (value & (CELL_STIX | CELL_BORDER)) != 0; }

void frame_push(int32_t depth, int32_t y, int32_t left, int32_t right) {
  fill_stack[depth] = {static_cast<int16_t>(y), static_cast<int16_t>(left), static_cast<int16_t>(right),
                       static_cast<int16_t>(left), 0};
}

// Whether a border cell above (side -1) or below (side +1) column c of the span on row y no
// longer touches open ground on the far side. The two ends differ on purpose: the right end
// also looks at the cell beside it one row over.
bool border_turns_inner(const Playfield& pf, int32_t c, int32_t y, int32_t left, int32_t right, int32_t side) {
  int32_t far = y + 2 * side;
  if (left < c && c < right) {
    if (side < 0 ? far <= 0 : far >= PLAYFIELD_LAST) return true;
    return non_open(pf, c - 1, far) && non_open(pf, c + 1, far);
  }
  if (c == left) return non_open(pf, c + 1, far) && non_open(pf, c - 1, y);
  return non_open(pf, c - 1, far) && non_open(pf, c + 1, y) && non_open(pf, c + 1, y + side);
}

// A wall at one end of a claimed span, once everything reached from the span is claimed: a
// border while open ground lies beyond it, an inner border when it is a border or more and
// nothing beyond it is a line (or it is the grid's edge), else a border.
void end_wall_convert(PlayfieldCell& wall, bool at_edge, int32_t beyond) {
  if (!at_edge && beyond == CELL_OPEN)
    wall = CELL_BORDER;
  else if (wall >= CELL_BORDER && (at_edge || !is_line(beyond)))
    wall = CELL_INNER_BORDER;
  else
    wall = CELL_BORDER;
}

void row_walls_convert(Playfield& pf, int32_t y, int32_t left, int32_t right) {
  // The left wall has one case of its own, where both cells diagonally beyond it hold 2 or
  // more; ordinary cuts never make it, and we make the wall a border there like the rest.
  end_wall_convert(playfield_cell(pf, left, y), left == 0, left > 0 ? int32_t{playfield_cell(pf, left - 1, y)} : CELL_OPEN);
  end_wall_convert(playfield_cell(pf, right, y), right == PLAYFIELD_LAST,
                   right < PLAYFIELD_LAST ? int32_t{playfield_cell(pf, right + 1, y)} : CELL_OPEN);
}

}  // namespace

int32_t playfield_probe_fill(Playfield& playfield, const TrailPoints& trail, int32_t x, int32_t y, int32_t mark) {
  if (!playfield_inside(x, y)) return 0;
  int32_t v = playfield_cell(playfield, x, y);
  int32_t left, right;
  span_find(playfield, x, y, v, &left, &right);
  if (trail_point_in_span(trail, y, left, right)) return 0;
  // Marking with the value being followed would never end; only the seed's span can answer.
  if (mark == v) return 1;
  span_fill(playfield, y, left, right, mark);
  frame_push(0, y, left, right);
  int32_t depth = 1;
  while (depth > 0) {
    FillFrame& f = fill_stack[depth - 1];
    const int32_t row = f.y, last = f.right;
    const PlayfieldCell* above = row - 1 >= 1 ? &playfield.cells[(row - 1) * PLAYFIELD_SIZE] : nullptr;
    const PlayfieldCell* below = row + 1 <= PLAYFIELD_LAST - 1 ? &playfield.cells[(row + 1) * PLAYFIELD_SIZE] : nullptr;
    // Go on along the columns to the next neighbour that continues the region.
    int32_t c = f.column, found = -1, next = 0;
    uint8_t side = f.below;
    while (c <= last) {
      if (side == 0) {
        side = 1;
        if (above && above[c] == v) {
          found = c, next = row - 1;
          break;
        }
      } else {
        side = 0;
        ++c;
        if (below && below[c - 1] == v) {
          found = c - 1, next = row + 1;
          break;
        }
      }
    }
    if (found < 0) {
      --depth;
      continue;
    }
    f.column = static_cast<int16_t>(c);
    f.below = side;
    // Only spans that hold no filled value can be pushed; a full stack means cells that are not
    // open ground on the outer ring, which the game never fills. Answer "cannot tell".
    if (depth == FILL_STACK_FRAMES) return 0;
    span_find(playfield, found, next, v, &left, &right);
    if (trail_point_in_span(trail, next, left, right)) return 0;
    span_fill(playfield, next, left, right, mark);
    frame_push(depth++, next, left, right);
  }
  return 1;
}

int32_t playfield_claim_fill(Playfield& playfield, int32_t x, int32_t y) {
  if (!playfield_inside(x, y)) return 0;
  int32_t v = playfield_cell(playfield, x, y);
  if (v == CELL_CLAIMED) return 0;  // would follow its own marks for ever
  int32_t left, right;
  span_find(playfield, x, y, v, &left, &right);
  span_fill(playfield, y, left, right, CELL_CLAIMED);
  int32_t count = std::max(right - left - 1, 0);
  frame_push(0, y, left, right);
  int32_t depth = 1;
  while (depth > 0) {
    FillFrame& f = fill_stack[depth - 1];
    const int32_t row = f.y, first = f.left, last = f.right;
    PlayfieldCell* above = row - 1 >= 0 ? &playfield.cells[(row - 1) * PLAYFIELD_SIZE] : nullptr;
    PlayfieldCell* below = row + 1 <= PLAYFIELD_LAST ? &playfield.cells[(row + 1) * PLAYFIELD_SIZE] : nullptr;
    // Walls met on the way are converted at once; a neighbour of the region's value stops the
    // walk and is claimed with all it leads to before the walk goes on.
    int32_t c = f.column, found = -1, next = 0;
    uint8_t side = f.below;
    while (c <= last) {
      PlayfieldCell* n;
      int32_t at = c, toward;
      if (side == 0) {
        side = 1;
        n = above ? &above[c] : nullptr;
        toward = -1;
      } else {
        side = 0;
        ++c;
        n = below ? &below[at] : nullptr;
        toward = 1;
      }
      if (!n) continue;
      if (*n == v) {
        found = at, next = row + toward;
        break;
      }
      if (*n == CELL_STIX) {
        *n = CELL_BORDER;
        playfield_touch_row(playfield, row + toward);
      } else if (*n == CELL_BORDER && border_turns_inner(playfield, at, row, first, last, toward)) {
        *n = CELL_INNER_BORDER;
        playfield_touch_row(playfield, row + toward);
      }
    }
    if (found < 0) {
      row_walls_convert(playfield, row, first, last);
      --depth;
      continue;
    }
    f.column = static_cast<int16_t>(c);
    f.below = side;
    if (depth == FILL_STACK_FRAMES) return count;  // see the probe: never with open ground
    span_find(playfield, found, next, v, &left, &right);
    span_fill(playfield, next, left, right, CELL_CLAIMED);
    count += std::max(right - left - 1, 0);
    frame_push(depth++, next, left, right);
  }
  return count;
}

ClaimResult playfield_claim(Playfield& playfield, const TrailPoints& trail, int32_t x, int32_t y, int32_t direction,
                            int32_t move_mode) {
  // The probe tries the side right of a vertical last segment, below a horizontal one.
  int32_t probe_x, probe_y, other_x, other_y;
  switch (direction) {
    case DIR_UP: probe_x = x + 1, probe_y = y + 1, other_x = x - 1, other_y = y + 1; break;
    case DIR_DOWN: probe_x = x + 1, probe_y = y - 1, other_x = x - 1, other_y = y - 1; break;
    case DIR_LEFT: probe_x = x + 1, probe_y = y + 1, other_x = x + 1, other_y = y - 1; break;
    case DIR_RIGHT: probe_x = x - 1, probe_y = y + 1, other_x = x - 1, other_y = y - 1; break;
    default: return ClaimResult{};
  }
  if (!playfield_inside(probe_x, probe_y)) return ClaimResult{};
  // The second pass undoes the marks. It restores what the seed held, which is open ground in
  // every claim the game makes; a seed on anything else must not come back as open ground.
  int32_t seed_value = playfield_cell(playfield, probe_x, probe_y);
  int32_t free_of_qix = playfield_probe_fill(playfield, trail, probe_x, probe_y, CELL_PROBE_MARK);
  playfield_probe_fill(playfield, trail, probe_x, probe_y, seed_value);
  sound_effect(SND_BEEP_ARCADE);
  ClaimResult result;
  result.cells = free_of_qix ? playfield_claim_fill(playfield, probe_x, probe_y)
                             : playfield_claim_fill(playfield, other_x, other_y);
  float factor = move_mode == 2 ? SCORE_PER_CELL_FAST : SCORE_PER_CELL_SLOW;
  result.points = static_cast<int32_t>(static_cast<double>(result.cells) * static_cast<double>(factor));
  return result;
}
