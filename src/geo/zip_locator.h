// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string_view>

#include "geo/zip_table.h"

namespace vistrel::geo {

// A place on the earth in degrees, north and east positive.
struct GeoPosition {
  double latitude = 0;
  double longitude = 0;
};

// A pixel of a map picture, x to the right and y downward from the top left.
struct MapPoint {
  int x = -1;
  int y = -1;
  friend bool operator==(const MapPoint&, const MapPoint&) = default;
};

// The pixel of the small US map (or, with `big`, of the big map) at which a
// place is drawn: x = (130.5 - |longitude|) * 50/7, y = (50 - |latitude|) *
// 100/11, both doubled for the big map and truncated toward zero. The point
// may lie outside the picture.
MapPoint projectToMap(const GeoPosition& position, bool big);

// Looks up where zip codes lie, from a zip table it does not own (which must
// outlive it). Lookups are by bisection over the sorted table.
class ZipLocator {
 public:
  explicit ZipLocator(const ZipTable& table) : table_(&table) {}
  // The locator over the table of the program's data files.
  static const ZipLocator& builtIn();

  // The place of a five-digit zip code; nothing for a code the table lacks.
  std::optional<GeoPosition> position(std::string_view zip) const;
  // The map pixel of a zip code's dot (projectToMap); nothing for an unknown
  // code or for a place east of Greenwich or south of the equator (military
  // codes abroad), which the absolute values would fold onto the map where
  // it does not lie.
  std::optional<MapPoint> mapPoint(std::string_view zip, bool big) const;

 private:
  const ZipTable* table_;
};

}  // namespace vistrel::geo
