// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/plot.h"

#include "geo/address.h"
#include "geo/map_paint.h"
#include "host/text.h"

namespace vistrel::geo {

int sharePercent(std::int64_t count, std::int64_t total) {
  if (total <= 0) return 0;
  return static_cast<int>(count * 100 / total);
}

Rgb shareColour(std::int64_t count, std::int64_t total, const RangeTable& ranges) {
  if (count == 1) return kOneContactColor;
  return ranges.RangeColor(sharePercent(count, total));
}

void plotStates(Raster& smallMap, const std::vector<std::string>& values, const std::vector<std::int64_t>& counts,
                std::int64_t total, const RangeTable& ranges) {
  if (total <= 0) return;
  for (std::size_t i = 0; i < values.size() && i < counts.size(); ++i) {
    PaintState(smallMap, values[i], shareColour(counts[i], total, ranges));
  }
}

void plotZipCodes(Raster& smallMap, Raster& bigMap, const std::vector<std::string>& values,
                  const std::vector<std::int64_t>& counts, std::int64_t total, const RangeTable& ranges) {
  if (total <= 0) return;
  for (std::size_t i = 0; i < values.size() && i < counts.size(); ++i) {
    const Rgb colour = shareColour(counts[i], total, ranges);
    if (!smallMap.empty()) PlotZip(smallMap, colour, values[i], false);
    if (!bigMap.empty()) PlotZip(bigMap, colour, values[i], true);
  }
}

host::StatusOr<std::int64_t> plotContactZips(host::Table& contacts, std::string_view database, Raster& smallMap,
                                             Raster& bigMap) {
  host::Field* db = contacts.fieldByName("DB");
  host::Field* zip = contacts.fieldByName("Zip");
  host::Field* country = contacts.fieldByName("country");
  if (db == nullptr || zip == nullptr || country == nullptr) {
    return host::Status::Corrupt(contacts.tableName() + ": the contact table lacks an address field");
  }
  std::int64_t dots = 0;
  std::string z;
  contacts.disableControls();
  const host::Status walk = contacts.visitTexts({db, zip, country}, [&](const std::vector<std::string_view>& t) {
    if (!host::equalsIgnoreCase(t[0], database)) return true;
    z.assign(t[1]);
    if (!NormalizeUsZip(z, t[2])) return true;
    if (!smallMap.empty()) PlotZip(smallMap, kOneContactColor, z, false);
    if (!bigMap.empty()) PlotZip(bigMap, kOneContactColor, z, true);
    ++dots;
    return true;
  });
  contacts.enableControls();
  if (!walk.ok()) return walk;
  return dots;
}

}  // namespace vistrel::geo
