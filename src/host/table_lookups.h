// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/date_time.h"
#include "host/engine.h"
#include "host/status.h"
#include "host/table.h"

// The shared routines that look things up in Tallis tables.
namespace vistrel::host {

// False without searching when any of the three texts is empty; otherwise
// whether `table` finds the key made of them (and stands on it).
StatusOr<bool> FindKey3(std::string_view a, std::string_view b, std::string_view c, Table& table);

// The holiday to show for `date` (its day; the time is ignored) to the user
// `who`: the first holiday of that day when it is global, else the first of
// that day that is global or belongs to `who` exactly; empty when none.
// `holidays` is a table object on the holiday table in its primary order
// (led by the date); it is opened when closed. Bound views are not told of
// the search.
StatusOr<std::string> HolidayName(std::string_view who, Table& holidays, DateTime date);

// What a user drop-down list holds: "All users" first when asked for, then
// the user id of every user in key order, and which entry is `currentWho`
// (-1 when none).
struct UserListItems {
  std::vector<std::string> items;
  int selected = -1;
};
inline constexpr std::string_view kAllUsers = "All users";
StatusOr<UserListItems> userListItems(Engine& engine, bool withAllUsers, std::string_view currentWho);

}  // namespace vistrel::host
