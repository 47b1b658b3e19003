// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "geo/zip_locator.h"
#include "host/status.h"

namespace vistrel::geo {

// A closed ring of places: the last equals the first.
using Ring = std::vector<GeoPosition>;
// An outline (counter-clockwise) followed by its holes (clockwise).
using Polygon = std::vector<Ring>;

// The outline of one state or country.
struct Shape {
  std::string key;   // a state code ("CA"), or a country's ISO alpha-2 code or its name
  std::string code;  // the state's two-digit FIPS code, or the country's ISO alpha-2 code; may be empty
  std::string name;
  std::vector<Polygon> polygons;
};

// The outlines the reports draw, in longitude and latitude, from a built-in
// table of lines "key,code,name,part,points": one ring a line, `part`
// numbering the polygons of a shape from 0, each part's first ring its
// outline, `points` "lon lat lon lat ..." ending on the first point.
class ShapeSet {
 public:
  // Fails with Corrupt naming the line of a malformed ring (an odd number of
  // coordinates, a place off the globe, fewer than four points, not closed).
  static host::StatusOr<ShapeSet> parse(std::string_view csv);
  // The states of the program's state table and the countries of the world,
  // read once on first use; empty when the built-in table cannot be read.
  static const ShapeSet& states();
  static const ShapeSet& countries();

  const std::vector<Shape>& shapes() const { return shapes_; }
  // The shape whose key is `key` exactly, or nullptr.
  const Shape* find(std::string_view key) const;

 private:
  std::vector<Shape> shapes_;
};

// The state shape of a state value of the analysis, its code in any letter
// case ("ca" is California); nullptr for any other value.
const Shape* stateShape(std::string_view value);

// The country shape of a country value: a US country name the program
// knows, or a name, ISO code or the world map's name of a country, compared
// with a-z upper-cased, full stops left out and blanks run together
// ("u.s.a." and "Deutschland" are found); nullptr when none fits.
const Shape* countryShape(std::string_view value);

}  // namespace vistrel::geo
