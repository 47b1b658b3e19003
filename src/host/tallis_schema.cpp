// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/tallis_schema.h"

#include "host/field_catalog.h"
#include "host/store.h"

namespace vistrel::host {
namespace {

ColumnType columnTypeOf(FieldKind kind) {
  switch (kind) {
    case FieldKind::kMemo:
    case FieldKind::kAddressBlock: return ColumnType::kMemo;
    case FieldKind::kInteger: return ColumnType::kInteger;
    case FieldKind::kNumber: return ColumnType::kNumber;
    case FieldKind::kMoney: return ColumnType::kMoney;
    case FieldKind::kDate: return ColumnType::kDate;
    case FieldKind::kTime: return ColumnType::kTime;
    case FieldKind::kLogical:
    case FieldKind::kMarked: return ColumnType::kLogical;
    default: return ColumnType::kText;
  }
}

// Text sizes of the fields whose size other code relies on.
int textSize(std::string_view name) {
  if (name == "DB") return 9;
  if (name == "Who" || name.substr(0, 3) == "Who") return 3;
  if (name == "Recno" || name == "ERecno") return 20;
  return 0;
}

std::vector<ColumnDef> catalogColumns(std::uint8_t table) {
  std::vector<ColumnDef> cols;
  for (const FieldCatalogEntry& e : FieldCatalog()) {
    if (e.table != table || e.name.empty()) continue;
    const ColumnType type = columnTypeOf(e.kind);
    cols.push_back({e.name, type, type == ColumnType::kText ? textSize(e.name) : 0});
  }
  return cols;
}

ColumnDef text(std::string name, int size) { return {std::move(name), ColumnType::kText, size}; }

std::string fromCodes(std::initializer_list<int> codes) {
  std::string p;
  for (int c : codes) p += static_cast<char>(c ^ 0x5A);
  return p;
}

}  // namespace

std::string tallisTablePassword(TablePassword which) {
  switch (which) {
    case TablePassword::kUsers: return fromCodes({0x2E, 0x3F, 0x29, 0x2E, 0x6B, 0x68});
    case TablePassword::kContacts: return fromCodes({0x39, 0x35, 0x2A, 0x3F, 0x2A, 0x6B, 0x6E});
    case TablePassword::kFilters: return fromCodes({0x2C, 0x33, 0x29, 0x2E, 0x6D, 0x6A});
  }
  return std::string();
}

std::vector<TableDef> tallisTableDefs() {
  std::vector<TableDef> defs;

  TableDef contact;
  contact.name = std::string(kContactTableName);
  contact.columns = catalogColumns(kContactTable);
  contact.primaryKey = {"Recno"};
  contact.indexes = {{"LastFirst", {"DB", "LastName", "FirstName"}, false}};
  // Walking one database's contacts in name order then reads the file front to back.
  contact.clusteredIndex = "LastFirst";
  contact.password = tallisTablePassword(TablePassword::kContacts);
  defs.push_back(contact);

  TableDef event;
  event.name = std::string(kEventTableName);
  event.columns = catalogColumns(kEventTable);
  event.primaryKey = {"ERecno"};
  event.indexes = {{"irecno", {"Recno"}, false}};
  event.password = tallisTablePassword(TablePassword::kContacts);
  defs.push_back(event);

  TableDef database;
  database.name = std::string(kDatabaseTableName);
  database.columns = {text("DB", 9), text("Description", 60)};
  for (int i = 1; i <= 32; ++i) database.columns.push_back(text("cat" + std::to_string(i), 30));
  database.primaryKey = {"DB"};
  defs.push_back(database);

  TableDef settings;
  settings.name = std::string(kSettingsTableName);
  settings.columns = {text("Name", 20), text("Value", 80)};
  settings.primaryKey = {"Name"};
  defs.push_back(settings);

  TableDef users;
  users.name = std::string(kUserPrefTableName);
  users.columns = {text("Who", 3), text("Password", 20), text("Name", 40)};
  users.primaryKey = {"Who"};
  users.password = tallisTablePassword(TablePassword::kUsers);
  defs.push_back(users);

  TableDef select;
  select.name = std::string(kSelectTableName);
  select.columns = {text("Shortname", 100), text("DB", 9), text("Who", 3), text("Type", 20),
                    {"Selection", ColumnType::kMemo, 0}, text("FRecno", 20)};
  select.primaryKey = {"FRecno"};
  select.indexes = {{"iShortname", {"Shortname"}, true}};
  select.password = tallisTablePassword(TablePassword::kFilters);
  defs.push_back(select);

  TableDef marks;
  marks.name = std::string(kMarksTableName);
  marks.columns = {text("Who", 3), text("DB", 9), text("Recno", 20)};
  marks.primaryKey = {"Who", "DB", "Recno"};
  defs.push_back(marks);

  TableDef popup;
  popup.name = std::string(kPopupTableName);
  popup.columns = {text("Field", 20), text("Value", 60)};
  defs.push_back(popup);

  TableDef holiday;
  holiday.name = std::string(kHolidayTableName);
  holiday.columns = {{"date", ColumnType::kDate, 0}, {"global", ColumnType::kLogical, 0}, text("who", 3),
                     text("name", 40)};
  holiday.primaryKey = {"date", "who", "name"};
  defs.push_back(holiday);
  return defs;
}

Status createTallisTables(Engine& engine, std::string_view alias) {
  auto store = engine.store(alias);
  if (!store.ok()) return store.status();
  return engine.inTransaction(alias, [&]() -> Status {
    for (const TableDef& def : tallisTableDefs()) VISTREL_RETURN_IF_ERROR((*store)->createTable(def));
    return Status::OK();
  });
}

}  // namespace vistrel::host
