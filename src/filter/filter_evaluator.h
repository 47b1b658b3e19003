// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "filter/compiled_filter.h"
#include "host/engine.h"
#include "host/status.h"
#include "host/table.h"

// Decides records for a CompiledFilter during one walk over the contact or
// the event table. It opens its own table objects on the event table (in
// contact order, for the events of one contact and the first/last test), the
// contact table (by key, for the contact of an event) and the marks table,
// when a row first needs them, and reuses them for every record.
//
// A table error refuses the record and is kept in status() until the next
// decision; as a record filter (acceptRecord) it stops the walk, which then
// returns it, so a walk ends with one failure instead of one per record.
// Every row names a contact or event field its kind can compare (activation
// refuses any other), so a decision itself never fails.
//
// The filter, the engine and the tables handed in must outlive the evaluator,
// and the filter must not be activated anew meanwhile (the evaluator keeps
// the fields of its rows): the filter's own evaluator is renewed at each
// activation and each install().
namespace vistrel::filter {

class FilterEvaluator {
 public:
  FilterEvaluator(const CompiledFilter& filter, host::Engine& engine, std::string who);
  ~FilterEvaluator();
  FilterEvaluator(const FilterEvaluator&) = delete;
  FilterEvaluator& operator=(const FilterEvaluator&) = delete;

  // The decision for the current record (or the record under test inside a
  // record filter) of a table on the contact or the event table, recognised
  // by its name. True for every record while the filter is inactive.
  bool applyselection(host::Table& table);

  // Row n's test against the current record of `table`.
  bool TestCriterion(int n, host::Table& table);

  // Whether the first (last) event of type `type` of contact `recno`, in
  // event order, is the event `key`.
  bool findfirstevent(std::string_view type, std::string_view recno, std::string_view key);
  bool findlastevent(std::string_view type, std::string_view recno, std::string_view key);

  // The answer of a record filter on `table`: applyselection, and on a
  // table failure the walk of `table` stops with it (Table::stopFiltering).
  bool acceptRecord(host::Table& table);
  // A record filter for Table::setOnFilterRecord that asks acceptRecord.
  host::Table::RecordFilter recordFilter();

  // The table failure of the last decision; ok when none.
  const host::Status& status() const { return status_; }

 private:
  struct Bound;
  struct ContactRows;
  Bound& bound(host::Table& table);
  host::Field* rowField(int n, host::Table& table);
  host::Field* namedField(host::Table& table, std::string_view name);
  bool fail(const host::Status& s);
  bool testMarked(const Criterion& row, host::Table& table);
  bool testText(int n, host::Field& f, const PreparedValue& p);
  bool decideContact(host::Table& contacts);
  bool decideEvent(host::Table& events);
  // Whether `satisfies` holds for one of the events of the contact, each
  // the current record of the table handed to it, in event order.
  bool forEachEvent(host::Table& contacts, const std::function<bool(host::Table&)>& satisfies);
  bool findEvent(std::string_view type, std::string_view recno, std::string_view key, bool last);
  host::Table* ownTable(std::unique_ptr<host::Table>& slot, std::string_view name, std::string_view index);

  const CompiledFilter& filter_;
  host::Engine& engine_;
  std::string who_;
  std::unique_ptr<host::Table> events_;    // index irecno
  std::unique_ptr<host::Table> contacts_;  // by Recno
  std::unique_ptr<host::Table> marks_;
  std::vector<std::unique_ptr<Bound>> bound_;
  std::string scratch_;
  host::Status status_;
};

// Walks `table` as it stands (range, filter lines and record filter apply)
// and decides each record with `evaluator`; only the fields the decisions
// ask for are read. The table comes back to its current record.
host::StatusOr<SelectionCount> countSelection(FilterEvaluator& evaluator, host::Table& table,
                                              const SelectionProgress& progress = nullptr,
                                              std::int64_t stride = 10);

}  // namespace vistrel::filter
