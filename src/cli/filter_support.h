// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "cli/args.h"
#include "filter/filter_definition.h"
#include "filter/filter_session.h"
#include "filter/filter_store.h"
#include "host/clock.h"
#include "host/engine.h"
#include "host/status.h"
#include "host/table.h"

// What the commands that work with saved filters share.
namespace vistrel::cli {

// The clock of a command: --today YYYY-MM-DD fixes the day (so reports can
// be made again), without it the system clock.
host::StatusOr<std::unique_ptr<host::Clock>> clockFromArgs(const Args& args);

// The refusal of a filter's activation as one failure: the filter named,
// then each fault on a line of its own.
host::Status activationRefused(std::string_view name, const filter::DefinitionFaults& faults);

// The user whose marks a filter counts: --who when given (refused when it is
// no user id), else the filter's owner.
host::StatusOr<std::string> marksWho(const Args& args, const filter::StoredFilter& row);

// Loads the saved filter `name` and activates it in `session` (reversed with
// --reverse) as the filter list's Activate does; marks count for the session's
// CurrentWho, which is --who or else the filter's owner. A filter saved for
// another database is named in a note on `err`.
host::StatusOr<filter::StoredFilter> activateSavedFilter(host::Engine& engine, std::string_view name,
                                                         const Args& args, std::string_view database,
                                                         const host::Clock& clock, filter::FilterSession& session,
                                                         std::ostream& err);

// A saved filter installed as the record filter of a contact table: the
// table then walks only the contacts the filter selects. A failure during a
// walk stops it, and the walk returns that failure.
class ContactTableFilter {
 public:
  const filter::StoredFilter& row() const { return row_; }

 private:
  friend host::StatusOr<std::unique_ptr<ContactTableFilter>> installSavedFilter(
      host::Engine&, const Args&, std::string_view, host::Table&, std::ostream&);
  filter::FilterSession session_;
  filter::StoredFilter row_;
  std::unique_ptr<host::Clock> clock_;
};

// With --filter TEXT (and --reverse, --today, --who), activates that saved
// filter for `database` and installs it on `contacts`; nullptr without
// --filter.
host::StatusOr<std::unique_ptr<ContactTableFilter>> installSavedFilter(host::Engine& engine, const Args& args,
                                                                       std::string_view database,
                                                                       host::Table& contacts, std::ostream& err);

// The name of the database row `name` (ignoring case); NotFound naming the
// known databases when there is none.
host::StatusOr<std::string> databaseName(host::Engine& engine, std::string_view name);

}  // namespace vistrel::cli
