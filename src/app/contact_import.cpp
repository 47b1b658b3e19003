// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "app/contact_import.h"

#include <cstdio>
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

// Fails when a text is not UTF-8, naming the first bad byte.
Status checkUtf8(std::string_view text) {
  const std::size_t bad = host::utf8InvalidOffset(text);
  if (bad == std::string_view::npos) return Status::OK();
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned char>(text[bad]));
  return Status::InvalidArgument("byte " + std::to_string(bad + 1) + " (" + hex +
                                 ") is not UTF-8; save the file as UTF-8");
}

// Fails when a text is longer than the text field it goes to.
Status checkLength(const host::Field& field, std::string_view text) {
  if (!host::isTextType(field.type()) || field.size() <= 0) return Status::OK();
  const std::size_t length = host::utf8Length(text);
  if (length <= static_cast<std::size_t>(field.size())) return Status::OK();
  return Status::InvalidArgument("'" + std::string(text) + "' has " + std::to_string(length) +
                                 " characters, the field holds at most " + std::to_string(field.size()));
}

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

host::Status checkDatabaseName(host::Engine& engine, std::string_view alias, std::string_view name) {
  Table dbs(engine, std::string(alias), std::string(host::kDatabaseTableName));
  VISTREL_RETURN_IF_ERROR(dbs.open());
  const host::Field* field = dbs.fieldByName("DB");
  if (field == nullptr) return Status::Corrupt(dbs.tableName() + " has no field DB");
  const std::size_t length = host::utf8Length(name);
  if (length <= static_cast<std::size_t>(field->size())) return Status::OK();
  return Status::InvalidArgument("a database name has at most " + std::to_string(field->size()) +
                                 " characters: '" + std::string(name) + "' has " + std::to_string(length));
}

host::StatusOr<std::int64_t> importContacts(host::Engine& engine, std::string_view alias,
                                            std::string_view database, std::istream& csv) {
  const std::string a(alias);
  if (database.empty()) return Status::InvalidArgument("a database name is needed");
  addImportPasswords(engine);
  VISTREL_RETURN_IF_ERROR(checkDatabaseName(engine, a, database));
  Table contacts(engine, a, std::string(host::kContactTableName));
  VISTREL_RETURN_IF_ERROR(contacts.open());

  CsvImportRules rules;
  rules.database = database;
  rules.noun = "contact";
  rules.numberField = "Recno";
  rules.numberPrefix = 'C';
  rules.checkText = checkUtf8;
  rules.checkValue = checkLength;
  rules.afterRecord = host::rowWrittenForTesting;
  rules.afterLines = [&] { return addDatabaseRow(engine, a, database); };
  return importCsvIntoTable(engine, a, contacts, csv, rules);
}

}  // namespace vistrel::app
