// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/table_lookups.h"

#include <cmath>

#include "host/tallis_schema.h"

namespace vistrel::host {

StatusOr<bool> FindKey3(std::string_view a, std::string_view b, std::string_view c, Table& table) {
  if (a.empty() || b.empty() || c.empty()) return false;
  return table.findKey({std::string(a), std::string(b), std::string(c)});
}

StatusOr<std::string> HolidayName(std::string_view who, Table& holidays, DateTime date) {
  if (!holidays.isOpen()) VISTREL_RETURN_IF_ERROR(holidays.open());
  const DateTime day = std::floor(date);
  holidays.disableControls();
  StatusOr<std::string> result = std::string();
  auto found = holidays.findKey({day});
  Field* dateField = holidays.fieldByName("date");
  Field* global = holidays.fieldByName("global");
  Field* user = holidays.fieldByName("who");
  Field* name = holidays.fieldByName("name");
  if (!found.ok()) {
    result = found.status();
  } else if (dateField == nullptr || global == nullptr || user == nullptr || name == nullptr) {
    result = Status::Corrupt(holidays.tableName() + ": not a holiday table");
  } else if (*found) {
    // The day's first holiday wins when global; else walk on to the first
    // that is global or the user's own, until the day is over.
    for (;;) {
      if (global->asBoolean() || user->asText() == who) {
        result = name->asText();
        break;
      }
      const Status moved = holidays.next();
      if (!moved.ok()) {
        result = moved;
        break;
      }
      if (holidays.eof() || std::floor(dateField->asDateTime()) > day) break;
    }
  }
  holidays.enableControls();
  return result;
}

StatusOr<UserListItems> userListItems(Engine& engine, bool withAllUsers, std::string_view currentWho) {
  UserListItems list;
  if (withAllUsers) list.items.emplace_back(kAllUsers);
  Table users(engine, std::string(kTallisAlias), std::string(kUserPrefTableName));
  VISTREL_RETURN_IF_ERROR(users.open());
  Field* who = users.fieldByName("who");
  if (who == nullptr) return Status::Corrupt(users.tableName() + ": no field who");
  for (Status s = users.first(); !users.eof(); s = users.next()) {
    if (!s.ok()) return s;
    list.items.push_back(who->asText());
  }
  for (std::size_t i = 0; i < list.items.size(); ++i) {
    if (list.items[i] == currentWho) {
      list.selected = static_cast<int>(i);
      break;
    }
  }
  return list;
}

}  // namespace vistrel::host
