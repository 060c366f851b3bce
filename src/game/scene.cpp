// The game screen's still layer: composed once, then drawn again only in the bands that
// changed, each band drawn by the same steps as the whole picture, clipped to the band, so
// that both ways give the same bytes.
#include "game/scene.h"

#include <algorithm>
#include <cstring>

#include "game/game.h"
#include "game/hud.h"

namespace {

// The panel lies right of the playfield (screen columns 5..473); the two never share a pixel.
constexpr int32_t PANEL_LEFT = PLAYFIELD_SCREEN_OFFSET + PLAYFIELD_SIZE;
constexpr int32_t MAX_CLIP_RECTS = 16;

// Rows of the panel items that change, wide enough for their text and sprites.
struct PanelBand {
  int32_t top, bottom;
};
constexpr PanelBand BAND_SCORE{22, 40}, BAND_HIGH{34, 52}, BAND_LEVEL{58, 76}, BAND_FILLED{82, 100};
constexpr PanelBand BAND_TIME_BAR{134, 148}, BAND_LIVES{154, 174};

PanelShown panel_of(const Game& game, const Round& round) {
  return PanelShown{game.game_score, game.high_shown, game.game_level, round.claimed_cells,
                    hud_time_bar_right(game.time_left), game.game_lives};
}

// Everything still, in the order the picture has always been drawn: the backdrop and its
// sprites, the grid's rows first..last, then the panel.
void draw_still(const Game& game, const Round& round, const Assets& a, Surface* target, const Rect& area,
                int32_t first_row, int32_t last_row) {
  surface_fill(target, &area, 0);
  bob_draw_at(a.playfield_sprite, a.playfield_sprite.x, a.playfield_sprite.y, target);
  bob_draw_at(a.title_sprite, 515, 0, target);
  bob_draw_at(a.logo_sprite, a.logo_sprite.x, a.logo_sprite.y, target);
  bob_draw_at(a.arrows_sprite, a.arrows_sprite.x, a.arrows_sprite.y, target);
  // The cells go straight into the locked memory, laid out as the cells are written: 640 bytes
  // a row. A surface that cannot be locked shows none.
  if (first_row <= last_row) {
    int32_t pitch = 0;
    uint8_t* pixels = display_lock(target, &pitch);
    if (pixels != nullptr && pitch == 640) playfield_draw_rows(round.playfield, pixels, first_row, last_row);
    if (pixels != nullptr)
      display_unlock_written(target, pixels,
                             Rect{PLAYFIELD_SCREEN_OFFSET, first_row + PLAYFIELD_SCREEN_OFFSET, PANEL_LEFT,
                                  last_row + 1 + PLAYFIELD_SCREEN_OFFSET});
  }
  // Nothing of the panel reaches left of it: bands of the playfield alone leave it out.
  if (area.right > PANEL_LEFT) hud_draw_panel(game, round, a, target);
}

// The still steps drawn again inside area only: the layer's clip list becomes area cut by the
// back buffer's, so every step lands exactly where the whole picture would have it.
bool redraw_area(const Game& game, const Round& round, const Assets& a, Surface* layer, const Rect& area,
                 int32_t first_row, int32_t last_row) {
  Rect rects[MAX_CLIP_RECTS];
  int32_t count = 0;
  const Clipper* back = display.display_back ? display.display_back->clipper : nullptr;
  if (!back) {
    rects[count++] = area;
  } else {
    if (back->count > MAX_CLIP_RECTS) return false;
    for (int32_t i = 0; i < back->count; ++i) {
      const Rect& c = back->rects[i];
      const Rect r{std::max(c.left, area.left), std::max(c.top, area.top), std::min(c.right, area.right),
                   std::min(c.bottom, area.bottom)};
      if (r.left < r.right && r.top < r.bottom) rects[count++] = r;
    }
  }
  Clipper clip{count, rects, area};
  Clipper* saved = layer->clipper;
  layer->clipper = &clip;
  draw_still(game, round, a, layer, area, first_row, last_row);
  layer->clipper = saved;
  return true;
}

void compose_whole(GameScene& scene, const Game& game, const Round& round, const Assets& a, Surface* layer) {
  layer->clipper = display.display_back ? display.display_back->clipper : nullptr;
  draw_still(game, round, a, layer, Rect{0, 0, layer->width, layer->height}, 0, PLAYFIELD_LAST);
  layer->clipper = nullptr;
  still_take(&scene.frame);
  scene.composed = true;
  scene.playfield = &round.playfield;
  std::memcpy(scene.row_seen, round.playfield.row_written, sizeof scene.row_seen);
  scene.picture = bob_current_frame(&a.playfield_sprite);
  std::memcpy(scene.palette, current_palette, sizeof scene.palette);
  scene.panel = panel_of(game, round);
}

}  // namespace

void scene_draw_still(const Game& game, const Round& round, const Assets& assets, Surface* target) {
  draw_still(game, round, assets, target, Rect{0, 0, target->width, target->height}, 0, PLAYFIELD_LAST);
}

bool scene_update(GameScene& scene, const Game& game, const Round& round, const Assets& assets, FrameChanges* changes) {
  Surface* layer = display_still_layer();
  if (!layer) return false;
  frame_changes_reset(changes, layer->width, layer->height);
  const bool same = scene.composed && still_is_ours(scene.frame) && scene.playfield == &round.playfield &&
                    scene.picture == bob_current_frame(&assets.playfield_sprite) &&
                    std::memcmp(scene.palette, current_palette, sizeof scene.palette) == 0;
  if (!same) {
    compose_whole(scene, game, round, assets, layer);
    frame_changes_set_whole(changes);
    return true;
  }
  // The grid: runs of rows whose stamps moved, each drawn again across the playfield's width.
  const Playfield& pf = round.playfield;
  for (int32_t y = 0; y < PLAYFIELD_SIZE;) {
    if (pf.row_written[y] == scene.row_seen[y]) {
      ++y;
      continue;
    }
    int32_t end = y;
    while (end + 1 < PLAYFIELD_SIZE && pf.row_written[end + 1] != scene.row_seen[end + 1]) ++end;
    const Rect area{0, y + PLAYFIELD_SCREEN_OFFSET, PANEL_LEFT, end + 1 + PLAYFIELD_SCREEN_OFFSET};
    if (!redraw_area(game, round, assets, layer, area, y, end)) {
      compose_whole(scene, game, round, assets, layer);
      frame_changes_set_whole(changes);
      return true;
    }
    frame_changes_add(changes, area.left, area.top, area.right, area.bottom);
    for (int32_t r = y; r <= end; ++r) scene.row_seen[r] = pf.row_written[r];
    y = end + 1;
  }
  // The panel: the bands of the values that changed.
  const PanelShown now = panel_of(game, round);
  const PanelShown& was = scene.panel;
  const struct {
    bool changed;
    PanelBand band;
  } items[] = {{now.score != was.score, BAND_SCORE},       {now.high != was.high, BAND_HIGH},
               {now.level != was.level, BAND_LEVEL},       {now.claimed != was.claimed, BAND_FILLED},
               {now.time_bar_right != was.time_bar_right, BAND_TIME_BAR}, {now.lives != was.lives, BAND_LIVES}};
  for (const auto& item : items) {
    if (!item.changed) continue;
    const Rect area{PANEL_LEFT, item.band.top, layer->width, item.band.bottom};
    if (!redraw_area(game, round, assets, layer, area, 0, -1)) {
      compose_whole(scene, game, round, assets, layer);
      frame_changes_set_whole(changes);
      return true;
    }
    frame_changes_add(changes, area.left, area.top, area.right, area.bottom);
  }
  scene.panel = now;
  return true;
}
