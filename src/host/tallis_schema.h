// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/engine.h"
#include "host/status.h"
#include "host/table_def.h"

// The Tallis tables this program reads, with the keys and indexes it uses,
// as a new data directory gets them.
namespace vistrel::host {

inline constexpr std::string_view kContactTableName = "CONTACT.DB";
inline constexpr std::string_view kEventTableName = "event.db";
inline constexpr std::string_view kDatabaseTableName = "DATABASE.DB";
inline constexpr std::string_view kSettingsTableName = "SETTINGS.DB";
inline constexpr std::string_view kUserPrefTableName = "USERPREF.DB";
inline constexpr std::string_view kSelectTableName = "Select.DB";
inline constexpr std::string_view kMarksTableName = "marks.DB";
inline constexpr std::string_view kPopupTableName = "POPUP.DB";
inline constexpr std::string_view kHolidayTableName = "holiday.DB";

// The three table passwords: the user table's and the contact and event
// tables' (registered at start-up) and the stored filters' (registered by the
// main window). Each is built character by character when asked for; none is
// kept as text in the program.
enum class TablePassword { kUsers, kContacts, kFilters };
std::string tallisTablePassword(TablePassword which);

std::vector<TableDef> tallisTableDefs();

// Creates every Tallis table in the (empty) data directory of `alias`.
Status createTallisTables(Engine& engine, std::string_view alias);

}  // namespace vistrel::host
