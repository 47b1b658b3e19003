// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <cstdio>
#include <map>

#include "geo/address.h"
#include "geo/report_export.h"
#include "geo/share_text.h"
#include "geo/zip_table.h"
#include "host/text.h"

namespace vistrel::geo {
namespace {

// The middle of the zip codes of each city of the zip code table, by
// "CITY, ST" with the city's a-z upper-cased.
const std::map<std::string, GeoPosition, std::less<>>& cityPositions() {
  static const auto cities = [] {
    struct Sum {
      double latitude = 0, longitude = 0;
      int n = 0;
    };
    std::map<std::string, Sum, std::less<>> sums;
    for (const ZipRecord& r : ZipTable::builtIn().records()) {
      Sum& s = sums[host::upperAscii(r.city) + ", " + r.state];
      s.latitude += r.latitude;
      s.longitude += r.longitude;
      ++s.n;
    }
    std::map<std::string, GeoPosition, std::less<>> out;
    for (const auto& [key, s] : sums) out.emplace(key, GeoPosition{s.latitude / s.n, s.longitude / s.n});
    return out;
  }();
  return cities;
}

ValuePlace statePlace(std::string_view value) {
  ValuePlace place;
  place.shape = stateShape(value);
  if (place.shape != nullptr) {
    place.state = place.shape->key;
    place.name = std::string(StateDisplayName(place.state));
  }
  return place;
}

ValuePlace zipPlace(std::string_view value) {
  ValuePlace place;
  if (const ZipRecord* r = ZipTable::builtIn().find(value)) {
    place.point = GeoPosition{r->latitude, r->longitude};
    place.state = r->state;
    place.name = r->city + ", " + r->state;
  }
  return place;
}

// "City, ST": the state is what follows the last ", ".
ValuePlace cityPlace(std::string_view value) {
  ValuePlace place;
  const std::size_t comma = value.rfind(", ");
  if (comma == std::string_view::npos) return place;
  const std::string state(value.substr(comma + 2));
  const auto& cities = cityPositions();
  const auto it = cities.find(host::upperAscii(value.substr(0, comma)) + ", " + state);
  if (it == cities.end()) return place;
  place.point = it->second;
  place.state = state;
  place.name = std::string(value);
  return place;
}

ValuePlace countryPlace(std::string_view value) {
  ValuePlace place;
  place.shape = countryShape(value);
  if (place.shape != nullptr) place.name = place.shape->name;
  return place;
}

}  // namespace

std::vector<ValuePlace> placeValues(const AnalysisReport& report) {
  ValuePlace (*place)(std::string_view) = nullptr;
  switch (report.analysis().kind) {
    case Analysis::kState: place = statePlace; break;
    case Analysis::kZipCode: place = zipPlace; break;
    case Analysis::kCity: place = cityPlace; break;
    case Analysis::kCountry: place = countryPlace; break;
  }
  std::vector<ValuePlace> places;
  places.reserve(report.values().size());
  for (const std::string& v : report.values()) places.push_back(place(v));
  return places;
}

std::string shareNumber(std::int64_t count, std::int64_t total, const host::Locale& locale) {
  if (total <= 0) return "0";
  return formatFourDigits(static_cast<double>(count) * 100.0 / static_cast<double>(total), locale);
}

std::string reportDate(host::DateTime moment) {
  const host::CivilDate d = host::decodeDate(moment);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
  return buf;
}

}  // namespace vistrel::geo
