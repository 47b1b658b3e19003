// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "geo/shape_set.h"
#include "geo/zip_locator.h"

namespace vistrel::geo {

// A point of a report map, in the units of its drawing (pixels of the
// window's pictures), x to the right and y downward.
struct MapXY {
  double x = 0;
  double y = 0;
};

// A frame of the US report map that shows states away from the others at
// their own scale: where a place lies in it is
// x = left + (longitude - west) * xScale, y = top + (north - latitude) * yScale.
struct MapInset {
  std::vector<std::string_view> states;  // the codes drawn in it
  double west;                           // degrees at its left edge (Alaska's islands past 180 count on)
  double north;                          // degrees at its top edge
  double xScale;                         // units per degree of longitude
  double yScale;                         // units per degree of latitude
  double left, top, width, height;       // the frame
};

// The map an HTML report draws: its size and where places lie on it.
// The US map places the contiguous states (and DC) as the window's small map
// does, by x = (130.5 - |longitude|) * 50/7 and y = (50 - |latitude|) * 100/11,
// and shows Alaska, Hawaii, and Puerto Rico with the Virgin Islands in
// insets in its empty corners. The world map is the window's world picture:
// Miller's cylindrical projection from 84 degrees north, 329 wide.
class ReportMap {
 public:
  static const ReportMap& us();
  static const ReportMap& world();

  double width() const { return width_; }
  double height() const { return height_; }
  const std::vector<MapInset>& insets() const { return insets_; }

  // True when the state `state` is drawn in an inset.
  bool drawsApart(std::string_view state) const { return insetOf(state) != nullptr; }
  // Where a place of the state `state` (a code; anything else for the main
  // map) is drawn.
  MapXY project(const GeoPosition& place, std::string_view state) const;
  // The SVG path data of a shape ("M.. l.. z" per ring), in hundredths of a
  // unit; the key of the shape picks its inset.
  std::string pathData(const Shape& shape) const;

 private:
  enum class Kind { kUs, kWorld };
  ReportMap(Kind kind, double width, double height, std::vector<MapInset> insets)
      : kind_(kind), width_(width), height_(height), insets_(std::move(insets)) {}
  const MapInset* insetOf(std::string_view state) const;

  Kind kind_;
  double width_;
  double height_;
  std::vector<MapInset> insets_;
};

// A coordinate of a drawing as the reports write it: rounded to hundredths,
// without trailing zeros or a leading zero ("12.5", "-.25", "3").
std::string drawingNumber(double value);

}  // namespace vistrel::geo
