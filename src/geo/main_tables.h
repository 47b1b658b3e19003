// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "geo/analysis_report.h"
#include "geo/tally.h"
#include "host/engine.h"
#include "host/status.h"
#include "host/table.h"

// What the main window decides without a window: the Tallis tables it keeps
// open for the whole run, the database the analyses work on, and what an
// analysis click comes to.
namespace vistrel::geo {

// The main window's tables, all in the alias TALDB: marks, databases,
// contacts (on the "LastFirst" index, whose first field is the database),
// pop-up lists and settings. They stay open until the object goes.
class MainTables {
 public:
  // `engine` must outlive the tables.
  explicit MainTables(host::Engine& engine);

  // Opens the five tables in that order, then gives the engine the stored
  // filters' password. A table that does not open leaves the others to
  // open; the result names every failure, one per line.
  host::Status open();

  host::Table& marks() { return marks_; }
  host::Table& databases() { return databases_; }
  host::Table& contacts() { return contacts_; }
  host::Table& popup() { return popup_; }
  host::Table& settings() { return settings_; }

  // Field "DB" of the current database row; empty when there is none.
  std::string currentDatabase();
  // Why the contact table did not open (ok when it did).
  const host::Status& contactsOpened() const { return contactsOpened_; }

 private:
  host::Table marks_;
  host::Table databases_;
  host::Table contacts_;
  host::Table popup_;
  host::Table settings_;
  host::Status contactsOpened_ = host::Status::InvalidArgument("the table has not been opened");
};

enum class TallyStep {
  kFailed,     // a table error; `status` says which
  kNoRecords,  // nothing to list: tell the user, open nothing
  kOpenWindow, // show the report in a result window
};

struct TallyOutcome {
  TallyStep step = TallyStep::kFailed;
  AnalysisReport report{Analysis::kState, std::string()};
  host::Status status;
};

// The filter lines that narrow the contacts to one database.
std::vector<std::string> databaseFilterLines(std::string_view database);

// The tally of one analysis click on `database` of the tables' contacts, and
// what follows from it. The range stays on the contacts in every case but a
// failure. Contacts narrowed by filter lines to another database are
// narrowed to `database` instead. A contact table that did not open is named
// with the reason.
TallyOutcome tallyForWindow(MainTables& tables, std::string_view database, Analysis kind);

}  // namespace vistrel::geo
