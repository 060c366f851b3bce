// STAR.BMP: the deep-space scene that every claim uncovers. Nebulae in violet, rose and teal
// with dust lanes, a star-forming knot, two star clusters, a distant spiral galaxy, and a
// ringed gas giant with a small moon. Nothing in it is pure black, so claimed ground always
// stands apart from the open field.
#include <cmath>

#include "pictures.h"

namespace {

constexpr int32_t SIZE = 472;  // 469 used; stored a multiple of 4 wide
constexpr float PLANET_X = 352.0f, PLANET_Y = 352.0f, PLANET_R = 86.0f;
constexpr float MOON_X = 236.0f, MOON_Y = 424.0f, MOON_R = 12.0f;
constexpr float RING_TILT = -0.38f;     // radians
constexpr float RING_SQUASH = 0.26f;
constexpr float RING_IN = 1.34f, RING_OUT = 2.05f;  // in planet radii

// The light comes from the upper left, where the brightest nebula glows.
constexpr float LIGHT_X = -0.62f, LIGHT_Y = -0.48f, LIGHT_Z = 0.62f;

float ridge(float n) { return 1.0f - std::fabs(2.0f * n - 1.0f); }

// Distance of (x, y) from the segment a-b, in pixels.
float segment_distance(float x, float y, float ax, float ay, float bx, float by) {
  const float dx = bx - ax, dy = by - ay;
  const float t = clampf(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
  const float ex = x - ax - dx * t, ey = y - ay - dy * t;
  return std::sqrt(ex * ex + ey * ey);
}

Rgb sky(float x, float y) {
  const float u = x / 468.0f, v = y / 468.0f;
  // Warped coordinates shared by the clouds so they curl into each other.
  const float wx = u * 2.6f + 1.4f * fbm(u * 1.7f, v * 1.7f, 11, 4);
  const float wy = v * 2.6f + 1.4f * fbm(u * 1.7f + 7.3f, v * 1.7f + 2.1f, 12, 4);

  Rgb c = rgb_mix(rgbf(12, 15, 42), rgbf(15, 14, 44), clampf(u * 0.5f + v * 0.5f, 0.0f, 1.0f));
  const float grain = fbm(u * 9.0f, v * 9.0f, 5, 3);
  c = rgb_add(c, rgb_scale(rgbf(8, 10, 22), grain));

  // Violet and rose: a great cloud from the top left sweeping through the middle.
  const float band_a = std::exp(-std::pow(segment_distance(x, y, -30, 60, 380, 250) / 120.0f, 2.0f));
  const float dens_a = fbm(wx * 1.3f, wy * 1.3f, 21, 6);
  const float detail = 0.7f + 0.6f * fbm(wx * 6.0f, wy * 6.0f, 25, 4);
  const float cloud_a = smoothstep(0.30f, 0.78f, dens_a) * band_a * detail;
  const float wisp_a = std::pow(ridge(fbm(wx * 2.2f + 3.0f, wy * 2.2f, 23, 5)), 5.0f) * band_a;
  c = rgb_add(c, rgb_scale(rgbf(92, 30, 160), cloud_a * 1.1f));
  c = rgb_add(c, rgb_scale(rgbf(215, 40, 100), cloud_a * cloud_a * 1.2f));
  c = rgb_add(c, rgb_scale(rgbf(255, 150, 200), std::pow(cloud_a, 4.0f) * 0.7f));
  c = rgb_add(c, rgb_scale(rgbf(170, 110, 235), wisp_a * 0.55f));
  // The bright emission core of the cloud.
  const float core_dx = (x - 176.0f) / 70.0f, core_dy = (y - 150.0f) / 52.0f;
  const float core = std::exp(-(core_dx * core_dx + core_dy * core_dy)) * (0.5f + dens_a);
  c = rgb_add(c, rgb_scale(rgbf(230, 60, 140), core * 0.7f));

  // Teal: a cold cloud in the lower left, reaching up towards the middle.
  const float band_b = std::exp(-std::pow(segment_distance(x, y, 20, 470, 210, 260) / 110.0f, 2.0f));
  const float dens_b = fbm(wx * 1.1f + 9.0f, wy * 1.1f + 4.0f, 31, 6);
  const float cloud_b = smoothstep(0.32f, 0.80f, dens_b) * band_b * detail;
  const float wisp_b = std::pow(ridge(fbm(wx * 2.5f + 1.0f, wy * 2.5f + 8.0f, 33, 5)), 6.0f) * band_b;
  c = rgb_add(c, rgb_scale(rgbf(20, 100, 120), cloud_b * 1.2f));
  c = rgb_add(c, rgb_scale(rgbf(60, 200, 200), cloud_b * cloud_b * 1.2f));
  c = rgb_add(c, rgb_scale(rgbf(200, 255, 240), std::pow(cloud_b, 4.0f) * 0.5f));
  c = rgb_add(c, rgb_scale(rgbf(90, 205, 215), wisp_b * 0.6f));

  // Ember: a star-forming knot at the top right.
  const float kx = (x - 392.0f) / 58.0f, ky = (y - 84.0f) / 44.0f;
  const float knot = std::exp(-(kx * kx + ky * ky)) * smoothstep(0.05f, 0.85f, fbm(wx * 2.0f, wy * 2.0f, 41, 5));
  c = rgb_add(c, rgb_scale(rgbf(160, 30, 70), knot * 1.2f));
  c = rgb_add(c, rgb_scale(rgbf(255, 110, 40), knot * knot * 1.5f));
  c = rgb_add(c, rgb_scale(rgbf(255, 220, 120), std::pow(knot, 4.0f) * 1.0f));

  // Dust lanes: dark ridges that eat the light of the clouds in front of them.
  const float dust = smoothstep(0.55f, 0.9f, ridge(fbm(wx * 1.8f + 4.0f, wy * 1.8f + 6.0f, 51, 5))) *
                     clampf(band_a * 1.2f + band_b * 0.6f, 0.0f, 1.0f);
  const float keep = 1.0f - 0.72f * dust;
  c = Rgb{c.r * keep + 6.0f * dust, c.g * keep + 4.0f * dust, c.b * keep + 12.0f * dust};
  return c;
}

bool in_disc(float x, float y, float cx, float cy, float r) {
  const float dx = x - cx, dy = y - cy;
  return dx * dx + dy * dy < r * r;
}

// Ring-plane coordinates of a pixel: radius in planet radii, and whether it lies in front.
void ring_coords(float x, float y, float* radius, bool* front) {
  const float dx = x - PLANET_X, dy = y - PLANET_Y;
  const float cs = std::cos(-RING_TILT), sn = std::sin(-RING_TILT);
  const float qx = dx * cs - dy * sn, qy = dx * sn + dy * cs;
  const float ry = qy / RING_SQUASH;
  *radius = std::sqrt(qx * qx + ry * ry) / PLANET_R;
  *front = qy > 0.0f;
}

// Colour and opacity of the ring at a ring radius.
float ring_density(float r) {
  if (r < RING_IN || r > RING_OUT) return 0.0f;
  const float t = (r - RING_IN) / (RING_OUT - RING_IN);
  float d = 0.55f + 0.45f * value_noise(t * 38.0f, 0.5f, 61);
  d *= 0.6f + 0.4f * value_noise(t * 9.0f, 3.5f, 62);
  if (t > 0.58f && t < 0.64f) d *= 0.12f;  // a dark division between the two bright rings
  d *= smoothstep(0.0f, 0.06f, t) * smoothstep(1.0f, 0.9f, t);
  return d;
}

Rgb ring_colour(float r, float density) {
  const float t = (r - RING_IN) / (RING_OUT - RING_IN);
  const Rgb inner = rgbf(150, 120, 90), outer = rgbf(235, 215, 175);
  return rgb_scale(rgb_mix(inner, outer, t), 0.45f + 0.6f * density);
}

Rgb planet_colour(float x, float y, float* cover) {
  const float nx = (x - PLANET_X) / PLANET_R, ny = (y - PLANET_Y) / PLANET_R;
  const float r2 = nx * nx + ny * ny;
  *cover = clampf((1.0f - std::sqrt(r2)) * PLANET_R + 0.5f, 0.0f, 1.0f);
  const float nz = std::sqrt(std::fmax(0.0f, 1.0f - r2));
  // Latitude along the tilted axis, with the bands pulled by turbulence.
  const float cs = std::cos(RING_TILT), sn = std::sin(RING_TILT);
  const float lat = -nx * sn + ny * cs;
  const float lon = (nx * cs + ny * sn) / (nz + 0.35f);
  const float turb = fbm(lon * 2.2f, lat * 6.0f, 71, 5) - 0.5f;
  const float band = 0.5f + 0.5f * std::sin(lat * 17.0f + turb * 3.2f + std::sin(lat * 5.0f) * 1.5f);
  const float fine = fbm(lon * 3.0f, lat * 22.0f + turb * 2.0f, 72, 4);
  Rgb surface = rgb_mix(rgbf(118, 58, 30), rgbf(224, 170, 112), band);
  surface = rgb_mix(surface, rgbf(244, 222, 184), smoothstep(0.6f, 0.9f, fine) * 0.6f);
  // A great storm below the equator.
  const float sx = (lon - 0.25f) / 0.28f, sy = (lat - 0.38f) / 0.09f;
  const float storm = std::exp(-(sx * sx + sy * sy));
  surface = rgb_mix(surface, rgbf(200, 70, 40), storm * 0.85f);
  surface = rgb_mix(surface, rgbf(250, 190, 140), std::exp(-(sx * sx + sy * sy) * 5.0f) * 0.5f);

  const float lambert = nx * LIGHT_X + ny * LIGHT_Y + nz * LIGHT_Z;
  const float lit = smoothstep(-0.18f, 0.55f, lambert);
  Rgb c = rgb_scale(surface, 0.06f + 0.98f * lit);
  // Night side picks up a cold glow from the nebulae.
  c = rgb_add(c, rgb_scale(rgbf(12, 14, 34), 1.0f - lit));
  // Atmosphere: a thin bright rim on the day side, a faint one on the night side.
  const float rim = std::pow(1.0f - nz, 3.0f);
  c = rgb_add(c, rgb_scale(rgbf(120, 210, 230), rim * (0.25f + 1.1f * smoothstep(-0.3f, 0.5f, lambert))));
  return c;
}

Rgb moon_colour(float x, float y, float* cover) {
  const float nx = (x - MOON_X) / MOON_R, ny = (y - MOON_Y) / MOON_R;
  const float r2 = nx * nx + ny * ny;
  *cover = clampf((1.0f - std::sqrt(r2)) * MOON_R + 0.5f, 0.0f, 1.0f);
  const float nz = std::sqrt(std::fmax(0.0f, 1.0f - r2));
  const float craters = smoothstep(0.55f, 0.8f, value_noise(nx * 4.0f + 9.0f, ny * 4.0f + 2.0f, 81));
  const Rgb ground = rgb_mix(rgbf(170, 168, 176), rgbf(90, 88, 100), craters * 0.8f + fbm(nx * 3, ny * 3, 82, 3) * 0.3f);
  const float lambert = nx * LIGHT_X + ny * LIGHT_Y + nz * LIGHT_Z;
  return rgb_add(rgb_scale(ground, 0.05f + 0.95f * smoothstep(-0.1f, 0.7f, lambert)), rgbf(10, 12, 28));
}

// True where a foreground body hides the stars behind it.
bool hidden(float x, float y) {
  if (in_disc(x, y, PLANET_X, PLANET_Y, PLANET_R + 1.0f) || in_disc(x, y, MOON_X, MOON_Y, MOON_R + 1.0f)) return true;
  float r;
  bool front;
  ring_coords(x, y, &r, &front);
  return front && ring_density(r) > 0.35f;
}

Rgb star_tint(Rng* rng) {
  const float t = rng_unit(rng);
  if (t < 0.35f) return rgbf(200, 220, 255);
  if (t < 0.7f) return rgbf(255, 250, 240);
  if (t < 0.9f) return rgbf(255, 225, 170);
  return rgbf(255, 180, 130);
}

void star(Canvas* c, float x, float y, float brightness, Rgb tint) {
  if (hidden(x, y)) return;
  const int32_t ix = static_cast<int32_t>(x), iy = static_cast<int32_t>(y);
  canvas_add(c, ix, iy, tint, brightness);
  if (brightness > 0.45f) canvas_glow(c, x + 0.5f, y + 0.5f, 0.9f + brightness, tint, brightness * 0.35f);
  if (brightness > 0.9f) {
    // Diffraction spikes on the brightest stars.
    const int32_t reach = static_cast<int32_t>(3.0f + brightness * 5.0f);
    for (int32_t k = 1; k <= reach; ++k) {
      const float f = brightness * 0.8f * (1.0f - static_cast<float>(k) / static_cast<float>(reach + 1));
      canvas_add(c, ix + k, iy, tint, f);
      canvas_add(c, ix - k, iy, tint, f);
      canvas_add(c, ix, iy + k, tint, f);
      canvas_add(c, ix, iy - k, tint, f);
    }
  }
}

void scatter_stars(Canvas* c, Rng* rng) {
  // The field: many faint stars, few bright ones.
  for (int32_t i = 0; i < 1500; ++i) {
    const float x = rng_range(rng, 0.0f, 469.0f), y = rng_range(rng, 0.0f, 469.0f);
    const float b = 0.12f + 0.72f * std::pow(rng_unit(rng), 5.0f);
    star(c, x, y, b, star_tint(rng));
  }
  for (int32_t i = 0; i < 12; ++i) {
    const float x = rng_range(rng, 8.0f, 460.0f), y = rng_range(rng, 8.0f, 460.0f);
    star(c, x, y, rng_range(rng, 0.95f, 1.3f), star_tint(rng));
  }
  // An open cluster of hot blue stars in the ember knot.
  for (int32_t i = 0; i < 70; ++i) {
    const float x = 396.0f + rng_gauss(rng) * 16.0f, y = 80.0f + rng_gauss(rng) * 12.0f;
    star(c, x, y, 0.3f + 0.8f * std::pow(rng_unit(rng), 2.0f), rgbf(190, 215, 255));
  }
  // A globular cluster: an old golden ball of stars at the top left.
  canvas_glow(c, 82.0f, 64.0f, 12.0f, rgbf(255, 220, 160), 0.5f);
  for (int32_t i = 0; i < 220; ++i) {
    const float r = std::fabs(rng_gauss(rng)) * 7.0f + std::pow(rng_unit(rng), 3.0f) * 10.0f;
    const float a = rng_range(rng, 0.0f, 6.2831853f);
    star(c, 82.0f + std::cos(a) * r, 64.0f + std::sin(a) * r, 0.25f + 0.5f * rng_unit(rng), rgbf(255, 232, 190));
  }
}

// A small spiral galaxy seen at a slant.
void galaxy(Canvas* c) {
  const float gx = 432.0f, gy = 214.0f, tilt = 0.55f, squash = 0.42f, scale = 26.0f;
  for (int32_t y = static_cast<int32_t>(gy - 30); y <= static_cast<int32_t>(gy + 30); ++y) {
    for (int32_t x = static_cast<int32_t>(gx - 34); x <= static_cast<int32_t>(gx + 34); ++x) {
      const float dx = static_cast<float>(x) - gx, dy = static_cast<float>(y) - gy;
      const float qx = dx * std::cos(tilt) + dy * std::sin(tilt);
      const float qy = (-dx * std::sin(tilt) + dy * std::cos(tilt)) / squash;
      const float r = std::sqrt(qx * qx + qy * qy) / scale;
      if (r > 1.2f) continue;
      const float theta = std::atan2(qy, qx);
      const float arms = 0.5f + 0.5f * std::cos(2.0f * theta - 7.0f * std::log(r + 0.05f));
      const float disc = std::exp(-r * 3.2f);
      const float core = std::exp(-r * r * 60.0f);
      canvas_add(c, x, y, rgbf(150, 175, 255), disc * (0.25f + 0.75f * arms * arms) * 0.9f);
      canvas_add(c, x, y, rgbf(255, 236, 200), core * 1.4f);
    }
  }
}

Rgb tone(Rgb c) {
  // Soft shoulder: bright light rolls off instead of clipping flat.
  const auto curve = [](float v) { return v <= 170.0f ? v : 170.0f + 85.0f * (1.0f - std::exp(-(v - 170.0f) / 85.0f)); };
  return Rgb{curve(c.r), curve(c.g), curve(c.b)};
}

}  // namespace

Picture picture_star() {
  Canvas c = canvas_make(SIZE, SIZE, rgbf(0, 0, 0), 1.0f);
  for (int32_t y = 0; y < SIZE; ++y) {
    for (int32_t x = 0; x < SIZE; ++x) {
      const float fx = static_cast<float>(x), fy = static_cast<float>(y);
      Rgb p = sky(fx, fy);
      float ring_r;
      bool front;
      ring_coords(fx, fy, &ring_r, &front);
      const float density = ring_density(ring_r);
      if (!front && density > 0.0f) p = rgb_mix(p, ring_colour(ring_r, density), density * 0.9f);
      float cover;
      const Rgb planet = planet_colour(fx, fy, &cover);
      if (cover > 0.0f) p = rgb_mix(p, planet, cover);
      if (front && density > 0.0f) {
        // The front of the ring crosses the planet.
        p = rgb_mix(p, ring_colour(ring_r, density), density * 0.9f);
      }
      const Rgb moon = moon_colour(fx, fy, &cover);
      if (cover > 0.0f) p = rgb_mix(p, moon, cover);
      c.colour[canvas_offset(c, x, y)] = p;
    }
  }
  // A faint halo of light scattered round the planet's day side.
  for (int32_t y = 240; y < SIZE; ++y) {
    for (int32_t x = 240; x < SIZE; ++x) {
      const float dx = (static_cast<float>(x) - PLANET_X) / PLANET_R, dy = (static_cast<float>(y) - PLANET_Y) / PLANET_R;
      const float r = std::sqrt(dx * dx + dy * dy);
      if (r < 1.0f || r > 1.25f) continue;
      const float day = clampf(-(dx * 0.78f + dy * 0.62f) / r, 0.0f, 1.0f);
      canvas_add(&c, x, y, rgbf(90, 180, 210), day * std::pow(1.0f - (r - 1.0f) / 0.25f, 3.0f) * 0.7f);
    }
  }
  galaxy(&c);
  Rng rng{0x5EED57A2ULL};
  scatter_stars(&c, &rng);
  for (Rgb& p : c.colour) p = tone(p);
  return canvas_quantize_diffused(c, indexset_starfield(), 0.85f);
}
