// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ostream>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/data_dir.h"
#include "host/host_mirror.h"

namespace vistrel::cli {
namespace {

constexpr char kMirrorUsage[] =
    "Usage: vistrel-cli mirror --data DIR --from TALLIS_DIR [--tables NAMES] [--force]\n\n"
    "Makes or refreshes in DIR the copy of the Paradox tables of a Tallis data\n"
    "directory, reading them only. A table is copied again when its files changed\n"
    "since the last copy (--force: always). NAMES is a comma-separated list such as\n"
    "CONTACT,EVENT. Prints per table the rows copied and the time. Filters saved in\n"
    "DIR stay; the host's are replaced. Every other command then works on DIR.\n";

constexpr char kExportUsage[] =
    "Usage: vistrel-cli export-paradox --data DIR --to DIR2 [--tables NAMES] [--force]\n"
    "                                  [--replace-unmappable]\n\n"
    "Writes the Tallis tables of DIR as Paradox files into DIR2 (code page 1252),\n"
    "encrypted where Tallis encrypts them, so that DIR2 looks like a Tallis data\n"
    "directory. All or nothing: every file is written before any is put in place.\n"
    "Tables DIR2 holds already (in any letter case) are replaced only with\n"
    "--force. A text with characters code page 1252 lacks refuses the export,\n"
    "naming its table, record and field; --replace-unmappable writes such\n"
    "characters as \"?\" or a look-alike and lists where.\n";

std::vector<std::string> splitNames(const std::string& text) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = text.find(',', start);
    const std::string name = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    if (!name.empty()) names.push_back(name);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return names;
}

std::string secondsText(double s) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.2f s", s);
  return buf;
}

int runMirror(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  auto args = Args::parse(argv, {"data", "from", "tables"}, {"force"});
  if (!args.ok()) {
    err << "vistrel-cli mirror: " << args.status().message() << "\n";
    return kExitUsage;
  }
  if (const host::Status s = args->check({"data", "from"}, 0); !s.ok()) {
    err << "vistrel-cli mirror: " << s.message() << "\n\n" << kMirrorUsage;
    return kExitUsage;
  }
  host::MirrorOptions options;
  options.tables = splitNames(args->valueOr("tables", ""));
  options.force = args->has("force");
  auto results = host::mirrorHostTables(*args->value("from"), *args->value("data"), options);
  if (!results.ok()) {
    err << "vistrel-cli mirror: " << results.status().message() << "\n";
    return results.status().IsInvalidArgument() ? kExitUsage : kExitFailure;
  }
  int code = kExitOk;
  if (std::all_of(results->begin(), results->end(), [](const host::MirrorTableResult& r) {
        return r.outcome == host::MirrorTableResult::Outcome::kMissing;
      })) {
    err << "vistrel-cli mirror: " << *args->value("from") << " holds no Tallis table\n";
    code = kExitFailure;
  }
  for (const host::MirrorTableResult& r : *results) {
    out << r.table << std::string(14 - std::min<std::size_t>(13, r.table.size()), ' ');
    switch (r.outcome) {
      case host::MirrorTableResult::Outcome::kCopied:
        out << r.rows << " rows copied in " << secondsText(r.seconds) << "\n";
        break;
      case host::MirrorTableResult::Outcome::kUnchanged: out << "unchanged\n"; break;
      case host::MirrorTableResult::Outcome::kMissing: out << "not found, previous copy kept\n"; break;
      case host::MirrorTableResult::Outcome::kFailed:
        out << "failed, previous copy kept\n";
        err << "vistrel-cli mirror: " << r.message << "\n";
        code = kExitFailure;
        break;
    }
  }
  return code;
}

int runExport(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  auto args = Args::parse(argv, {"data", "to", "tables"}, {"force", "replace-unmappable"});
  if (!args.ok()) {
    err << "vistrel-cli export-paradox: " << args.status().message() << "\n";
    return kExitUsage;
  }
  if (const host::Status s = args->check({"data", "to"}, 0); !s.ok()) {
    err << "vistrel-cli export-paradox: " << s.message() << "\n\n" << kExportUsage;
    return kExitUsage;
  }
  host::ExportOptions options;
  options.tables = splitNames(args->valueOr("tables", ""));
  options.force = args->has("force");
  options.replaceUnmappable = args->has("replace-unmappable");
  if (const host::Status s = host::checkHostTableNames(options.tables); !s.ok()) {
    err << "vistrel-cli export-paradox: " << s.message() << "\n\n" << kExportUsage;
    return kExitUsage;
  }
  host::Engine engine;
  useDataDirectory(engine, *args->value("data"));
  const auto started = std::chrono::steady_clock::now();
  auto results = host::exportParadoxTables(engine, host::kTallisAlias, *args->value("to"), options);
  if (!results.ok()) {
    err << "vistrel-cli export-paradox: " << results.status().message() << "\n";
    return kExitFailure;
  }
  for (const host::ExportTableResult& r : *results) {
    out << r.file << "  " << r.rows << " rows\n";
    for (const std::string& place : r.unmappable) {
      err << "vistrel-cli export-paradox: written with \"?\" or a look-alike: " << place << "\n";
    }
    if (r.unmappableCount > static_cast<std::int64_t>(r.unmappable.size())) {
      err << "vistrel-cli export-paradox: and " << r.unmappableCount - static_cast<std::int64_t>(r.unmappable.size())
          << " more texts in " << r.file << "\n";
    }
  }
  out << "Written in " << secondsText(std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count())
      << "\n";
  return kExitOk;
}

}  // namespace

const Command kMirrorCommand = {"mirror", "copy a Tallis directory's Paradox tables into a data directory",
                                kMirrorUsage, runMirror};
const Command kExportParadoxCommand = {"export-paradox", "write a data directory's tables as Paradox files",
                                       kExportUsage, runExport};

}  // namespace vistrel::cli
