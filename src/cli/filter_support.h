// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "cli/args.h"
#include "filter/compiled_filter.h"
#include "filter/filter_evaluator.h"
#include "filter/filter_store.h"
#include "host/clock.h"
#include "host/engine.h"
#include "host/messages.h"
#include "host/status.h"
#include "host/table.h"

// What the commands that work with saved filters share.
namespace vistrel::cli {

// The clock of a command: --today YYYY-MM-DD fixes the day (so reports can
// be made again), without it the system clock.
host::StatusOr<std::unique_ptr<host::Clock>> clockFromArgs(const Args& args);

// Sends the message boxes of the filter logic to `err` while it lives.
class StreamMessageSink : public host::MessageSink {
 public:
  explicit StreamMessageSink(std::ostream& err);
  ~StreamMessageSink() override;
  StreamMessageSink(const StreamMessageSink&) = delete;
  StreamMessageSink& operator=(const StreamMessageSink&) = delete;
  host::MessageAnswer show(const host::Message& message) override;

 private:
  std::ostream& err_;
  host::MessageSink* previous_;
};

// Loads the saved filter `name` and activates it (reversed when asked) as
// the filter list's Activate does. The refusals are told through the message
// seam; a filter saved for another database is named in a note on `err`.
host::StatusOr<filter::StoredFilter> activateSavedFilter(host::Engine& engine, std::string_view name,
                                                         std::string_view database, bool reverse,
                                                         const host::Clock& clock, filter::CompiledFilter& compiled,
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
  filter::ExpressionEngine expressions_;
  filter::CompiledFilter compiled_{expressions_};
  filter::StoredFilter row_;
  std::unique_ptr<host::Clock> clock_;
  std::unique_ptr<filter::FilterEvaluator> evaluator_;
};

// With --filter TEXT (and --reverse, --today), activates that saved filter
// for `database` and installs it on `contacts`; nullptr without --filter.
host::StatusOr<std::unique_ptr<ContactTableFilter>> installSavedFilter(host::Engine& engine, const Args& args,
                                                                       std::string_view database,
                                                                       host::Table& contacts, std::ostream& err);

// The name of the database row `name` (ignoring case); NotFound naming the
// known databases when there is none.
host::StatusOr<std::string> databaseName(host::Engine& engine, std::string_view name);

}  // namespace vistrel::cli
