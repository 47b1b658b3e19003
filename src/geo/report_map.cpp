// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/report_map.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vistrel::geo {
namespace {

// The window's small map is 464 x 231; a few more rows keep the Florida Keys.
constexpr double kUsWidth = 464;
constexpr double kUsHeight = 234;
// The window's world picture.
constexpr double kWorldWidth = 329;
constexpr double kWorldHeight = 219;
constexpr double kWorldTopLatitude = 84;

// Alaska at a third of the main map's scale below California, Hawaii a little
// smaller than it is beside it, Puerto Rico and the Virgin Islands larger out
// in the Atlantic east of Florida. East-west scales shrink by the cosine of
// each inset's middle latitude.
std::vector<MapInset> usInsets() {
  return {
      {{"AK"}, -188.3, 71.6, 1.5, 3.0, 4, 166, 90, 63},
      {{"HI"}, -160.4, 22.4, 6.5, 7.0, 98, 200, 39, 27},
      {{"PR", "VI"}, -68.05, 18.65, 11.4, 12.0, 420, 212, 41, 14},
  };
}

double miller(double latitude) {
  const double phi = std::clamp(latitude, -89.9, 89.9) * std::numbers::pi / 180;
  return 1.25 * std::log(std::tan(std::numbers::pi / 4 + 0.4 * phi));
}

long hundredths(double v) { return std::lround(v * 100); }

std::string hundredthsText(long v) {
  const bool negative = v < 0;
  const long a = negative ? -v : v;
  std::string text = negative ? "-" : "";
  if (a >= 100) text += std::to_string(a / 100);
  const long fraction = a % 100;
  if (fraction != 0) {
    text += '.';
    text += static_cast<char>('0' + fraction / 10);
    if (fraction % 10 != 0) text += static_cast<char>('0' + fraction % 10);
  } else if (a < 100) {
    text += '0';
  }
  return text;
}

// Appends numbers to path data: a blank between two, none before a minus.
void appendNumber(std::string& d, long v) {
  const std::string text = hundredthsText(v);
  if (!d.empty() && text[0] != '-' && d.back() != 'M' && d.back() != 'l') d += ' ';
  d += text;
}

}  // namespace

std::string drawingNumber(double value) { return hundredthsText(hundredths(value)); }

const ReportMap& ReportMap::us() {
  static const ReportMap map(Kind::kUs, kUsWidth, kUsHeight, usInsets());
  return map;
}

const ReportMap& ReportMap::world() {
  static const ReportMap map(Kind::kWorld, kWorldWidth, kWorldHeight, {});
  return map;
}

const MapInset* ReportMap::insetOf(std::string_view state) const {
  for (const MapInset& inset : insets_) {
    if (std::find(inset.states.begin(), inset.states.end(), state) != inset.states.end()) return &inset;
  }
  return nullptr;
}

MapXY ReportMap::project(const GeoPosition& place, std::string_view state) const {
  if (kind_ == Kind::kWorld) {
    const double scale = kWorldWidth / (2 * std::numbers::pi);
    return MapXY{(place.longitude + 180) * std::numbers::pi / 180 * scale,
                 (miller(kWorldTopLatitude) - miller(place.latitude)) * scale};
  }
  if (const MapInset* inset = insetOf(state)) {
    // Alaska's western islands lie past the 180th meridian.
    const double lon = place.longitude > 0 ? place.longitude - 360 : place.longitude;
    return MapXY{inset->left + (lon - inset->west) * inset->xScale,
                 inset->top + (inset->north - place.latitude) * inset->yScale};
  }
  return MapXY{(130.5 - std::fabs(place.longitude)) * 50.0 / 7.0, (50.0 - std::fabs(place.latitude)) * 100.0 / 11.0};
}

std::string ReportMap::pathData(const Shape& shape) const {
  std::string d;
  for (const Polygon& polygon : shape.polygons) {
    for (const Ring& ring : polygon) {
      long x = 0, y = 0;
      bool moved = false;
      bool lines = false;
      // The last point repeats the first; "z" closes the ring. Points that
      // round onto the one before are left out.
      for (std::size_t i = 0; i + 1 < ring.size(); ++i) {
        const MapXY p = project(ring[i], shape.key);
        const long px = hundredths(p.x), py = hundredths(p.y);
        if (!moved) {
          d += 'M';
          appendNumber(d, px);
          appendNumber(d, py);
          moved = true;
        } else if (px != x || py != y) {
          if (!lines) d += 'l';
          lines = true;
          appendNumber(d, px - x);
          appendNumber(d, py - y);
        }
        x = px;
        y = py;
      }
      if (moved) d += 'z';
    }
  }
  return d;
}

}  // namespace vistrel::geo
