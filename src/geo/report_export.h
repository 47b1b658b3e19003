// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "geo/analysis_report.h"
#include "geo/ranges.h"
#include "geo/shape_set.h"
#include "host/date_time.h"
#include "host/locale.h"

// An analysis as a file for people without the program: a self-contained
// HTML page with the map and the table, or GeoJSON for map tools. Both are
// made from the one analysis report the result window and the command line
// share, and colour by the same share ranges as the window's map.
namespace vistrel::geo {

// What a report tells beside the analysis itself.
struct ReportContext {
  std::string filter;  // the saved filter that narrowed the contacts; empty for none
  bool reversed = false;
  std::string date;    // the day the report is made, "2026-12-08"
  RangeTable ranges;
  host::Locale locale;  // for the share texts of the HTML page
  // City: the US zip codes of the contacts, the dots of the window's plot.
  std::vector<std::string> contactZips;
};

// The page: title block (database, analysis, filter, date, contacts walked
// and counted), the map (US states or zip dots, or the world for the Country
// analysis), the legend, and the table in the report's order. Nothing in it
// is fetched from elsewhere; a little script names the place under the
// pointer and links the map with the table.
std::string htmlReport(const AnalysisReport& report, const ReportContext& context);

// A FeatureCollection, one feature per value that has a place: state and
// country shapes (Polygon or MultiPolygon), zip code and city points, in
// longitude and latitude. The values without a place, and the others of the
// Zip Code analysis, are listed in the collection's own properties.
std::string geoJsonReport(const AnalysisReport& report, const ReportContext& context);

// Where a value of an analysis lies, as both reports draw it.
struct ValuePlace {
  const Shape* shape = nullptr;          // State and Country
  std::optional<GeoPosition> point;      // Zip Code and City
  std::string state;                     // the state code of the place, when it has one
  std::string name;                      // "California", "Chicago, IL", "Germany"; may be empty
  bool placed() const { return shape != nullptr || point.has_value(); }
};

// The place of each value of the report, in row order. States match their
// code in any letter case; zip codes and cities take the position of the
// zip code table (a city the middle of its zip codes); countries match a
// name, ISO code or US country name.
std::vector<ValuePlace> placeValues(const AnalysisReport& report);

// The share of `count` in `total` in percent with at most four significant
// digits ("8.333"); "0" when total is 0.
std::string shareNumber(std::int64_t count, std::int64_t total, const host::Locale& locale);

// The day of `moment` as the reports write it: "2026-12-08".
std::string reportDate(host::DateTime moment);

}  // namespace vistrel::geo
