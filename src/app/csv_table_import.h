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
  // "Recno": filled when a line leaves it empty with `numberPrefix` and nine
  // digits, a number no record holds.
  std::string numberField;
  char numberPrefix = 'C';
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

// Appends the lines of a CSV file (UTF-8, a byte-order mark allowed; RFC
// 4180, a header line naming fields of `table` in any letter case) to the
// open `table`, all or nothing in one transaction of `alias`. The database
// name is checked first (checkDatabaseName). A line with a wrong field count,
// bytes that are not UTF-8, a text longer than its field (never cut to fit),
// a value its field refuses or a hook's failure stops the import with a
// message naming the line (and column); nothing is then added. Returns the
// number of records added.
host::StatusOr<std::int64_t> importCsvIntoTable(host::Engine& engine, const std::string& alias, host::Table& table,
                                                std::istream& csv, const CsvImportRules& rules);

// Fails, saying why, when `name` is no name for a database: empty, longer
// than the database field of the data directory's tables (a longer name is
// never cut to fit, as it would then name another database), beginning or
// ending with a blank, holding a control character (a line break) or bytes
// that are not UTF-8. Such names would look like another database's.
host::Status checkDatabaseName(host::Engine& engine, std::string_view alias, std::string_view name);

// The passwords of the tables an import touches, handed to `engine`.
void addImportPasswords(host::Engine& engine);

}  // namespace vistrel::app
