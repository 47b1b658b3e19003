// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/shape_set.h"

#include <charconv>
#include <cstdio>
#include <map>
#include <optional>

#include "geo/address.h"
#include "host/assets.h"
#include "host/csv.h"
#include "host/text.h"

namespace vistrel::geo {
namespace {

// The coordinates of "lon lat lon lat ...", or nothing when a number is
// malformed, the count is odd or a place lies off the globe.
std::optional<Ring> parseRing(std::string_view text) {
  Ring ring;
  const char* p = text.data();
  const char* end = p + text.size();
  std::vector<double> numbers;
  while (p < end) {
    if (*p == ' ') {
      ++p;
      continue;
    }
    double v = 0;
    const auto r = std::from_chars(p, end, v);
    if (r.ec != std::errc()) return std::nullopt;
    numbers.push_back(v);
    p = r.ptr;
  }
  if (numbers.size() % 2 != 0) return std::nullopt;
  for (std::size_t i = 0; i < numbers.size(); i += 2) {
    const double lon = numbers[i];
    const double lat = numbers[i + 1];
    if (!(lon >= -180 && lon <= 180 && lat >= -90 && lat <= 90)) return std::nullopt;
    ring.push_back(GeoPosition{lat, lon});
  }
  return ring;
}

bool closedRing(const Ring& ring) {
  return ring.size() >= 4 && ring.front().latitude == ring.back().latitude &&
         ring.front().longitude == ring.back().longitude;
}

ShapeSet builtInSet(const char* asset) {
  const auto bytes = host::asset(asset);
  if (!bytes) return ShapeSet();
  auto parsed = ShapeSet::parse(*bytes);
  if (!parsed.ok()) {
    std::fprintf(stderr, "%s: %s\n", asset, parsed.status().ToString().c_str());
    return ShapeSet();
  }
  return std::move(parsed).value();
}

// As country texts are compared: a-z upper-cased, full stops left out,
// blanks run together and trimmed.
std::string countryNameKey(std::string_view text) {
  std::string key;
  for (const char c : text) {
    if (c == '.') continue;
    if (c == ' ' || c == '\t') {
      if (!key.empty() && key.back() != ' ') key += ' ';
      continue;
    }
    key += host::upperAscii(c);
  }
  while (!key.empty() && key.back() == ' ') key.pop_back();
  return key;
}

// The country names of the built-in table, by their compared form.
const std::map<std::string, std::string, std::less<>>& countryNames() {
  static const auto names = [] {
    std::map<std::string, std::string, std::less<>> map;
    const auto bytes = host::asset("maps/country_names.csv");
    if (!bytes) return map;
    const host::Status read = host::forEachCsvRow(*bytes, [&](std::size_t, const std::vector<std::string>& f) {
      if (f.size() == 2) map.emplace(f[0], f[1]);
      return host::Status::OK();
    });
    (void)read;  // a name table that cannot be read finds fewer countries
    return map;
  }();
  return names;
}

}  // namespace

host::StatusOr<ShapeSet> ShapeSet::parse(std::string_view csv) {
  ShapeSet set;
  const host::Status read = host::forEachCsvRow(csv, [&](std::size_t line, const std::vector<std::string>& f) {
    const auto bad = [&] { return host::Status::Corrupt("shape table line " + std::to_string(line) + " is malformed"); };
    if (f.size() != 5 || f[0].empty()) return bad();
    int part = -1;
    const auto r = std::from_chars(f[3].data(), f[3].data() + f[3].size(), part);
    if (r.ec != std::errc() || part < 0) return bad();
    std::optional<Ring> ring = parseRing(f[4]);
    if (!ring || !closedRing(*ring)) return bad();
    if (set.shapes_.empty() || set.shapes_.back().key != f[0]) {
      if (part != 0) return bad();
      set.shapes_.push_back(Shape{f[0], f[1], f[2], {}});
    }
    std::vector<Polygon>& polygons = set.shapes_.back().polygons;
    if (part == static_cast<int>(polygons.size())) {
      polygons.emplace_back();
    } else if (part != static_cast<int>(polygons.size()) - 1) {
      return bad();
    }
    polygons.back().push_back(std::move(*ring));
    return host::Status::OK();
  });
  if (!read.ok()) return read;
  return set;
}

const ShapeSet& ShapeSet::states() {
  static const ShapeSet set = builtInSet("maps/state_shapes.csv");
  return set;
}

const ShapeSet& ShapeSet::countries() {
  static const ShapeSet set = builtInSet("maps/country_shapes.csv");
  return set;
}

const Shape* ShapeSet::find(std::string_view key) const {
  for (const Shape& s : shapes_) {
    if (s.key == key) return &s;
  }
  return nullptr;
}

const Shape* stateShape(std::string_view value) {
  if (value.size() != 2) return nullptr;
  return ShapeSet::states().find(host::upperAscii(value));
}

const Shape* countryShape(std::string_view value) {
  if (!host::trimWhite(value).empty() && isUsCountry(value)) return ShapeSet::countries().find("US");
  const auto& names = countryNames();
  const auto it = names.find(countryNameKey(value));
  if (it == names.end()) return nullptr;
  return ShapeSet::countries().find(it->second);
}

}  // namespace vistrel::geo
