// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "app/contact_import.h"

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "host/csv.h"
#include "host/table.h"
#include "host/tallis_schema.h"
#include "host/test_hooks.h"
#include "host/text.h"
#include "host/value.h"

namespace vistrel::app {
namespace {

using host::Status;
using host::Table;

std::string lineText(int line) { return "line " + std::to_string(line); }

// The next free "C" + nine digits record number after the highest in use.
host::StatusOr<std::int64_t> highestRecno(Table& contacts) {
  VISTREL_RETURN_IF_ERROR(contacts.setIndexName(""));
  VISTREL_RETURN_IF_ERROR(contacts.setRange({"C000000000"}, {"C999999999"}));
  VISTREL_RETURN_IF_ERROR(contacts.last());
  std::int64_t n = 0;
  if (contacts.hasRecord()) {
    const std::string r = contacts.fieldByName("Recno")->asText();
    if (r.size() == 10) n = std::atoll(r.c_str() + 1);
  }
  VISTREL_RETURN_IF_ERROR(contacts.cancelRange());
  return n;
}

std::string recnoText(std::int64_t n) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "C%09lld", static_cast<long long>(n));
  return buf;
}

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
  for (auto which : {host::TablePassword::kUsers, host::TablePassword::kContacts, host::TablePassword::kFilters}) {
    engine.addPassword(host::tallisTablePassword(which));
  }
  VISTREL_RETURN_IF_ERROR(checkDatabaseName(engine, a, database));
  Table contacts(engine, a, std::string(host::kContactTableName));
  VISTREL_RETURN_IF_ERROR(contacts.open());

  host::CsvReader reader(csv);
  std::vector<std::string> header;
  auto got = reader.next(&header);
  if (!got.ok()) return got.status();
  if (!*got) return Status::InvalidArgument("the file is empty: line 1 should name the columns");
  std::vector<host::Field*> columns;
  std::set<std::string> seen;
  int dbColumn = -1, recnoColumn = -1;
  for (std::size_t i = 0; i < header.size(); ++i) {
    if (Status s = checkUtf8(header[i]); !s.ok()) {
      return Status::InvalidArgument("line 1, column " + std::to_string(i + 1) + ": " + s.message());
    }
    const std::string name(host::trimWhite(header[i]));
    host::Field* f = contacts.fieldByName(name);
    if (f == nullptr) return Status::InvalidArgument("line 1: unknown column '" + name + "'");
    if (!seen.insert(host::upperAscii(name)).second) {
      return Status::InvalidArgument("line 1: column '" + name + "' appears twice");
    }
    if (host::equalsIgnoreCase(name, "DB")) dbColumn = static_cast<int>(i);
    if (host::equalsIgnoreCase(name, "Recno")) recnoColumn = static_cast<int>(i);
    columns.push_back(f);
  }

  std::int64_t added = 0;
  Status result = engine.inTransaction(a, [&]() -> Status {
    auto highest = highestRecno(contacts);
    if (!highest.ok()) return highest.status();
    std::int64_t nextRecno = *highest + 1;
    std::vector<std::string> fields;
    for (;;) {
      auto more = reader.next(&fields);
      if (!more.ok()) return more.status();
      if (!*more) break;
      const std::string where = lineText(reader.recordLine());
      if (fields.size() == 1 && fields[0].empty()) continue;  // an empty line
      if (fields.size() != columns.size()) {
        return Status::InvalidArgument(where + ": " + std::to_string(fields.size()) + " fields where the header has " +
                                       std::to_string(columns.size()));
      }
      VISTREL_RETURN_IF_ERROR(contacts.insert());
      for (std::size_t i = 0; i < fields.size(); ++i) {
        if (static_cast<int>(i) == dbColumn && !fields[i].empty() && !host::equalsIgnoreCase(fields[i], database)) {
          return Status::InvalidArgument(where + ", column " + header[i] + ": the contact belongs to '" + fields[i] +
                                         "', not '" + std::string(database) + "'");
        }
        Status s = checkUtf8(fields[i]);
        if (s.ok()) s = checkLength(*columns[i], fields[i]);
        if (s.ok()) s = columns[i]->setText(fields[i]);
        if (!s.ok()) return Status::InvalidArgument(where + ", column " + header[i] + ": " + s.message());
      }
      if (dbColumn < 0 || fields[static_cast<std::size_t>(dbColumn)].empty()) {
        VISTREL_RETURN_IF_ERROR(contacts.fieldByName("DB")->setText(database));
      }
      if (recnoColumn < 0 || host::trimWhite(fields[static_cast<std::size_t>(recnoColumn)]).empty()) {
        VISTREL_RETURN_IF_ERROR(contacts.fieldByName("Recno")->setText(recnoText(nextRecno++)));
      }
      Status posted = contacts.post();
      if (!posted.ok()) {
        contacts.cancel();
        return Status::InvalidArgument(where + ": " + posted.message());
      }
      host::rowWrittenForTesting(++added);
    }
    Table dbs(engine, a, std::string(host::kDatabaseTableName));
    VISTREL_RETURN_IF_ERROR(dbs.open());
    auto known = dbs.findKey({std::string(database)});
    if (!known.ok()) return known.status();
    if (!*known) {
      VISTREL_RETURN_IF_ERROR(dbs.insert());
      VISTREL_RETURN_IF_ERROR(dbs.fieldByName("DB")->setText(database));
      VISTREL_RETURN_IF_ERROR(dbs.fieldByName("Description")->setText("Imported contacts"));
      VISTREL_RETURN_IF_ERROR(dbs.post());
    }
    return Status::OK();
  });
  if (!result.ok()) return result;
  return added;
}

}  // namespace vistrel::app
