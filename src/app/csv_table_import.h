// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "host/engine.h"
#include "host/status.h"
#include "host/table.h"

namespace vistrel::app {

// The columns a CSV header names: line 1 of the file, one table field each.
struct CsvHeader {
  std::vector<std::string> names;    // as written
  std::vector<host::Field*> fields;  // the table's field for each column
  // The column of a field (letter case ignored), or -1.
  int columnOf(std::string_view field) const;
};

// What sets one CSV import apart from another. Every hook may be left empty.
struct CsvImportRules {
  std::string_view database;  // the database every new record belongs to
  std::string_view noun;      // "contact", "event": names a record in messages
  std::string numberField;    // "Recno": filled with `numberPrefix` + nine digits when a line leaves it empty
  char numberPrefix = 'C';
  // Checks a header cell or a value before it is used; the message gets the line and column put in front.
  std::function<host::Status(std::string_view text)> checkText;
  // Checks a value against the field it goes to, before the field is set.
  std::function<host::Status(const host::Field& field, std::string_view text)> checkValue;
  // Checks the header once it is read, before any line.
  std::function<host::Status(const CsvHeader& header)> checkHeader;
  // Checks a line before its record is made; may tidy the line's fields.
  std::function<host::Status(const CsvHeader& header, std::vector<std::string>& fields, const std::string& where)>
      checkLine;
  // The DB value of a line that names none; the database when empty.
  std::function<std::string()> lineDatabase;
  // Runs after each record is posted, with the count so far.
  std::function<void(std::int64_t added)> afterRecord;
  // Runs after the last line, inside the same transaction.
  std::function<host::Status()> afterLines;
};

// Appends the lines of a CSV file (RFC 4180, a header line naming fields of
// `table` in any letter case) to the open `table`, all or nothing in one
// transaction of `alias`. A line with a wrong field count, a value its field
// refuses or a hook's failure stops the import with a message naming the line
// (and column); nothing is then added. Returns the number of records added.
host::StatusOr<std::int64_t> importCsvIntoTable(host::Engine& engine, const std::string& alias, host::Table& table,
                                                std::istream& csv, const CsvImportRules& rules);

// The passwords of the tables an import touches, handed to `engine`.
void addImportPasswords(host::Engine& engine);

}  // namespace vistrel::app
