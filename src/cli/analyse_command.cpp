// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <ostream>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/data_dir.h"
#include "cli/filter_support.h"
#include "geo/map_pictures.h"
#include "geo/plot.h"
#include "geo/ranges.h"
#include "geo/share_text.h"
#include "geo/tally.h"
#include "host/csv.h"
#include "host/environment.h"
#include "host/table.h"
#include "host/tallis_schema.h"
#include "host/text.h"

namespace vistrel::cli {
namespace {

constexpr char kUsage[] =
    "Usage: vistrel-cli analyse --data DIR --database NAME --by zip|city|state|country\n"
    "                           [--format table|csv|json] [--count] [--map FILE [--big-map]]\n"
    "                           [--filter TEXT [--reverse] [--today YYYY-MM-DD]]\n\n"
    "Lists the distinct zip codes, cities, states or countries of a database's\n"
    "contacts, in the order the result window lists them. For --by zip the values\n"
    "that are no US zip code are listed apart (table and json forms).\n\n"
    "  --count      also count the contacts per value, with the total\n"
    "  --map FILE   write the map as Plot paints it (zip, city, state), using the\n"
    "               count ranges of vistrel.ini in the program folder; .png writes\n"
    "               PNG, anything else BMP\n"
    "  --big-map    the big map (zip and city only)\n"
    "  --filter     only the contacts that saved filter selects (--reverse: those it\n"
    "               rejects); --today fixes the day its TODAY dates count from\n";

std::string jsonString(std::string_view s) {
  std::string out = "\"";
  for (char c : s) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned char>(c));
          out += buf;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

std::string oneLine(std::string_view message) {
  std::string out(message);
  std::replace(out.begin(), out.end(), '\r', '\n');
  return out;
}

struct Report {
  std::string database;
  std::string filter;  // the saved filter that narrows the contacts, if any
  const geo::AnalysisInfo* analysis = nullptr;
  geo::TallyResult tally;
  bool counted = false;
  geo::CountResult count;
};

void printTable(const Report& r, std::ostream& out) {
  const host::Locale locale;
  std::size_t width = r.analysis->heading.size();
  for (const std::string& v : r.tally.values) width = std::max(width, host::utf8Length(v));
  const auto pad = [&](std::string_view text) {
    return std::string(text) + std::string(width + 2 - std::min(width + 1, host::utf8Length(text)), ' ');
  };
  if (!r.filter.empty()) out << "Filter: " << r.filter << "\n";
  out << (r.counted ? pad(r.analysis->heading) + "       #" : std::string(r.analysis->heading)) << "\n";
  for (std::size_t i = 0; i < r.tally.values.size(); ++i) {
    if (!r.counted) {
      out << r.tally.values[i] << "\n";
      continue;
    }
    char count[24];
    std::snprintf(count, sizeof count, "%8lld", static_cast<long long>(r.count.counts[i]));
    out << pad(r.tally.values[i]) << count << geo::shareText(r.count.counts[i], r.count.total, locale) << "\n";
  }
  out << r.tally.values.size() << " Unique Values\n";
  if (r.counted) {
    out << r.count.total << " total records" << (r.count.complete ? "" : " (INCOMPLETE)") << "\n";
  }
  if (r.analysis->kind == geo::Analysis::kZipCode) {
    out << "\nOthers (" << r.tally.others.size() << ")\n";
    for (const std::string& o : r.tally.others) out << "  " << o << "\n";
  }
}

void printCsv(const Report& r, std::ostream& out) {
  out << (r.counted ? "key,count\r\n" : "key\r\n");
  for (std::size_t i = 0; i < r.tally.values.size(); ++i) {
    out << host::csvField(r.tally.values[i]);
    if (r.counted) out << "," << r.count.counts[i];
    out << "\r\n";
  }
}

void printJson(const Report& r, std::ostream& out) {
  out << "{\"database\": " << jsonString(r.database);
  if (!r.filter.empty()) out << ", \"filter\": " << jsonString(r.filter);
  out << ", \"analysis\": " << jsonString(r.analysis->name)
      << ", \"values\": [";
  for (std::size_t i = 0; i < r.tally.values.size(); ++i) {
    out << (i ? ", " : "") << "{\"key\": " << jsonString(r.tally.values[i]);
    if (r.counted) out << ", \"count\": " << r.count.counts[i];
    out << "}";
  }
  out << "], \"others\": [";
  for (std::size_t i = 0; i < r.tally.others.size(); ++i) out << (i ? ", " : "") << jsonString(r.tally.others[i]);
  out << "]";
  if (r.counted) out << ", \"total\": " << r.count.total << ", \"complete\": " << (r.count.complete ? "true" : "false");
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

host::Status writeMap(const Report& r, const std::string& file, bool big, host::Table& contacts) {
  geo::Raster smallMap = big ? geo::Raster() : geo::smallUsMap();
  geo::Raster bigMap = big ? geo::bigUsMap() : geo::Raster();
  const geo::RangeTable ranges = geo::RangeTable::load(host::programIniPath());
  switch (r.analysis->kind) {
    case geo::Analysis::kState:
      geo::plotStates(smallMap, r.tally.values, r.count.counts, r.count.total, ranges);
      break;
    case geo::Analysis::kZipCode:
      geo::plotZipCodes(smallMap, bigMap, r.tally.values, r.count.counts, r.count.total, ranges);
      break;
    case geo::Analysis::kCity: {
      VISTREL_RETURN_IF_ERROR(contacts.setRange({r.database}, {r.database}));
      auto dots = geo::plotContactZips(contacts, r.database, smallMap, bigMap);
      if (!dots.ok()) return dots.status();
      break;
    }
    case geo::Analysis::kCountry: break;
  }
  const geo::Raster& picture = big ? bigMap : smallMap;
  const bool png = file.size() >= 4 && host::equalsIgnoreCase(std::string_view(file).substr(file.size() - 4), ".png");
  const std::string bytes = png ? picture.toPng() : picture.toBmp();
  std::ofstream outFile(file, std::ios::binary | std::ios::trunc);
  outFile.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  outFile.close();
  if (!outFile) return host::Status::IoError("cannot write " + file);
  return host::Status::OK();
}

int runAnalyse(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  auto args = Args::parse(argv, {"data", "database", "by", "format", "map", "filter", "today"},
                          {"count", "big-map", "reverse"});
  if (!args.ok()) {
    err << "vistrel-cli analyse: " << args.status().message() << "\n";
    return kExitUsage;
  }
  const auto data = args->value("data");
  const auto database = args->value("database");
  const auto by = args->value("by");
  if (const host::Status s = args->check({"data", "database", "by"}, 0); !s.ok()) {
    err << "vistrel-cli analyse: " << s.message() << "\n\n" << kUsage;
    return kExitUsage;
  }
  Report report;
  report.analysis = geo::findAnalysis(*by);
  if (report.analysis == nullptr) {
    err << "vistrel-cli analyse: --by takes zip, city, state or country, not '" << *by << "'\n";
    return kExitUsage;
  }
  const std::string format = args->valueOr("format", "table");
  if (format != "table" && format != "csv" && format != "json") {
    err << "vistrel-cli analyse: --format takes table, csv or json, not '" << format << "'\n";
    return kExitUsage;
  }
  const auto mapFile = args->value("map");
  const bool big = args->has("big-map");
  if (mapFile && report.analysis->kind == geo::Analysis::kCountry) {
    err << "vistrel-cli analyse: the Country analysis has no US map to plot\n";
    return kExitUsage;
  }
  if (big && (!mapFile || report.analysis->kind == geo::Analysis::kState)) {
    err << "vistrel-cli analyse: --big-map goes with --map for the zip or city analysis\n";
    return kExitUsage;
  }

  host::Engine engine;
  useDataDirectory(engine, *data);
  const auto fail = [&](const host::Status& s) {
    err << "vistrel-cli analyse: " << oneLine(s.message()) << "\n";
    return kExitFailure;
  };
  auto name = findDatabase(engine, *database);
  if (!name.ok()) return fail(name.status());
  report.database = *name;

  host::Table contacts(engine, std::string(host::kTallisAlias), std::string(host::kContactTableName));
  contacts.setIndexName("LastFirst");
  if (host::Status s = contacts.open(); !s.ok()) return fail(s);
  StreamMessageSink messages(err);
  auto narrowed = installSavedFilter(engine, *args, report.database, contacts, err);
  if (!narrowed.ok()) return fail(narrowed.status());
  if (*narrowed) report.filter = (*narrowed)->row().shortname;
  auto tally = geo::runTally(contacts, report.database, report.analysis->kind);
  if (*narrowed && tally.ok() && !(*narrowed)->status().ok()) tally = (*narrowed)->status();
  if (!tally.ok()) return fail(tally.status());
  report.tally = std::move(tally).value();
  if (report.tally.values.empty()) {
    err << oneLine(geo::kNoRecordsMessage) << "\n";
    return kExitFailure;
  }
  const bool needCounts = args->has("count") || (mapFile && report.analysis->kind != geo::Analysis::kCity);
  if (needCounts) {
    auto count = geo::runCount(contacts, report.analysis->kind, report.tally.values);
    if (*narrowed && count.ok() && !(*narrowed)->status().ok()) count = (*narrowed)->status();
    if (!count.ok()) return fail(count.status());
    report.count = std::move(count).value();
  }
  report.counted = args->has("count");
  if (format == "csv") {
    printCsv(report, out);
  } else if (format == "json") {
    printJson(report, out);
  } else {
    printTable(report, out);
  }
  if (mapFile) {
    host::Status s = writeMap(report, *mapFile, big, contacts);
    if (s.ok() && *narrowed) s = (*narrowed)->status();
    if (!s.ok()) return fail(s);
    if (needCounts && report.count.total == 0) err << "No contact was counted: the map is not painted.\n";
    err << "Map written to " << *mapFile << "\n";
  }
  return kExitOk;
}

}  // namespace

const Command kAnalyseCommand = {"analyse", "list (and count) the zip codes, cities, states or countries of a database",
                                 kUsage, runAnalyse};

}  // namespace vistrel::cli
