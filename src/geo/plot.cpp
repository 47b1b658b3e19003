// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/plot.h"

#include <functional>
#include <set>

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

namespace {

// Calls `dot` with the five-digit zip code of every contact of `database`
// (DB ignoring case) that has a US zip code, as the contacts stand (the range
// and filter apply).
host::Status visitContactZips(host::Table& contacts, std::string_view database,
                              const std::function<void(const std::string& zip)>& dot) {
  host::Field* db = contacts.fieldByName("DB");
  host::Field* zip = contacts.fieldByName("Zip");
  host::Field* country = contacts.fieldByName("country");
  if (db == nullptr || zip == nullptr || country == nullptr) {
    return host::Status::Corrupt(contacts.tableName() + ": the contact table lacks an address field");
  }
  std::string z;
  contacts.disableControls();
  const host::Status walk = contacts.visitTexts({db, zip, country}, [&](const std::vector<std::string_view>& t) {
    if (!host::equalsIgnoreCase(t[0], database)) return true;
    z.assign(t[1]);
    if (NormalizeUsZip(z, t[2])) dot(z);
    return true;
  });
  contacts.enableControls();
  return walk;
}

}  // namespace

host::StatusOr<std::int64_t> plotContactZips(host::Table& contacts, std::string_view database, Raster& smallMap,
                                             Raster& bigMap) {
  std::int64_t dots = 0;
  const host::Status walk = visitContactZips(contacts, database, [&](const std::string& z) {
    if (!smallMap.empty()) PlotZip(smallMap, kOneContactColor, z, false);
    if (!bigMap.empty()) PlotZip(bigMap, kOneContactColor, z, true);
    ++dots;
  });
  if (!walk.ok()) return walk;
  return dots;
}

host::StatusOr<std::vector<std::string>> contactZipCodes(host::Table& contacts, std::string_view database) {
  VISTREL_RETURN_IF_ERROR(contacts.setRange({std::string(database)}, {std::string(database)}));
  std::set<std::string, std::less<>> zips;
  const host::Status walk = visitContactZips(contacts, database, [&](const std::string& z) {
    if (zips.find(z) == zips.end()) zips.insert(z);
  });
  if (!walk.ok()) return walk;
  return std::vector<std::string>(zips.begin(), zips.end());
}

}  // namespace vistrel::geo
