// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "dialogs/filter_save.h"

#include "filter/filter_text.h"

namespace vistrel::dialogs {

host::StatusOr<bool> SelectTableStore::descriptionExists(std::string_view description, std::string_view fRecno) {
  return filter::descriptionTaken(engine_, description, fRecno);
}

host::StatusOr<std::string> SelectTableStore::post(const FilterRecord& record) {
  return filter::saveFilter(engine_, record, clock_);
}

host::StatusOr<FilterRecord> SelectTableStore::read(std::string_view fRecno) {
  return filter::findFilterByKey(engine_, fRecno);
}

std::optional<CriteriaFault> saveCriteria(const CriteriaEditorModel& model, std::string_view description,
                                          FilterRecord& record, FilterRecordStore& store, const SaveContext& context) {
  if (auto fault = verifyCriteria(description, model, context.locale)) return fault;
  const host::Clock& clock = context.clock != nullptr ? *context.clock : host::SystemClock::instance();
  if (auto fault = verifyDefinition(model, clock, context.locale)) return fault;
  const CriteriaFault duplicate{std::string(kDuplicateDescription), CriteriaBox::kDescription, 0};
  const auto taken = store.descriptionExists(description, record.frecno);
  if (taken.ok() && *taken) return duplicate;
  FilterRecord row = record;
  row.shortname = std::string(description);
  row.db = context.currentDb;
  row.type = "CONTACT";
  row.selection = filter::joinMemoLines(model.outputToMemo());
  row.who = context.currentWho;
  host::StatusOr<std::string> key = taken.ok() ? store.post(row) : host::StatusOr<std::string>(taken.status());
  if (!key.ok() && key.status().IsAlreadyExists()) return duplicate;
  if (!key.ok()) {
    return CriteriaFault{"The filter could not be saved: " + key.status().message(), CriteriaBox::kDescription, 0};
  }
  row.frecno = *key;
  record = std::move(row);
  return std::nullopt;
}

}  // namespace vistrel::dialogs
