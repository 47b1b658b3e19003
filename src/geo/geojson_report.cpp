// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <charconv>
#include <cmath>

#include "geo/report_export.h"
#include "host/json.h"

namespace vistrel::geo {
namespace {

using host::jsonString;

// Degrees to four decimals (about ten metres), the precision of the tables.
void appendDegrees(std::string& out, double v) {
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, std::round(v * 1e4) / 1e4);
  out.append(buf, r.ptr);
}

void appendPosition(std::string& out, const GeoPosition& p) {
  out += '[';
  appendDegrees(out, p.longitude);
  out += ", ";
  appendDegrees(out, p.latitude);
  out += ']';
}

void appendPolygon(std::string& out, const Polygon& polygon) {
  out += '[';
  for (std::size_t r = 0; r < polygon.size(); ++r) {
    out += r ? ", [" : "[";
    for (std::size_t i = 0; i < polygon[r].size(); ++i) {
      if (i) out += ", ";
      appendPosition(out, polygon[r][i]);
    }
    out += ']';
  }
  out += ']';
}

void appendGeometry(std::string& out, const ValuePlace& place) {
  if (place.point) {
    out += "{\"type\": \"Point\", \"coordinates\": ";
    appendPosition(out, *place.point);
    out += '}';
    return;
  }
  const std::vector<Polygon>& polygons = place.shape->polygons;
  if (polygons.size() == 1) {
    out += "{\"type\": \"Polygon\", \"coordinates\": ";
    appendPolygon(out, polygons[0]);
  } else {
    out += "{\"type\": \"MultiPolygon\", \"coordinates\": [";
    for (std::size_t i = 0; i < polygons.size(); ++i) {
      if (i) out += ", ";
      appendPolygon(out, polygons[i]);
    }
    out += ']';
  }
  out += '}';
}

// The property that names the place in the terms of its kind: a state's FIPS
// code, a country's ISO code, the state of a zip code or city.
void appendPlaceCode(std::string& out, Analysis kind, const ValuePlace& place) {
  switch (kind) {
    case Analysis::kState: out += ", \"fips\": " + jsonString(place.shape->code); break;
    case Analysis::kCountry:
      out += ", \"iso\": " + (place.shape->code.empty() ? std::string("null") : jsonString(place.shape->code));
      break;
    case Analysis::kZipCode:
    case Analysis::kCity: out += ", \"state\": " + jsonString(place.state); break;
  }
}

void appendCount(std::string& out, const AnalysisReport& report, std::size_t row) {
  if (!report.counted()) return;
  out += ", \"count\": " + std::to_string(report.counts()[row]) +
         ", \"share\": " + shareNumber(report.counts()[row], report.total(), host::Locale());
}

void appendCollectionProperties(std::string& out, const AnalysisReport& report, const ReportContext& context,
                                const std::vector<ValuePlace>& places) {
  out += "\"properties\": {\"database\": " + jsonString(report.database()) +
         ", \"analysis\": " + jsonString(report.analysis().name);
  out += ", \"filter\": " + (context.filter.empty() ? std::string("null") : jsonString(context.filter));
  out += std::string(", \"reversed\": ") + (context.reversed ? "true" : "false");
  if (!context.date.empty()) out += ", \"date\": " + jsonString(context.date);
  out += ", \"walked\": " + std::to_string(report.walked());
  if (report.counted()) {
    out += ", \"total\": " + std::to_string(report.total()) +
           ", \"complete\": " + (report.complete() ? "true" : "false");
  }
  out += ", \"unmapped\": [";
  bool first = true;
  for (std::size_t i = 0; i < places.size(); ++i) {
    if (places[i].placed()) continue;
    out += first ? "" : ", ";
    first = false;
    out += "{\"key\": " + jsonString(report.values()[i]);
    if (report.counted()) out += ", \"count\": " + std::to_string(report.counts()[i]);
    out += '}';
  }
  out += ']';
  if (report.analysis().others) {
    out += ", \"others\": [";
    for (std::size_t i = 0; i < report.others().size(); ++i) out += (i ? ", " : "") + jsonString(report.others()[i]);
    out += ']';
  }
  out += '}';
}

}  // namespace

std::string geoJsonReport(const AnalysisReport& report, const ReportContext& context) {
  const std::vector<ValuePlace> places = placeValues(report);
  std::string out = "{\"type\": \"FeatureCollection\",\n";
  appendCollectionProperties(out, report, context, places);
  out += ",\n\"features\": [";
  bool first = true;
  for (std::size_t i = 0; i < places.size(); ++i) {
    const ValuePlace& place = places[i];
    if (!place.placed()) continue;
    out += first ? "\n" : ",\n";
    first = false;
    out += "{\"type\": \"Feature\", \"properties\": {\"key\": " + jsonString(report.values()[i]) +
           ", \"name\": " + jsonString(place.name);
    appendPlaceCode(out, report.analysis().kind, place);
    appendCount(out, report, i);
    out += "}, \"geometry\": ";
    appendGeometry(out, place);
    out += '}';
  }
  out += "\n]}\n";
  return out;
}

}  // namespace vistrel::geo
