// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/main_tables.h"

#include "host/tallis_schema.h"

namespace vistrel::geo {
namespace {

constexpr std::string_view kContactIndex = "LastFirst";
constexpr std::string_view kMarksTable = "Marks.db";

std::string alias() { return std::string(host::kTallisAlias); }

}  // namespace

MainTables::MainTables(host::Engine& engine)
    : marks_(engine),
      databases_(engine, alias(), std::string(host::kDatabaseTableName)),
      contacts_(engine, alias(), std::string(host::kContactTableName)),
      popup_(engine, alias(), std::string(host::kPopupTableName)),
      settings_(engine, alias(), std::string(host::kSettingsTableName)) {
  marks_.setAlias(alias());
  marks_.setTableName(std::string(kMarksTable));
  contacts_.setIndexName(std::string(kContactIndex));
}

host::Status MainTables::open() {
  std::string failures;
  for (host::Table* t : {&marks_, &databases_, &contacts_, &popup_, &settings_}) {
    const host::Status s = t->open();
    if (t == &contacts_) contactsOpened_ = s;
    if (!s.ok()) failures += (failures.empty() ? "" : "\n") + s.message();
  }
  marks_.engine().addPassword(host::tallisTablePassword(host::TablePassword::kFilters));
  if (failures.empty()) return host::Status::OK();
  return host::Status::IoError(failures);
}

std::string MainTables::currentDatabase() {
  if (!databases_.hasRecord()) return {};
  const host::Field* db = databases_.fieldByName("db");
  return db != nullptr ? db->asText() : std::string();
}

std::vector<std::string> databaseFilterLines(std::string_view database) {
  return {"DB = \"" + std::string(database) + "\""};
}

TallyOutcome tallyForWindow(MainTables& tables, std::string_view database, Analysis kind) {
  TallyOutcome out;
  host::Table& contacts = tables.contacts();
  if (!contacts.isOpen()) {
    const host::Status& why = tables.contactsOpened();
    out.status = host::Status::InvalidArgument(contacts.tableName() + ": the table is not open" +
                                               (why.ok() ? std::string() : " (" + why.message() + ")"));
    return out;
  }
  // The filter list leaves the contacts narrowed to the database it was
  // opened on; once no filter holds the database, the user may pick another.
  if (contacts.filtered() && contacts.filterLines() != databaseFilterLines(database)) {
    contacts.setFilterLines(databaseFilterLines(database));
    if (host::Status s = contacts.setFiltered(true); !s.ok()) {
      out.status = s;
      return out;
    }
  }
  auto r = analyseDatabase(contacts, database, kind, false);
  if (!r.ok()) {
    out.status = r.status();
    return out;
  }
  out.report = std::move(r).value();
  out.step = out.report.values().empty() ? TallyStep::kNoRecords : TallyStep::kOpenWindow;
  return out;
}

}  // namespace vistrel::geo
