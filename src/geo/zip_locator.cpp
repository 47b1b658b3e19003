// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/zip_locator.h"

#include <cmath>

namespace vistrel::geo {

namespace {

// Truncates toward zero; values far off any picture (or not numbers) become
// a point well outside it.
int toPixel(double v) {
  if (!(std::fabs(v) < 1e6)) return -1000000;
  return static_cast<int>(std::trunc(v));
}

}  // namespace

MapPoint projectToMap(const GeoPosition& position, bool big) {
  const double scale = big ? 2.0 : 1.0;
  const double x = (130.5 - std::fabs(position.longitude)) * 50.0 / 7.0 * scale;
  const double y = (50.0 - std::fabs(position.latitude)) * 100.0 / 11.0 * scale;
  return MapPoint{toPixel(x), toPixel(y)};
}

const ZipLocator& ZipLocator::builtIn() {
  static const ZipLocator locator(ZipTable::builtIn());
  return locator;
}

std::optional<GeoPosition> ZipLocator::position(std::string_view zip) const {
  const ZipRecord* r = table_->find(zip);
  if (r == nullptr) return std::nullopt;
  return GeoPosition{r->latitude, r->longitude};
}

std::optional<MapPoint> ZipLocator::mapPoint(std::string_view zip, bool big) const {
  const std::optional<GeoPosition> p = position(zip);
  if (!p || p->longitude > 0 || p->latitude < 0) return std::nullopt;
  return projectToMap(*p, big);
}

}  // namespace vistrel::geo
