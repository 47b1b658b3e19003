// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <ostream>

#include "app/csv_table_import.h"
#include "app/event_import.h"
#include "cli/args.h"
#include "cli/commands.h"
#include "cli/data_dir.h"
#include "host/file_read.h"

namespace vistrel::cli {

bool isEventImport(const std::vector<std::string>& args) {
  for (const std::string& a : args) {
    if (a == "--events") return true;
  }
  return false;
}

int runEventImport(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  auto args = Args::parse(argv, {"data", "database", "events"}, {});
  if (!args.ok()) {
    err << "vistrel-cli import: " << args.status().message() << "\n";
    return kExitUsage;
  }
  if (const host::Status s = args->check({"data", "database", "events"}, 0); !s.ok()) {
    err << "vistrel-cli import: " << s.message() << "\n\n" << kImportCommand.usage;
    return kExitUsage;
  }
  const std::string file = *args->value("events");
  auto in = host::InputFile::open(file, host::kCsvFile);
  if (!in.ok()) {
    err << "vistrel-cli import: " << in.status().message() << "\n";
    return kExitFailure;
  }
  host::Engine engine;
  useDataDirectory(engine, *args->value("data"));
  const std::string database = *args->value("database");
  if (const host::Status s = app::checkDatabaseName(engine, host::kTallisAlias, database); !s.ok()) {
    err << "vistrel-cli import: " << s.message() << "\n";
    return kExitFailure;
  }
  auto added = app::importEvents(engine, host::kTallisAlias, database, (*in)->stream());
  if (!added.ok()) {
    err << "vistrel-cli import: " << file << ": " << added.status().message() << "\n";
    return kExitFailure;
  }
  out << "Imported " << *added << " events into " << database << "\n";
  return kExitOk;
}

}  // namespace vistrel::cli
