// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "dialogs/criteria_editor_model.h"
#include "dialogs/criteria_validation.h"
#include "filter/filter_store.h"
#include "host/clock.h"
#include "host/engine.h"
#include "host/locale.h"
#include "host/status.h"

// Saving the criteria editor's filter into a row of the select table.
namespace vistrel::dialogs {

// One row of the select table as the editor reads and writes it; `frecno`
// is empty for a row not stored yet.
using FilterRecord = filter::StoredFilter;

// Where the editor's filters are stored. The program uses the select table;
// tests pass their own.
class FilterRecordStore {
 public:
  virtual ~FilterRecordStore() = default;
  // Whether another row than `fRecno`'s already has this description.
  virtual host::StatusOr<bool> descriptionExists(std::string_view description, std::string_view fRecno) = 0;
  // Writes the whole row, or nothing; a row without key is added with a new
  // key. Returns the row's key.
  virtual host::StatusOr<std::string> post(const FilterRecord& record) = 0;
};

// The store over the select table of the TALDB alias (the saved-filter
// routines of filter_store).
class SelectTableStore : public FilterRecordStore {
 public:
  explicit SelectTableStore(host::Engine& engine, const host::Clock& clock = host::SystemClock::instance())
      : engine_(engine), clock_(clock) {}
  host::StatusOr<bool> descriptionExists(std::string_view description, std::string_view fRecno) override;
  host::StatusOr<std::string> post(const FilterRecord& record) override;
  // The row with this key; NotFound when there is none.
  host::StatusOr<FilterRecord> read(std::string_view fRecno);

 private:
  host::Engine& engine_;
  const host::Clock& clock_;
};

using filter::kDuplicateDescription;

// What OK needs besides the lines.
struct SaveContext {
  std::string currentDb;
  std::string currentWho;
  host::Locale locale;
  const host::Clock* clock = nullptr;  // TODAY dates are judged against its day; none: the system clock
};

// The editor's OK: checks the lines (the boxes, then the verdict on the text
// they make), renders them and posts `record` with the description, the
// database, "CONTACT", the text and the user. A failed check or post is
// returned with its message and the box to focus, for the window to show;
// the record then keeps what it held. On success `record` holds what was
// stored, its key included.
std::optional<CriteriaFault> saveCriteria(const CriteriaEditorModel& model, std::string_view description,
                                          FilterRecord& record, FilterRecordStore& store, const SaveContext& context);

}  // namespace vistrel::dialogs
