// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <ostream>

#include "app/contact_import.h"
#include "cli/args.h"
#include "cli/commands.h"
#include "cli/data_dir.h"
#include "host/file_read.h"

namespace vistrel::cli {
namespace {

constexpr char kUsage[] =
    "Usage: vistrel-cli import --data DIR --database NAME FILE.csv\n"
    "       vistrel-cli import --data DIR --database NAME --events FILE.csv\n\n"
    "Appends the contacts of a CSV file to a database. The first line names\n"
    "contact fields (any letter case). All or nothing: the first bad line stops\n"
    "the import and nothing is added. With --events the file holds events: the\n"
    "first line names event fields, and the Recno column names each event's\n"
    "contact, which must exist in the database.\n";

int runImport(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  if (isEventImport(argv)) return runEventImport(argv, out, err);
  auto args = Args::parse(argv, {"data", "database"}, {});
  if (!args.ok()) {
    err << "vistrel-cli import: " << args.status().message() << "\n\n" << kUsage;
    return kExitUsage;
  }
  const auto data = args->value("data");
  const auto database = args->value("database");
  if (const host::Status s = args->check({"data", "database"}, 1); !s.ok()) {
    err << "vistrel-cli import: " << s.message() << "\n\n" << kUsage;
    return kExitUsage;
  }
  const std::string& file = args->positional()[0];
  auto in = host::InputFile::open(file, host::kCsvFile);
  if (!in.ok()) {
    err << "vistrel-cli import: " << in.status().message() << "\n";
    return kExitFailure;
  }
  host::Engine engine;
  useDataDirectory(engine, *data);
  if (const host::Status s = app::checkDatabaseName(engine, host::kTallisAlias, *database); !s.ok()) {
    err << "vistrel-cli import: " << s.message() << "\n";
    return kExitFailure;
  }
  auto added = app::importContacts(engine, host::kTallisAlias, *database, (*in)->stream());
  if (!added.ok()) {
    err << "vistrel-cli import: " << file << ": " << added.status().message() << "\n";
    return kExitFailure;
  }
  out << "Imported " << *added << " contacts into " << *database << "\n";
  return kExitOk;
}

}  // namespace

const Command kImportCommand = {"import", "append contacts from a CSV file to a database", kUsage, runImport};

}  // namespace vistrel::cli
