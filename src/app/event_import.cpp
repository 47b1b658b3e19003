// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "app/event_import.h"

#include <string>
#include <vector>

#include "app/csv_table_import.h"
#include "host/table.h"
#include "host/tallis_schema.h"
#include "host/text.h"

namespace vistrel::app {

using host::Status;

host::StatusOr<std::int64_t> importEvents(host::Engine& engine, std::string_view alias, std::string_view database,
                                          std::istream& csv) {
  const std::string a(alias);
  addImportPasswords(engine);
  host::Table events(engine, a, std::string(host::kEventTableName));
  host::Table contacts(engine, a, std::string(host::kContactTableName));
  VISTREL_RETURN_IF_ERROR(events.open());
  VISTREL_RETURN_IF_ERROR(contacts.open());
  host::Field* contactDb = contacts.fieldByName("DB");
  if (contactDb == nullptr) return Status::Corrupt("the contact table lacks the field DB");

  CsvImportRules rules;
  rules.database = database;
  rules.noun = "event";
  rules.numberField = "ERecno";
  rules.numberPrefix = 'E';
  rules.checkHeader = [](const CsvHeader& header) {
    if (header.columnOf("Recno") >= 0) return Status::OK();
    return Status::InvalidArgument("line 1: the column Recno (the event's contact) is missing");
  };
  // The contact the line names must stand in the database; its number is used trimmed.
  rules.checkLine = [&](const CsvHeader& header, std::vector<std::string>& fields, const std::string& where) {
    const auto recnoColumn = static_cast<std::size_t>(header.columnOf("Recno"));
    const std::string recno(host::trimWhite(fields[recnoColumn]));
    const std::string column = ", column " + header.names[recnoColumn];
    if (recno.empty()) return Status::InvalidArgument(where + column + ": the event names no contact");
    auto found = contacts.findKey({recno});
    if (!found.ok()) return found.status();
    if (!*found || !host::equalsIgnoreCase(contactDb->asTextView(), database)) {
      return Status::InvalidArgument(where + column + ": no contact '" + recno + "' in database '" +
                                     std::string(database) + "'");
    }
    fields[recnoColumn] = recno;
    return Status::OK();
  };
  rules.lineDatabase = [&] { return contactDb->asText(); };
  return importCsvIntoTable(engine, a, events, csv, rules);
}

}  // namespace vistrel::app
