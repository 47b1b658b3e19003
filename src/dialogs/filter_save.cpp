// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "dialogs/filter_save.h"

#include "filter/filter_text.h"
#include "host/clock.h"
#include "host/messages.h"
#include "host/table.h"
#include "host/tallis_schema.h"
#include "host/utility.h"

namespace vistrel::dialogs {
namespace {

constexpr std::size_t kKeyLength = 20;
constexpr std::string_view kFieldNames[] = {"Shortname", "DB", "Who", "Type", "Selection"};

host::Status openSelect(host::Table& table) {
  table.setAlias(std::string(host::kTallisAlias));
  table.setTableName(std::string(host::kSelectTableName));
  return table.open();
}

std::string text(host::Table& table, std::string_view field) { return table.fieldByName(field)->asText(); }

host::Status writeFields(host::Table& table, const FilterRecord& r) {
  const std::string_view values[] = {r.shortname, r.db, r.who, r.type, r.selection};
  for (std::size_t i = 0; i < std::size(kFieldNames); ++i) {
    VISTREL_RETURN_IF_ERROR(table.fieldByName(kFieldNames[i])->setText(values[i]));
  }
  return host::Status::OK();
}

std::optional<CriteriaFault> refuse(std::string message, CriteriaBox box, int line = 0) {
  host::ShowError(message);
  return CriteriaFault{std::move(message), box, line};
}

}  // namespace

host::StatusOr<bool> SelectTableStore::descriptionExists(std::string_view description, std::string_view fRecno) {
  host::Table table(engine_);
  VISTREL_RETURN_IF_ERROR(openSelect(table));
  for (host::Status s = table.first(); !table.eof(); s = table.next()) {
    VISTREL_RETURN_IF_ERROR(s);
    if (text(table, "Shortname") == description && text(table, "FRecno") != fRecno) return true;
  }
  return false;
}

host::StatusOr<std::string> SelectTableStore::post(const FilterRecord& record) {
  host::Table table(engine_);
  VISTREL_RETURN_IF_ERROR(openSelect(table));
  std::string key = record.fRecno;
  if (key.empty()) {
    // An id can be longer than the key field holds; the key is what is kept.
    key = host::MakeUniqueId(host::SystemClock::instance()).substr(0, kKeyLength);
    VISTREL_RETURN_IF_ERROR(table.insert());
    VISTREL_RETURN_IF_ERROR(table.fieldByName("FRecno")->setText(key));
  } else {
    auto found = table.findKey({key});
    if (!found.ok()) return found.status();
    if (!*found) return host::Status::NotFound("the filter '" + record.shortname + "' is no longer stored");
    VISTREL_RETURN_IF_ERROR(table.edit());
  }
  if (host::Status s = writeFields(table, record); !s.ok()) {
    table.cancel();
    return s;
  }
  if (host::Status s = table.post(); !s.ok()) {
    table.cancel();
    return s;
  }
  return key;
}

host::StatusOr<FilterRecord> SelectTableStore::read(std::string_view fRecno) {
  host::Table table(engine_);
  VISTREL_RETURN_IF_ERROR(openSelect(table));
  auto found = table.findKey({std::string(fRecno)});
  if (!found.ok()) return found.status();
  if (!*found) return host::Status::NotFound("no filter with key '" + std::string(fRecno) + "'");
  return FilterRecord{text(table, "FRecno"), text(table, "Shortname"), text(table, "DB"),
                      text(table, "Who"), text(table, "Type"), text(table, "Selection")};
}

std::optional<CriteriaFault> saveCriteria(const CriteriaEditorModel& model, std::string_view description,
                                          FilterRecord& record, FilterRecordStore& store, const SaveContext& context) {
  if (auto fault = verifyCriteria(description, model, context.locale)) {
    host::ShowError(fault->message);
    return fault;
  }
  const auto duplicate = store.descriptionExists(description, record.fRecno);
  if (duplicate.ok() && *duplicate) return refuse(std::string(kDuplicateDescription), CriteriaBox::kDescription);
  FilterRecord row = record;
  row.shortname = std::string(description);
  row.db = context.currentDb;
  row.type = "CONTACT";
  row.selection = filter::joinMemoLines(model.outputToMemo());
  row.who = context.currentWho;
  host::StatusOr<std::string> key = duplicate.ok() ? store.post(row) : host::StatusOr<std::string>(duplicate.status());
  if (!key.ok()) {
    return refuse("The filter could not be saved: " + key.status().message(), CriteriaBox::kDescription);
  }
  row.fRecno = *key;
  record = std::move(row);
  return std::nullopt;
}

}  // namespace vistrel::dialogs
