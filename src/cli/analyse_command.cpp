// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <algorithm>
#include <cstdio>
#include <optional>
#include <ostream>
#include <sstream>
#include <variant>

#include "app/contact_import.h"
#include "cli/args.h"
#include "cli/commands.h"
#include "cli/data_dir.h"
#include "cli/filter_support.h"
#include "geo/analysis_report.h"
#include "geo/map_pictures.h"
#include "geo/plot.h"
#include "geo/ranges.h"
#include "geo/report_export.h"
#include "geo/tally.h"
#include "host/csv.h"
#include "host/environment.h"
#include "host/file_write.h"
#include "host/json.h"
#include "host/table.h"
#include "host/tallis_schema.h"
#include "host/text.h"

namespace vistrel::cli {
namespace {

constexpr char kUsage[] =
    "Usage: vistrel-cli analyse --data DIR --database NAME --by zip|city|state|country\n"
    "                           [--format table|csv|json|html|geojson] [--output FILE]\n"
    "                           [--count] [--map FILE [--big-map]]\n"
    "                           [--filter TEXT [--reverse] [--today YYYY-MM-DD] [--who ID]]\n\n"
    "Lists the distinct zip codes, cities, states or countries of a database's\n"
    "contacts, in the order the result window lists them. For --by zip the values\n"
    "that are no US zip code are listed apart (all forms but csv).\n\n"
    "  --format     html: a page with the map and the table that opens in any\n"
    "               browser; geojson: the states, countries, zip codes or cities\n"
    "               as features for map tools\n"
    "  --output FILE  write to FILE instead of standard output\n"
    "  --count      also count the contacts per value, with the total\n"
    "  --map FILE   write the map as Plot paints it (zip, city, state), using the\n"
    "               count ranges of vistrel.ini in the settings folder; .png writes\n"
    "               PNG, anything else BMP\n"
    "  --big-map    the big map (zip and city only)\n"
    "  --filter     only the contacts that saved filter selects (--reverse: those it\n"
    "               rejects); --today fixes the day its TODAY dates count from,\n"
    "               --who the user whose marks count (the filter's own user without it)\n";

using host::jsonString;

std::string oneLine(std::string_view message) {
  std::string out(message);
  std::replace(out.begin(), out.end(), '\r', '\n');
  return out;
}

// The report as the command prints it: with or without the counts.
struct Printed {
  const geo::AnalysisReport& report;
  bool counted;
  std::string filter;  // the saved filter that narrows the contacts, if any
};

void printTable(const Printed& p, std::ostream& out) {
  const geo::AnalysisReport& r = p.report;
  const std::string_view heading = r.analysis().heading;
  const host::Locale locale;
  std::size_t width = heading.size();
  for (const std::string& v : r.values()) width = std::max(width, host::utf8Length(v));
  const auto pad = [&](std::string_view text) {
    return std::string(text) + std::string(width + 2 - std::min(width + 1, host::utf8Length(text)), ' ');
  };
  if (!p.filter.empty()) out << "Filter: " << p.filter << "\n";
  out << (p.counted ? pad(heading) + "       #" : std::string(heading)) << "\n";
  for (std::size_t i = 0; i < r.values().size(); ++i) {
    if (!p.counted) {
      out << r.values()[i] << "\n";
      continue;
    }
    char count[24];
    std::snprintf(count, sizeof count, "%8lld", static_cast<long long>(r.counts()[i]));
    out << pad(r.values()[i]) << count << r.share(i, locale) << "\n";
  }
  out << r.values().size() << " Unique Values\n";
  if (p.counted) out << r.totalText() << "\n";
  if (r.analysis().others) {
    out << "\nOthers (" << r.others().size() << ")\n";
    for (const std::string& o : r.others()) out << "  " << o << "\n";
  }
}

void printCsv(const Printed& p, std::ostream& out) {
  const geo::AnalysisReport& r = p.report;
  out << (p.counted ? "key,count\r\n" : "key\r\n");
  for (std::size_t i = 0; i < r.values().size(); ++i) {
    out << host::csvField(r.values()[i]);
    if (p.counted) out << "," << r.counts()[i];
    out << "\r\n";
  }
}

void printJson(const Printed& p, std::ostream& out) {
  const geo::AnalysisReport& r = p.report;
  out << "{\"database\": " << jsonString(r.database());
  if (!p.filter.empty()) out << ", \"filter\": " << jsonString(p.filter);
  out << ", \"analysis\": " << jsonString(r.analysis().name)
      << ", \"values\": [";
  for (std::size_t i = 0; i < r.values().size(); ++i) {
    out << (i ? ", " : "") << "{\"key\": " << jsonString(r.values()[i]);
    if (p.counted) out << ", \"count\": " << r.counts()[i];
    out << "}";
  }
  out << "], \"others\": [";
  for (std::size_t i = 0; i < r.others().size(); ++i) out << (i ? ", " : "") << jsonString(r.others()[i]);
  out << "]";
  if (p.counted) out << ", \"total\": " << r.total() << ", \"complete\": " << (r.complete() ? "true" : "false");
  out << "}\n";
}

// The database row named `name` (ignoring case), or the known names for the message.
host::StatusOr<std::string> findDatabase(host::Engine& engine, const std::string& name) {
  host::Table dbs(engine, std::string(host::kTallisAlias), std::string(host::kDatabaseTableName));
  VISTREL_RETURN_IF_ERROR(dbs.open());
  auto found = dbs.findKey({name});
  if (!found.ok()) return found.status();
  if (*found) return dbs.fieldByName("DB")->asText();
  std::string known;
  for (host::Status s = dbs.first(); s.ok() && !dbs.eof(); s = dbs.next()) {
    known += (known.empty() ? "" : ", ") + dbs.fieldByName("DB")->asText();
  }
  return host::Status::NotFound("unknown database '" + name + "'" + (known.empty() ? "" : " (known: " + known + ")"));
}

host::Status writeMap(const geo::AnalysisReport& r, const std::string& file, bool big, host::Table& contacts) {
  geo::Raster smallMap = big ? geo::Raster() : geo::smallUsMap();
  geo::Raster bigMap = big ? geo::bigUsMap() : geo::Raster();
  VISTREL_RETURN_IF_ERROR(r.plot(contacts, smallMap, bigMap, geo::RangeTable::load(host::programIniPath())));
  const geo::Raster& picture = big ? bigMap : smallMap;
  const bool png = file.size() >= 4 && host::equalsIgnoreCase(std::string_view(file).substr(file.size() - 4), ".png");
  return host::writeFileAtomically(file, png ? picture.toPng() : picture.toBmp());
}

// The options after parsing, or the exit code of a usage error.
struct Options {
  std::string data;
  std::string database;
  const geo::AnalysisInfo* analysis = nullptr;
  std::string format;
  std::optional<std::string> outputFile;
  std::optional<std::string> mapFile;
  bool big = false;
  bool count = false;
  Args args;  // for the saved filter's --filter, --reverse, --today and --who
};

int usageError(std::ostream& err, const std::string& message) {
  err << "vistrel-cli analyse: " << message << "\n";
  return kExitUsage;
}

std::variant<Options, int> parseOptions(const std::vector<std::string>& argv, std::ostream& err) {
  auto args = Args::parse(argv, {"data", "database", "by", "format", "output", "map", "filter", "today", "who"},
                          {"count", "big-map", "reverse"});
  const std::string usage(kUsage);
  if (!args.ok()) return usageError(err, args.status().message() + "\n\n" + usage.substr(0, usage.size() - 1));
  if (const host::Status s = args->check({"data", "database", "by"}, 0); !s.ok()) {
    return usageError(err, s.message() + "\n\n" + usage.substr(0, usage.size() - 1));
  }
  Options o;
  o.data = *args->value("data");
  o.database = *args->value("database");
  o.analysis = geo::findAnalysis(*args->value("by"));
  if (o.analysis == nullptr) {
    return usageError(err, "--by takes zip, city, state or country, not '" + *args->value("by") + "'");
  }
  o.format = args->valueOr("format", "table");
  if (o.format != "table" && o.format != "csv" && o.format != "json" && o.format != "html" && o.format != "geojson") {
    return usageError(err, "--format takes table, csv, json, html or geojson, not '" + o.format + "'");
  }
  o.outputFile = args->value("output");
  o.mapFile = args->value("map");
  o.big = args->has("big-map");
  o.count = args->has("count");
  o.args = *args;
  if (o.mapFile && o.analysis->map == geo::MapKind::kWorld) {
    return usageError(err, "the " + std::string(o.analysis->heading) + " analysis has no US map to plot");
  }
  if (o.big && (!o.mapFile || !o.analysis->bigMap)) {
    return usageError(err, "--big-map goes with --map for the zip or city analysis");
  }
  if (!args->has("filter") && (args->has("reverse") || args->has("today"))) {
    return usageError(err, std::string(args->has("reverse") ? "--reverse" : "--today") + " goes with --filter");
  }
  return o;
}

// The HTML page or the GeoJSON of the report; the City page walks the
// contacts again for the dots of their zip codes.
host::StatusOr<std::string> exportReport(const Options& o, const Printed& p, host::Table& contacts) {
  geo::ReportContext context;
  context.filter = p.filter;
  context.reversed = !p.filter.empty() && o.args.has("reverse");
  auto clock = clockFromArgs(o.args);
  if (!clock.ok()) return clock.status();
  context.date = geo::reportDate((*clock)->now());
  context.ranges = geo::RangeTable::load(host::programIniPath());
  if (o.format == "geojson") return geo::geoJsonReport(p.report, context);
  if (o.analysis->map == geo::MapKind::kContactDots) {
    auto zips = geo::contactZipCodes(contacts, p.report.database());
    if (!zips.ok()) return zips.status();
    context.contactZips = std::move(zips).value();
  }
  return geo::htmlReport(p.report, context);
}

int runAnalyse(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  auto parsed = parseOptions(argv, err);
  if (const int* code = std::get_if<int>(&parsed)) return *code;
  const Options& o = std::get<Options>(parsed);

  host::Engine engine;
  useDataDirectory(engine, o.data);
  const auto fail = [&](const host::Status& s) {
    err << "vistrel-cli analyse: " << oneLine(s.message()) << "\n";
    return kExitFailure;
  };
  if (host::Status s = app::checkDatabaseName(engine, host::kTallisAlias, o.database); !s.ok()) return fail(s);
  auto name = findDatabase(engine, o.database);
  if (!name.ok()) return fail(name.status());

  host::Table contacts(engine, std::string(host::kTallisAlias), std::string(host::kContactTableName));
  contacts.setIndexName("LastFirst");
  if (host::Status s = contacts.open(); !s.ok()) return fail(s);
  auto narrowed = installSavedFilter(engine, o.args, *name, contacts, err);
  if (!narrowed.ok()) return fail(narrowed.status());
  // The map needs the counts, but for the contact dots.
  const bool needCounts = o.count || (o.mapFile && o.analysis->map != geo::MapKind::kContactDots);
  auto report = geo::analyseDatabase(contacts, *name, o.analysis->kind, needCounts);
  if (!report.ok()) return fail(report.status());
  if (report->values().empty()) {
    err << oneLine(geo::kNoRecordsMessage) << "\n";
    return kExitFailure;
  }
  const Printed printed{*report, o.count, *narrowed ? (*narrowed)->row().shortname : std::string()};
  std::ostringstream buffer;
  std::ostream& sink = o.outputFile ? buffer : out;
  if (o.format == "csv") {
    printCsv(printed, sink);
  } else if (o.format == "json") {
    printJson(printed, sink);
  } else if (o.format == "html" || o.format == "geojson") {
    auto text = exportReport(o, printed, contacts);
    if (!text.ok()) return fail(text.status());
    sink << *text;
  } else {
    printTable(printed, sink);
  }
  if (o.outputFile) {
    if (host::Status s = host::writeFileAtomically(*o.outputFile, buffer.str()); !s.ok()) return fail(s);
  }
  if (o.mapFile) {
    const host::Status s = writeMap(*report, *o.mapFile, o.big, contacts);
    if (!s.ok()) return fail(s);
    if (needCounts && report->total() == 0) err << "No contact was counted: the map is not painted.\n";
    err << "Map written to " << *o.mapFile << "\n";
  }
  return kExitOk;
}

}  // namespace

const Command kAnalyseCommand = {"analyse", "list (and count) the zip codes, cities, states or countries of a database",
                                 kUsage, runAnalyse};

}  // namespace vistrel::cli
