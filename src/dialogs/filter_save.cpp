// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "dialogs/filter_save.h"

#include "filter/filter_text.h"
#include "host/messages.h"

namespace vistrel::dialogs {
namespace {

std::optional<CriteriaFault> refuse(std::string message, CriteriaBox box, int line = 0) {
  host::ShowError(message);
  return CriteriaFault{std::move(message), box, line};
}

}  // namespace

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
  if (auto fault = verifyCriteria(description, model, context.locale)) {
    host::ShowError(fault->message);
    return fault;
  }
  const auto duplicate = store.descriptionExists(description, record.frecno);
  if (duplicate.ok() && *duplicate) return refuse(std::string(kDuplicateDescription), CriteriaBox::kDescription);
  FilterRecord row = record;
  row.shortname = std::string(description);
  row.db = context.currentDb;
  row.type = "CONTACT";
  row.selection = filter::joinMemoLines(model.outputToMemo());
  row.who = context.currentWho;
  host::StatusOr<std::string> key = duplicate.ok() ? store.post(row) : host::StatusOr<std::string>(duplicate.status());
  if (!key.ok() && key.status().IsAlreadyExists()) {
    return refuse(std::string(kDuplicateDescription), CriteriaBox::kDescription);
  }
  if (!key.ok()) {
    return refuse("The filter could not be saved: " + key.status().message(), CriteriaBox::kDescription);
  }
  row.frecno = *key;
  record = std::move(row);
  return std::nullopt;
}

}  // namespace vistrel::dialogs
