// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "app/contact_import.h"

#include <string>

#include "app/csv_table_import.h"
#include "host/table.h"
#include "host/tallis_schema.h"
#include "host/test_hooks.h"
#include "host/text.h"
#include "host/value.h"

namespace vistrel::app {
namespace {

using host::Status;
using host::Table;

// Adds the database's row to the database table when it is missing.
Status addDatabaseRow(host::Engine& engine, const std::string& alias, std::string_view database) {
  Table dbs(engine, alias, std::string(host::kDatabaseTableName));
  VISTREL_RETURN_IF_ERROR(dbs.open());
  auto known = dbs.findKey({std::string(database)});
  if (!known.ok()) return known.status();
  if (*known) return Status::OK();
  VISTREL_RETURN_IF_ERROR(dbs.insert());
  VISTREL_RETURN_IF_ERROR(dbs.fieldByName("DB")->setText(database));
  VISTREL_RETURN_IF_ERROR(dbs.fieldByName("Description")->setText("Imported contacts"));
  return dbs.post();
}

}  // namespace

host::StatusOr<std::int64_t> importContacts(host::Engine& engine, std::string_view alias,
                                            std::string_view database, std::istream& csv) {
  const std::string a(alias);
  addImportPasswords(engine);
  Table contacts(engine, a, std::string(host::kContactTableName));
  VISTREL_RETURN_IF_ERROR(contacts.open());

  CsvImportRules rules;
  rules.database = database;
  rules.noun = "contact";
  rules.numberField = "Recno";
  rules.numberPrefix = 'C';
  rules.afterRecord = host::rowWrittenForTesting;
  rules.afterLines = [&] { return addDatabaseRow(engine, a, database); };
  return importCsvIntoTable(engine, a, contacts, csv, rules);
}

}  // namespace vistrel::app
