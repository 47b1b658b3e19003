// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "app/event_import.h"

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "host/csv.h"
#include "host/table.h"
#include "host/tallis_schema.h"
#include "host/text.h"

namespace vistrel::app {
namespace {

using host::Status;
using host::Table;

// The highest "E" + nine digits event number in use.
host::StatusOr<std::int64_t> highestErecno(Table& events) {
  VISTREL_RETURN_IF_ERROR(events.setRange({"E000000000"}, {"E999999999"}));
  VISTREL_RETURN_IF_ERROR(events.last());
  std::int64_t n = 0;
  if (events.hasRecord()) {
    const std::string r = events.fieldByName("ERecno")->asText();
    if (r.size() == 10) n = std::atoll(r.c_str() + 1);
  }
  VISTREL_RETURN_IF_ERROR(events.cancelRange());
  return n;
}

std::string erecnoText(std::int64_t n) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "E%09lld", static_cast<long long>(n));
  return buf;
}

}  // namespace

host::StatusOr<std::int64_t> importEvents(host::Engine& engine, std::string_view alias, std::string_view database,
                                          std::istream& csv) {
  const std::string a(alias);
  if (database.empty()) return Status::InvalidArgument("a database name is needed");
  for (auto which : {host::TablePassword::kUsers, host::TablePassword::kContacts, host::TablePassword::kFilters}) {
    engine.addPassword(host::tallisTablePassword(which));
  }
  Table events(engine, a, std::string(host::kEventTableName));
  Table contacts(engine, a, std::string(host::kContactTableName));
  VISTREL_RETURN_IF_ERROR(events.open());
  VISTREL_RETURN_IF_ERROR(contacts.open());
  host::Field* contactDb = contacts.fieldByName("DB");
  if (contactDb == nullptr) return Status::Corrupt("the contact table lacks the field DB");

  host::CsvReader reader(csv);
  std::vector<std::string> header;
  auto got = reader.next(&header);
  if (!got.ok()) return got.status();
  if (!*got) return Status::InvalidArgument("the file is empty: line 1 should name the columns");
  std::vector<host::Field*> columns;
  std::set<std::string> seen;
  int recnoColumn = -1, erecnoColumn = -1, dbColumn = -1;
  for (std::size_t i = 0; i < header.size(); ++i) {
    const std::string name(host::trimWhite(header[i]));
    host::Field* f = events.fieldByName(name);
    if (f == nullptr) return Status::InvalidArgument("line 1: unknown column '" + name + "'");
    if (!seen.insert(host::upperAscii(name)).second) {
      return Status::InvalidArgument("line 1: column '" + name + "' appears twice");
    }
    if (host::equalsIgnoreCase(name, "Recno")) recnoColumn = static_cast<int>(i);
    if (host::equalsIgnoreCase(name, "ERecno")) erecnoColumn = static_cast<int>(i);
    if (host::equalsIgnoreCase(name, "DB")) dbColumn = static_cast<int>(i);
    columns.push_back(f);
  }
  if (recnoColumn < 0) return Status::InvalidArgument("line 1: the column Recno (the event's contact) is missing");

  std::int64_t added = 0;
  Status result = engine.inTransaction(a, [&]() -> Status {
    auto highest = highestErecno(events);
    if (!highest.ok()) return highest.status();
    std::int64_t next = *highest + 1;
    std::vector<std::string> fields;
    for (;;) {
      auto more = reader.next(&fields);
      if (!more.ok()) return more.status();
      if (!*more) break;
      const std::string where = "line " + std::to_string(reader.recordLine());
      if (fields.size() == 1 && fields[0].empty()) continue;
      if (fields.size() != columns.size()) {
        return Status::InvalidArgument(where + ": " + std::to_string(fields.size()) + " fields where the header has " +
                                       std::to_string(columns.size()));
      }
      const std::string recno(host::trimWhite(fields[static_cast<std::size_t>(recnoColumn)]));
      const std::string column = ", column " + header[static_cast<std::size_t>(recnoColumn)];
      if (recno.empty()) return Status::InvalidArgument(where + column + ": the event names no contact");
      auto found = contacts.findKey({recno});
      if (!found.ok()) return found.status();
      if (!*found || !host::equalsIgnoreCase(contactDb->asTextView(), database)) {
        return Status::InvalidArgument(where + column + ": no contact '" + recno + "' in database '" +
                                       std::string(database) + "'");
      }
      VISTREL_RETURN_IF_ERROR(events.insert());
      for (std::size_t i = 0; i < fields.size(); ++i) {
        if (static_cast<int>(i) == dbColumn && !fields[i].empty() && !host::equalsIgnoreCase(fields[i], database)) {
          events.cancel();
          return Status::InvalidArgument(where + ", column " + header[i] + ": the event belongs to '" + fields[i] +
                                         "', not '" + std::string(database) + "'");
        }
        Status s = columns[i]->setText(i == static_cast<std::size_t>(recnoColumn) ? recno : fields[i]);
        if (!s.ok()) {
          events.cancel();
          return Status::InvalidArgument(where + ", column " + header[i] + ": " + s.message());
        }
      }
      if (dbColumn < 0 || fields[static_cast<std::size_t>(dbColumn)].empty()) {
        VISTREL_RETURN_IF_ERROR(events.fieldByName("DB")->setText(contactDb->asText()));
      }
      if (erecnoColumn < 0 || host::trimWhite(fields[static_cast<std::size_t>(erecnoColumn)]).empty()) {
        VISTREL_RETURN_IF_ERROR(events.fieldByName("ERecno")->setText(erecnoText(next++)));
      }
      Status posted = events.post();
      if (!posted.ok()) {
        events.cancel();
        return Status::InvalidArgument(where + ": " + posted.message());
      }
      ++added;
    }
    return Status::OK();
  });
  if (!result.ok()) return result;
  return added;
}

}  // namespace vistrel::app
