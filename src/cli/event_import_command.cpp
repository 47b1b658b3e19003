// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <fstream>
#include <ostream>

#include "app/event_import.h"
#include "cli/args.h"
#include "cli/commands.h"
#include "cli/data_dir.h"

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
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    err << "vistrel-cli import: cannot read " << file << "\n";
    return kExitFailure;
  }
  host::Engine engine;
  useDataDirectory(engine, *args->value("data"));
  const std::string database = *args->value("database");
  auto added = app::importEvents(engine, host::kTallisAlias, database, in);
  if (!added.ok()) {
    err << "vistrel-cli import: " << file << ": " << added.status().message() << "\n";
    return kExitFailure;
  }
  out << "Imported " << *added << " events into " << database << "\n";
  return kExitOk;
}

}  // namespace vistrel::cli
