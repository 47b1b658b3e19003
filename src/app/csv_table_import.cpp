// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "app/csv_table_import.h"

#include <cstdio>
#include <cstdlib>
#include <set>

#include "host/csv.h"
#include "host/tallis_schema.h"
#include "host/text.h"

namespace vistrel::app {
namespace {

using host::Status;
using host::Table;

// True for `prefix` and nine digits, the form of the numbers given here.
bool isGivenNumber(std::string_view r, char prefix) {
  if (r.size() != 10 || host::upperAscii(r[0]) != prefix) return false;
  for (char c : r.substr(1)) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// The highest `prefix` + nine digits number in use in `field`, 0 when none.
// Numbers of other forms ("C5") sort among them and are passed over.
host::StatusOr<std::int64_t> highestNumber(Table& table, const std::string& field, char prefix) {
  VISTREL_RETURN_IF_ERROR(table.setIndexName(""));
  VISTREL_RETURN_IF_ERROR(table.setRange({prefix + std::string("000000000")}, {prefix + std::string("999999999")}));
  VISTREL_RETURN_IF_ERROR(table.last());
  std::int64_t n = 0;
  for (bool more = table.hasRecord(); more; more = !table.bof()) {
    const std::string r = table.fieldByName(field)->asText();
    if (isGivenNumber(r, prefix)) {
      n = std::atoll(r.c_str() + 1);
      break;
    }
    VISTREL_RETURN_IF_ERROR(table.prior());
  }
  VISTREL_RETURN_IF_ERROR(table.cancelRange());
  return n;
}

// The first byte of a text that is not UTF-8 ("byte 4 (0xE9)"); empty when
// it all is.
std::string notUtf8(std::string_view text) {
  const std::size_t bad = host::utf8InvalidOffset(text);
  if (bad == std::string_view::npos) return std::string();
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned char>(text[bad]));
  return "byte " + std::to_string(bad + 1) + " (" + hex + ")";
}

// Fails when a text of the file is not UTF-8, naming the first bad byte.
Status checkUtf8(std::string_view text) {
  const std::string bad = notUtf8(text);
  if (bad.empty()) return Status::OK();
  return Status::InvalidArgument(bad + " is not UTF-8; save the file as UTF-8");
}

// Fails when a text is longer than the text field it goes to: it is never
// cut to fit.
Status checkLength(const host::Field& field, std::string_view text) {
  if (!host::isTextType(field.type()) || field.size() <= 0) return Status::OK();
  const std::size_t length = host::utf8Length(text);
  if (length <= static_cast<std::size_t>(field.size())) return Status::OK();
  return Status::InvalidArgument("'" + std::string(text) + "' has " + std::to_string(length) +
                                 " characters, the field holds at most " + std::to_string(field.size()));
}

std::string numberText(char prefix, std::int64_t n) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%c%09lld", prefix, static_cast<long long>(n));
  return buf;
}

host::StatusOr<CsvHeader> readHeader(host::CsvReader& reader, Table& table, const CsvImportRules& rules) {
  CsvHeader header;
  auto got = reader.next(&header.names);
  if (!got.ok()) return got.status();
  if (!*got) return Status::InvalidArgument("the file is empty: line 1 should name the columns");
  std::set<std::string> seen;
  for (std::size_t i = 0; i < header.names.size(); ++i) {
    if (Status s = checkUtf8(header.names[i]); !s.ok()) {
      return Status::InvalidArgument("line 1, column " + std::to_string(i + 1) + ": " + s.message());
    }
    const std::string name(host::trimWhite(header.names[i]));
    host::Field* f = table.fieldByName(name);
    if (f == nullptr) return Status::InvalidArgument("line 1: unknown column '" + name + "'");
    if (!seen.insert(host::upperAscii(name)).second) {
      return Status::InvalidArgument("line 1: column '" + name + "' appears twice");
    }
    header.fields.push_back(f);
  }
  return header;
}

// Adds one line's records to the table; the lines are read by `reader`.
class LineImport {
 public:
  LineImport(host::Engine& engine, const std::string& alias, Table& table, host::CsvReader& reader,
             const CsvHeader& header, const CsvImportRules& rules)
      : table_(table), numbers_(engine, alias, table.tableName()), reader_(reader), header_(header), rules_(rules),
        dbColumn_(header.columnOf("DB")), numberColumn_(header.columnOf(rules.numberField)) {}

  // Reads and adds every line; the count lands in `added`.
  Status run(std::int64_t& added) {
    VISTREL_RETURN_IF_ERROR(numbers_.open());
    auto highest = highestNumber(table_, rules_.numberField, rules_.numberPrefix);
    if (!highest.ok()) return highest.status();
    next_ = *highest + 1;
    std::vector<std::string> fields;
    for (;;) {
      auto more = reader_.next(&fields);
      if (!more.ok()) return more.status();
      if (!*more) break;
      const std::string where = "line " + std::to_string(reader_.recordLine());
      if (fields.size() == 1 && fields[0].empty()) continue;  // an empty line
      VISTREL_RETURN_IF_ERROR(addLine(fields, where));
      ++added;
      if (rules_.afterRecord) rules_.afterRecord(added);
    }
    return rules_.afterLines ? rules_.afterLines() : Status::OK();
  }

 private:
  Status addLine(std::vector<std::string>& fields, const std::string& where) {
    if (fields.size() != header_.fields.size()) {
      return Status::InvalidArgument(where + ": " + std::to_string(fields.size()) + " fields where the header has " +
                                     std::to_string(header_.fields.size()));
    }
    if (rules_.checkLine) VISTREL_RETURN_IF_ERROR(rules_.checkLine(header_, fields, where));
    VISTREL_RETURN_IF_ERROR(table_.insert());
    Status s = setFields(fields, where);
    if (s.ok()) s = fillEmpty(fields);
    if (s.ok()) {
      s = table_.post();
      if (!s.ok()) s = Status::InvalidArgument(where + ": " + s.message());
    }
    if (!s.ok()) table_.cancel();
    return s;
  }

  Status setFields(const std::vector<std::string>& fields, const std::string& where) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
      const std::string& column = header_.names[i];
      const bool otherDatabase = !fields[i].empty() && !host::equalsIgnoreCase(fields[i], rules_.database);
      if (static_cast<int>(i) == dbColumn_ && otherDatabase) {
        return Status::InvalidArgument(where + ", column " + column + ": the " + std::string(rules_.noun) +
                                       " belongs to '" + fields[i] + "', not '" + std::string(rules_.database) + "'");
      }
      Status s = checkUtf8(fields[i]);
      if (s.ok()) s = checkLength(*header_.fields[i], fields[i]);
      if (s.ok()) s = header_.fields[i]->setText(fields[i]);
      if (!s.ok()) return Status::InvalidArgument(where + ", column " + column + ": " + s.message());
    }
    return Status::OK();
  }

  // Sets the database and the record number a line leaves empty.
  Status fillEmpty(const std::vector<std::string>& fields) {
    if (dbColumn_ < 0 || fields[static_cast<std::size_t>(dbColumn_)].empty()) {
      const std::string db = rules_.lineDatabase ? rules_.lineDatabase() : std::string(rules_.database);
      VISTREL_RETURN_IF_ERROR(table_.fieldByName("DB")->setText(db));
    }
    if (numberColumn_ < 0 || host::trimWhite(fields[static_cast<std::size_t>(numberColumn_)]).empty()) {
      auto number = freeNumber();
      if (!number.ok()) return number.status();
      VISTREL_RETURN_IF_ERROR(table_.fieldByName(rules_.numberField)->setText(*number));
    }
    return Status::OK();
  }

  // The next number after the highest given one that no record holds: the
  // file's own lines may name numbers of that form too.
  host::StatusOr<std::string> freeNumber() {
    for (;;) {
      std::string number = numberText(rules_.numberPrefix, next_++);
      auto taken = numbers_.findKey({number});
      if (!taken.ok()) return taken.status();
      if (!*taken) return number;
    }
  }

  Table& table_;
  Table numbers_;  // the same table, to look up numbers on its primary index
  host::CsvReader& reader_;
  const CsvHeader& header_;
  const CsvImportRules& rules_;
  const int dbColumn_;
  const int numberColumn_;
  std::int64_t next_ = 1;
};

}  // namespace

int CsvHeader::columnOf(std::string_view field) const {
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (host::equalsIgnoreCase(host::trimWhite(names[i]), field)) return static_cast<int>(i);
  }
  return -1;
}

host::StatusOr<std::int64_t> importCsvIntoTable(host::Engine& engine, const std::string& alias, Table& table,
                                                std::istream& csv, const CsvImportRules& rules) {
  VISTREL_RETURN_IF_ERROR(checkDatabaseName(engine, alias, rules.database));
  host::CsvReader reader(csv);
  auto header = readHeader(reader, table, rules);
  if (!header.ok()) return header.status();
  if (rules.checkHeader) VISTREL_RETURN_IF_ERROR(rules.checkHeader(*header));
  std::int64_t added = 0;
  LineImport lines(engine, alias, table, reader, *header, rules);
  Status result = engine.inTransaction(alias, [&]() -> Status { return lines.run(added); });
  if (!result.ok()) return result;
  return added;
}

Status checkDatabaseName(host::Engine& engine, std::string_view alias, std::string_view name) {
  if (name.empty()) return Status::InvalidArgument("a database name is needed");
  if (const std::string bad = notUtf8(name); !bad.empty()) {
    return Status::InvalidArgument("a database name is UTF-8, and its " + bad + " is not");
  }
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  if (blank(name.front()) || blank(name.back())) {
    return Status::InvalidArgument("a database name does not begin or end with a blank: '" + std::string(name) + "'");
  }
  for (char c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
      return Status::InvalidArgument("a database name holds no line break or other control character");
    }
  }
  Table dbs(engine, std::string(alias), std::string(host::kDatabaseTableName));
  VISTREL_RETURN_IF_ERROR(dbs.open());
  const host::Field* field = dbs.fieldByName("DB");
  if (field == nullptr) return Status::Corrupt(dbs.tableName() + " has no field DB");
  const std::size_t length = host::utf8Length(name);
  if (length <= static_cast<std::size_t>(field->size())) return Status::OK();
  return Status::InvalidArgument("a database name has at most " + std::to_string(field->size()) +
                                 " characters: '" + std::string(name) + "' has " + std::to_string(length));
}

void addImportPasswords(host::Engine& engine) {
  for (auto which : {host::TablePassword::kUsers, host::TablePassword::kContacts, host::TablePassword::kFilters}) {
    engine.addPassword(host::tallisTablePassword(which));
  }
}

}  // namespace vistrel::app
