// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "dialogs/criteria_editor_model.h"

#include <algorithm>

#include "host/environment.h"
#include "host/host_lists.h"
#include "host/messages.h"
#include "host/text.h"

namespace vistrel::dialogs {
namespace {

using host::FieldKind;

constexpr std::string_view kTextRelations[] = {
    "equals", "not equals", "is blank", "is not blank", "contains", "does not contain",
    "less than", "less than or equal to", "greater than", "greater than or equal to",
    "sounds like", "does not sound like", "starts with", "ends with", "does not start with",
    "does not end with"};
constexpr std::string_view kMemoRelations[] = {
    "equals", "not equals", "is blank", "is not blank", "contains", "does not contain",
    "starts with", "ends with", "does not start with", "does not end with"};
constexpr std::string_view kNumberRelations[] = {
    "less than", "greater than", "less than or equal to", "greater than or equal to", "equals",
    "not equals"};
constexpr std::string_view kDateRelations[] = {"is on or before", "is on or after", "equals",
                                               "is blank", "is not blank"};
constexpr std::string_view kTimeRelations[] = {"is on or before", "is on or after", "is blank",
                                               "is not blank"};
constexpr std::string_view kLogicalRelations[] = {"is true", "is not true"};
constexpr std::string_view kCategoryRelations[] = {"matches", "is blank"};
constexpr std::string_view kEventTypeRelations[] = {"is a", "is first", "is last"};
constexpr std::string_view kBuiltInDateFields[] = {
    "DATECALL", "DATELETTER", "DATEMEET", "DATEEMAIL", "DATELABEL", "DATEENVELOPE", "DATESALE",
    "DATEQUOTE", "DATEFAX", "DATEINCALL", "DATEINEMAIL", "DATEATTEMPT", "DATEADDED", "DATECHANGED"};

bool hidesCondition(FieldKind kind) { return kind == FieldKind::kLogical || kind == FieldKind::kMarked; }

const host::FieldCatalogEntry& entryAt(int position) {
  return host::FieldCatalog()[static_cast<std::size_t>(position)];
}

bool isEventField(int position, std::string_view name) {
  const host::FieldCatalogEntry& e = entryAt(position);
  return e.table == host::kEventTable && e.name == name;
}

bool contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

// Line breaks become blanks and parentheses without a partner are dropped.
std::string storable(std::string_view text) {
  std::string out;
  std::vector<std::size_t> openAt;
  for (char c : text) {
    if (c == '\r' || c == '\n') c = ' ';
    if (c == ')') {
      if (openAt.empty()) continue;
      openAt.pop_back();
    }
    if (c == '(') openAt.push_back(out.size());
    out += c;
  }
  for (auto it = openAt.rbegin(); it != openAt.rend(); ++it) out.erase(*it, 1);
  return out;
}

// The last catalog entry whose label equals `label` ignoring case, or -1.
int lastEntryWithLabel(std::string_view label) {
  int found = -1;
  for (int i = 0; i < host::kFieldCount; ++i) {
    if (host::equalsIgnoreCase(label, entryAt(i).label)) found = i;
  }
  return found;
}

int itemOrNone(int item, int last) { return item >= 0 && item <= last ? item : 0; }

}  // namespace

std::span<const std::string_view> relationsForKind(FieldKind kind) {
  switch (kind) {
    case FieldKind::kText: return kTextRelations;
    case FieldKind::kMemo:
    case FieldKind::kAddressBlock: return kMemoRelations;
    case FieldKind::kInteger:
    case FieldKind::kNumber:
    case FieldKind::kMoney: return kNumberRelations;
    case FieldKind::kDate: return kDateRelations;
    case FieldKind::kTime: return kTimeRelations;
    case FieldKind::kLogical:
    case FieldKind::kMarked: return kLogicalRelations;
    case FieldKind::kCategory: return kCategoryRelations;
    default: return {};
  }
}

std::vector<std::string_view> relationsForField(int position) {
  const auto ofKind = relationsForKind(entryAt(position).kind);
  std::vector<std::string_view> relations(ofKind.begin(), ofKind.end());
  if (isEventField(position, "Type")) {
    relations.insert(relations.end(), std::begin(kEventTypeRelations), std::end(kEventTypeRelations));
  }
  return relations;
}

bool isUserDefined(std::string_view fieldText) {
  const std::string text = host::upperAscii(fieldText);
  if (host::startsWith(text, "DAT")) {
    return std::find(std::begin(kBuiltInDateFields), std::end(kBuiltInDateFields), text) ==
           std::end(kBuiltInDateFields);
  }
  return host::startsWith(text, "NUM") || host::startsWith(text, "USER") || host::startsWith(text, "MONEY");
}

std::string_view preselectedRelation(FieldKind kind) {
  if (hidesCondition(kind)) return "is true";
  if (kind == FieldKind::kCategory) return "matches";
  return {};
}

bool relationTakesCondition(std::string_view relation) {
  return relation != "is true" && relation != "is not true" && relation != "is blank" &&
         relation != "is not blank";
}

int fieldPositionOfText(std::string_view fieldText) {
  const auto colon = fieldText.find(':');
  if (colon != std::string_view::npos) fieldText = fieldText.substr(0, colon > 0 ? colon - 1 : 0);
  return host::FindFieldByLabel(fieldText);
}

StoredCondition storedCondition(int position, std::string_view conditionText) {
  StoredCondition stored;
  stored.value = std::string(host::utf8Left(conditionText, kMaxConditionLength));
  if (isEventField(position, "Status") || isEventField(position, "LetterType")) {
    if (const int status = host::findEventStatusByName(stored.value); status >= 0) {
      stored.value = std::string(host::EventStatusList[static_cast<std::size_t>(status)].code);
    }
  }
  if (entryAt(position).kind == FieldKind::kDate) {
    stored.noDay = contains(stored.value, "NoDay");
    stored.noYear = contains(stored.value, "NoYear");
    if (!contains(stored.value, "TODAY")) stored.value = stored.value.substr(0, stored.value.find('('));
  }
  stored.value = storable(stored.value);
  return stored;
}

std::string shownCondition(int position, const filter::FilterLine& line) {
  std::string shown = line.value;
  // A calendar date lost its note when it was stored; one that still holds
  // it (a TODAY value) keeps it as it is.
  if ((line.noYear || line.noDay) && !contains(shown, "NoYear") && !contains(shown, "NoDay")) {
    const std::string note = std::string(" (") + (line.noYear ? "NoYear " : "") + (line.noDay ? "NoDay" : "") + ")";
    while (!shown.empty() && shown.back() == ' ') shown.pop_back();
    shown = std::string(host::utf8Left(shown, kMaxConditionLength - note.size())) + note;
  }
  if (isEventField(position, "Status")) {
    if (const int status = host::findEventStatusByCode(shown); status >= 0) {
      shown = std::string(host::EventStatusList[static_cast<std::size_t>(status)].name);
    }
  }
  return shown;
}

CriteriaEditorModel::CriteriaEditorModel() {
  TurnOnTagLine(1);
  turnOffTags(2);
}

void CriteriaEditorModel::fillRelations(int n, int position) {
  line(n).relations = relationsForField(position);
  line(n).relationText = std::string(preselectedRelation(entryAt(position).kind));
}

void CriteriaEditorModel::setFieldText(int n, std::string_view text) {
  CriteriaLine& l = line(n);
  l.fieldText = std::string(text);
  l.relationText.clear();
  l.conditionText.clear();
  const FieldKind kind = fieldtype(n);
  fillRelations(n, fieldPositionOfText(l.fieldText));
  if (hidesCondition(kind)) l.conditionShown = false;
}

void CriteriaEditorModel::chooseRelation(int n, std::string_view relation) {
  CriteriaLine& l = line(n);
  const bool offered = std::find(l.relations.begin(), l.relations.end(), relation) != l.relations.end();
  l.relationText = offered ? std::string(relation) : std::string();
  l.conditionShown = relation != "is blank" && relation != "is not blank" && !hidesCondition(fieldtype(n));
}

void CriteriaEditorModel::chooseConnector(int n, int item) {
  if (n >= kCriteriaLineCount) return;
  line(n).connector = itemOrNone(item, 2);
  if (line(n).connector < 1) {
    turnOffTags(n + 1);
  } else {
    TurnOnTagLine(n + 1);
  }
}

void CriteriaEditorModel::TurnOnTagLine(int n) {
  CriteriaLine& l = line(n);
  l.inUse = true;
  l.conditionShown = relationTakesCondition(l.relationText);
}

void CriteriaEditorModel::turnOffTagLine(int n) {
  CriteriaLine& l = line(n);
  l.inUse = false;
  l.conditionShown = false;
  if (n < kCriteriaLineCount) l.connector = 0;
}

void CriteriaEditorModel::turnOffTags(int n) {
  for (int i = std::max(n, 1); i <= kCriteriaLineCount; ++i) turnOffTagLine(i);
}

FieldKind CriteriaEditorModel::fieldtype(int n) const {
  return entryAt(fieldPositionOfText(line(n).fieldText)).kind;
}

ConditionPicker CriteriaEditorModel::conditionPicker(int n) const {
  const int position = fieldPositionOfText(line(n).fieldText);
  if (isEventField(position, "Type")) return ConditionPicker::kEventType;
  if (isEventField(position, "Status")) return ConditionPicker::kEventStatus;
  if (isEventField(position, "LetterType")) return ConditionPicker::kLetterType;
  switch (entryAt(position).kind) {
    case FieldKind::kDate: return ConditionPicker::kDate;
    case FieldKind::kTime: return ConditionPicker::kTime;
    case FieldKind::kCategory: return ConditionPicker::kCategory;
    default: return ConditionPicker::kNone;
  }
}

bool CriteriaEditorModel::anyUserFieldsUsed() const {
  for (int n = 1; n <= kCriteriaLineCount; ++n) {
    if ((n <= 3 || line(n).inUse) && isUserDefined(line(n).fieldText)) return true;
  }
  return false;
}

std::optional<std::string> CriteriaEditorModel::otherDatabaseWarning(std::string_view recordDb,
                                                                     std::string_view currentDb) const {
  if (recordDb == currentDb || !anyUserFieldsUsed()) return std::nullopt;
  return "Warning: The filter last modified for database " + std::string(recordDb) +
         " may contain user defined fields that do not match the current" + " database " +
         std::string(currentDb) + ".  Filters may not work as expected.";
}

std::string CriteriaEditorModel::outputLine(int n) const {
  const CriteriaLine& l = line(n);
  if (!l.inUse) return std::string();
  const std::string label = filter::stripUserAlias(l.fieldText);
  const int position = host::FindFieldByLabel(label);
  const StoredCondition condition = storedCondition(position, l.conditionText);
  filter::FilterLine stored;
  stored.database = std::string(host::DatabaseTypeNames[entryAt(position).table]);
  stored.field = storable(label);
  stored.condition = static_cast<int>(filter::stringToRelation(l.relationText));
  stored.value = condition.value;
  stored.caseSensitive = caseSensitive;
  stored.noYear = condition.noYear;
  stored.noDay = condition.noDay;
  stored.ignorePunctuation = ignorePunctuation;
  stored.open = l.openCount;
  stored.close = l.closeCount;
  stored.connector = n < kCriteriaLineCount && l.connector >= 1 ? l.connector : 0;
  return filter::writeFilterLine(stored);
}

std::vector<std::string> CriteriaEditorModel::outputToMemo() const {
  std::vector<std::string> memo;
  for (int n = 1; n <= kCriteriaLineCount; ++n) {
    std::string text = outputLine(n);
    if (host::IsBlank(text)) break;
    memo.push_back(std::move(text));
  }
  return memo;
}

void CriteriaEditorModel::loadLine(int n, const filter::FilterLine& stored) {
  CriteriaLine& l = line(n);
  l.openCount = itemOrNone(stored.open, kMaxParentheses);
  l.closeCount = itemOrNone(stored.close, kMaxParentheses);
  if (l.openCount > 0 || l.closeCount > 0) parenthesesInUse = true;

  int position = lastEntryWithLabel(stored.field);
  if (position < 0) {
    host::ShowError("problem with undefined field");
    position = host::kUndefinedField;
  }
  const host::FieldCatalogEntry& entry = entryAt(position);
  l.fieldText = entry.alias != entry.label ? entry.label + std::string(filter::kAliasSeparator) + entry.alias
                                           : entry.label;
  fillRelations(n, position);
  const std::string_view relation = filter::RelationToString(static_cast<filter::RelationCode>(stored.condition));
  const bool offered = std::find(l.relations.begin(), l.relations.end(), relation) != l.relations.end();
  l.relationText = offered ? std::string(relation) : std::string();
  // Shown as it will be stored again: what the writer would change is
  // changed now, so a second load shows the same text.
  filter::FilterLine again = stored;
  const StoredCondition storedAgain = storedCondition(position, shownCondition(position, stored));
  again.value = storedAgain.value;
  again.noYear = storedAgain.noYear;
  again.noDay = storedAgain.noDay;
  l.conditionText = shownCondition(position, again);
  if (n < kCriteriaLineCount && stored.connectorGiven) l.connector = itemOrNone(stored.connector, 2);
  caseSensitive = stored.caseSensitive;
  ignorePunctuation = stored.ignorePunctuation;
  TurnOnTagLine(n);
}

void CriteriaEditorModel::loadfromMemo(const std::vector<std::string>& memo) {
  parenthesesInUse = false;
  const std::size_t count = std::min<std::size_t>(memo.size(), kCriteriaLineCount);
  for (std::size_t i = 0; i < count && !host::IsBlank(memo[i]); ++i) {
    loadLine(static_cast<int>(i) + 1, filter::readFilterLine(memo[i]));
  }
}

}  // namespace vistrel::dialogs
