// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/map_paint.h"

#include <array>
#include <vector>

#include "geo/hit_table.h"
#include "geo/map_pictures.h"

namespace vistrel::geo {
namespace {

struct SeedPoint {
  std::string_view code;
  int x;
  int y;
};

constexpr std::array<SeedPoint, 48> kSeedPoints{{
    {"AL", 312, 154}, {"AZ", 136, 146}, {"AR", 270, 140}, {"CA", 68, 113},
    {"CO", 167, 102}, {"CT", 410, 77},  {"DE", 392, 103}, {"FL", 348, 196},
    {"GA", 333, 158}, {"ID", 110, 57},  {"IL", 292, 89},  {"IN", 317, 97},
    {"IA", 259, 74},  {"KS", 221, 104}, {"KY", 326, 111}, {"LA", 269, 164},
    {"ME", 434, 45},  {"MD", 381, 97},  {"MA", 414, 70},  {"MI", 329, 63},
    {"MN", 257, 41},  {"MS", 292, 148}, {"MO", 272, 112}, {"MT", 160, 28},
    {"NE", 215, 79},  {"NV", 92, 93},   {"NH", 420, 59},  {"NJ", 398, 94},
    {"NM", 170, 138}, {"NY", 398, 65},  {"NC", 375, 131}, {"ND", 216, 26},
    {"OH", 339, 88},  {"OK", 233, 130}, {"OR", 62, 59},   {"PA", 376, 83},
    {"RI", 420, 76},  {"SC", 354, 145}, {"SD", 216, 50},  {"TN", 307, 128},
    {"TX", 233, 177}, {"UT", 135, 100}, {"VT", 411, 54},  {"VA", 374, 114},
    {"WA", 73, 28},   {"WV", 354, 104}, {"WI", 293, 52},  {"WY", 158, 60},
}};

// Gives every pixel four-way connected to `start` through the start pixel's
// colour the colour `to`, one row span at a time.
// REQUIRES: the start pixel's colour differs from `to`.
void surfaceFill(Raster& picture, MapPoint start, Rgb to) {
  const Rgb from = picture.pixel(start.x, start.y);
  std::vector<MapPoint> pending{start};
  while (!pending.empty()) {
    const MapPoint p = pending.back();
    pending.pop_back();
    if (picture.pixel(p.x, p.y) != from) continue;
    int left = p.x;
    while (left > 0 && picture.pixel(left - 1, p.y) == from) --left;
    int right = p.x;
    while (right + 1 < picture.width() && picture.pixel(right + 1, p.y) == from) ++right;
    for (int x = left; x <= right; ++x) picture.setPixel(x, p.y, to);
    for (const int y : {p.y - 1, p.y + 1}) {
      if (y < 0 || y >= picture.height()) continue;
      for (int x = left; x <= right; ++x) {
        const bool starts = picture.pixel(x, y) == from && (x == left || picture.pixel(x - 1, y) != from);
        if (starts) pending.push_back(MapPoint{x, y});
      }
    }
  }
}

}  // namespace

MapPoint StateSeedPoint(std::string_view code) {
  for (const SeedPoint& s : kSeedPoints) {
    if (s.code == code) return MapPoint{s.x, s.y};
  }
  return MapPoint{-1, -1};
}

void PaintState(Raster& picture, std::string_view code, Rgb colour) {
  const MapPoint seed = StateSeedPoint(code);
  if (!picture.contains(seed.x, seed.y) || colour == kBlack) return;
  const Rgb present = picture.pixel(seed.x, seed.y);
  if (present == kBlack || present == colour) return;
  surfaceFill(picture, seed, colour);
  // The state's other pieces (Michigan's Upper Peninsula, Long Island,
  // islands) get the same colour: each run of the hit table lies inside one
  // piece of its state, so a fill from a run still in the old colour stays
  // within that piece.
  if (picture.width() != kSmallMapWidth || picture.height() != kSmallMapHeight) return;
  const HitTable& runs = HitTable::builtIn();
  for (int b = 0; b < HitTable::kBlocks; ++b) {
    for (const HitRun& r : runs.block(b)) {
      if (r.code == code && picture.pixel(r.x1, r.y) == present) surfaceFill(picture, MapPoint{r.x1, r.y}, colour);
    }
  }
}

void PlotZip(Raster& picture, Rgb colour, std::string_view zip, bool big, const ZipLocator& locator) {
  if (const std::optional<MapPoint> p = locator.mapPoint(zip, big)) drawDot(picture, colour, *p);
}

void drawDot(Raster& picture, Rgb colour, MapPoint point) {
  if (!picture.contains(point.x, point.y)) return;
  for (int dy = -2; dy <= 1; ++dy) {
    for (int dx = -2; dx <= 1; ++dx) {
      const bool corner = (dx == -2 || dx == 1) && (dy == -2 || dy == 1);
      if (!corner && picture.contains(point.x + dx, point.y + dy)) {
        picture.setPixel(point.x + dx, point.y + dy, colour);
      }
    }
  }
}

}  // namespace vistrel::geo
