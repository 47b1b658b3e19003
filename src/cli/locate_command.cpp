// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <cstdio>
#include <optional>
#include <ostream>
#include <string>

#include "cli/args.h"
#include "cli/commands.h"
#include "geo/address.h"
#include "geo/hit_table.h"
#include "geo/zip_locator.h"

namespace vistrel::cli {
namespace {

constexpr std::string_view kUsage =
    "Usage: vistrel-cli locate ZIP...\n\n"
    "Shows where each zip code is drawn on the small US map: one CSV line per\n"
    "zip code after a header line,\n"
    "  zip,latitude,longitude,x,y,state\n"
    "with the pixel (x, y) of its dot and the state the map names there (empty\n"
    "on a border, the background or the lake). A zip code is read by its first\n"
    "five digits, as the analyses read it. An unknown zip code gets empty\n"
    "fields; a place abroad gets its position but no pixel. Exits 1 when a zip\n"
    "code is unknown.\n";

std::string csvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string degrees(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.4f", v);
  return buf;
}

// One CSV line for a zip code; false when the zip code is unknown.
bool locateOne(const std::string& given, std::ostream& out) {
  std::string zip = given;
  geo::NormalizeUsZip(zip, "");
  const geo::ZipLocator& locator = geo::ZipLocator::builtIn();
  const std::optional<geo::GeoPosition> position = locator.position(zip);
  out << csvField(given);
  if (!position) {
    out << ",,,,,\n";
    return false;
  }
  out << ',' << degrees(position->latitude) << ',' << degrees(position->longitude);
  if (const std::optional<geo::MapPoint> p = locator.mapPoint(zip, false)) {
    out << ',' << p->x << ',' << p->y << ',' << csvField(geo::StateAtPoint(p->x, p->y)) << '\n';
  } else {
    out << ",,,\n";
  }
  return true;
}

int runLocate(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  const auto args = Args::parse(argv, {}, {});
  if (!args.ok()) {
    err << "vistrel-cli locate: " << args.status().message() << "\n" << kUsage;
    return kExitUsage;
  }
  if (args->positional().empty()) {
    err << kUsage;
    return kExitUsage;
  }
  bool allKnown = true;
  out << "zip,latitude,longitude,x,y,state\n";
  for (const std::string& zip : args->positional()) {
    if (!locateOne(zip, out)) {
      err << "vistrel-cli locate: unknown zip code '" << zip << "'\n";
      allKnown = false;
    }
  }
  return allKnown ? kExitOk : kExitFailure;
}

}  // namespace

const Command kLocateCommand = {
    "locate",
    "show where zip codes fall on the US map",
    kUsage,
    runLocate,
};

}  // namespace vistrel::cli
