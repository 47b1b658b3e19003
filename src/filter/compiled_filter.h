// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "filter/bool_expr.h"
#include "filter/filter_definition.h"
#include "host/clock.h"
#include "host/engine.h"
#include "host/locale.h"
#include "host/status.h"
#include "host/table.h"

// The active filter: the definition of one saved filter read into its
// criteria, each row's value worked out once, and the rows' parentheses and
// connectors compiled into the row expression, in an expression engine of its
// own (each category row in a slot of its own); whether it is reversed, and
// the user whose marks count. A session holds one (FilterSession); the main
// window, the filter list and the command line install it on their walks
// with install() or count with countSelection(), so every walk decides its
// records the same way.
//
// Activation judges the definition (judgeDefinition) and returns what it
// refuses; the filter then stays inactive, and an inactive filter accepts
// every record. Nothing here shows a message: callers show the faults.
namespace vistrel::filter {

class FilterEvaluator;

// Where a row's field lives.
enum class RowTable { kContact, kEvent, kNone };

// Counts of a filter over the records of a table.
struct SelectionCount {
  std::int64_t matches = 0;
  std::int64_t total = 0;
  bool complete = true;  // false when the count was stopped
};

// Called after every `stride` records; returning true stops the count.
using SelectionProgress = std::function<bool(const SelectionCount& soFar)>;

class CompiledFilter {
 public:
  CompiledFilter();
  ~CompiledFilter();
  CompiledFilter(const CompiledFilter&) = delete;
  CompiledFilter& operator=(const CompiledFilter&) = delete;

  // Makes the definition of the saved filter `shortname` the active filter,
  // its marks counted for `marksWho` and its TODAY dates from the clock's
  // day. The filter is inactive first and active, not reversed, when nothing
  // is refused. A blank name is "No filter selected"; a definition whose
  // first line is blank is the corrupt-filter message, naming the filter.
  DefinitionFaults activatethisfilter(std::string_view shortname, std::string_view definition,
                                      std::string marksWho, const host::Clock& clock, const host::Locale& locale);
  // Works every row's value out anew (TODAY dates from the clock's day). A
  // value that cannot be read any more deactivates the filter.
  DefinitionFaults prepareapply(const host::Clock& clock, const host::Locale& locale);
  // Name empty and inactive.
  void deactivate();

  bool active() const { return active_; }
  bool reverse() const { return reverse_; }
  void setReverse(bool on);
  const std::string& name() const { return name_; }
  const std::string& marksWho() const { return marksWho_; }

  int count() const { return static_cast<int>(rows_.size()); }
  // Rows are numbered from 1, as the messages and row letters count them.
  const Criterion& row(int n) const { return rows_[static_cast<std::size_t>(n - 1)]; }
  const PreparedValue& prepared(int n) const { return prepared_[static_cast<std::size_t>(n - 1)]; }
  RowTable rowTable(int n) const;
  bool hasEventRows() const;
  // The row expression as compiled: "(A*B)+C".
  std::string rowExpression() const { return filter::rowExpression(rows_); }
  const ExpressionEngine& expressions() const { return expressions_; }

  // Makes the filter the record filter of `table` (a contact or an event
  // table) for the walks that follow: while the filter is active the table
  // walks only the records it selects. Each call starts a fresh decision
  // with its own tables from `engine` (which must outlive the walks), so
  // call it before each walk. A table failure during a walk stops the walk,
  // which returns it. REQUIRES: the filter outlives the table's walks.
  host::Status install(host::Table& table, host::Engine& engine);
  // Walks `table` as it stands (range, filter lines and record filter apply)
  // and counts the records the filter selects; only the fields the
  // decisions ask for are read. The table comes back to its current record.
  host::StatusOr<SelectionCount> countSelection(host::Table& table, host::Engine& engine,
                                                const SelectionProgress& progress = nullptr,
                                                std::int64_t stride = 10);

 private:
  DefinitionFaults compile(const std::vector<Criterion>& rows, const host::Clock& clock, const host::Locale& locale);
  bool acceptRecord(host::Table& table);
  FilterEvaluator& evaluator(host::Engine& engine);

  std::vector<Criterion> rows_;
  std::vector<PreparedValue> prepared_;
  ExpressionEngine expressions_;
  std::string name_;
  std::string marksWho_;
  bool active_ = false;
  bool reverse_ = false;
  host::Engine* engine_ = nullptr;  // of the walks install() set up
  std::unique_ptr<FilterEvaluator> evaluator_;
};

}  // namespace vistrel::filter
