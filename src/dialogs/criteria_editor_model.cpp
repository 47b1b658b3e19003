// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "dialogs/criteria_editor_model.h"

#include <algorithm>

#include "host/environment.h"
#include "host/host_lists.h"
#include "host/text.h"

namespace vistrel::dialogs {
namespace {

constexpr std::string_view kBuiltInDateFields[] = {
    "DATECALL", "DATELETTER", "DATEMEET", "DATEEMAIL", "DATELABEL", "DATEENVELOPE", "DATESALE",
    "DATEQUOTE", "DATEFAX", "DATEINCALL", "DATEINEMAIL", "DATEATTEMPT", "DATEADDED", "DATECHANGED"};

const host::FieldCatalogEntry& entryAt(int position) {
  return host::FieldCatalog()[static_cast<std::size_t>(position)];
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

bool offered(const CriteriaLine& l, std::string_view relation) {
  return std::find(l.relations.begin(), l.relations.end(), relation) != l.relations.end();
}

}  // namespace

bool isUserDefined(std::string_view fieldText) {
  const std::string text = host::upperAscii(fieldText);
  if (host::startsWith(text, "DAT")) {
    return std::find(std::begin(kBuiltInDateFields), std::end(kBuiltInDateFields), text) ==
           std::end(kBuiltInDateFields);
  }
  return host::startsWith(text, "NUM") || host::startsWith(text, "USER") || host::startsWith(text, "MONEY");
}

int fieldPositionOfText(std::string_view fieldText) {
  const auto colon = fieldText.find(':');
  if (colon != std::string_view::npos) fieldText = fieldText.substr(0, colon > 0 ? colon - 1 : 0);
  return host::FindFieldByLabel(fieldText);
}

CriteriaEditorModel::CriteriaEditorModel() {
  TurnOnTagLine(1);
  turnOffTags(2);
}

void CriteriaEditorModel::fillRelations(int n, int position) {
  const filter::FieldKindInfo& kind = filter::fieldKindInfo(position);
  line(n).relations.clear();
  for (const filter::RelationCode code : kind.relations) line(n).relations.push_back(filter::RelationToString(code));
  line(n).relationText = std::string(filter::RelationToString(kind.preselected));
}

void CriteriaEditorModel::setFieldText(int n, std::string_view text) {
  CriteriaLine& l = line(n);
  l.fieldText = std::string(text);
  l.relationText.clear();
  l.conditionText.clear();
  const int position = fieldPositionOfText(l.fieldText);
  fillRelations(n, position);
  if (filter::fieldKindInfo(position).conditionHidden) l.conditionShown = false;
}

void CriteriaEditorModel::chooseRelation(int n, std::string_view relation) {
  CriteriaLine& l = line(n);
  l.relationText = offered(l, relation) ? std::string(relation) : std::string();
  const filter::RelationCode code = filter::stringToRelation(relation);
  l.conditionShown = (code == filter::RelationCode::kNone || filter::relationTakesValue(code)) &&
                     !filter::fieldKindInfo(fieldPositionOfText(l.fieldText)).conditionHidden;
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
  const filter::RelationCode relation = filter::stringToRelation(l.relationText);
  l.conditionShown = relation == filter::RelationCode::kNone || filter::relationTakesValue(relation);
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

host::FieldKind CriteriaEditorModel::fieldtype(int n) const {
  return entryAt(fieldPositionOfText(line(n).fieldText)).kind;
}

ConditionPicker CriteriaEditorModel::conditionPicker(int n) const {
  return filter::fieldKindInfo(fieldPositionOfText(line(n).fieldText)).picker;
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
  const filter::StoredValue value = filter::storedValue(position, l.conditionText);
  filter::FilterLine stored;
  stored.database = std::string(host::DatabaseTypeNames[entryAt(position).table]);
  stored.field = label;
  stored.condition = static_cast<int>(filter::stringToRelation(l.relationText));
  stored.value = value.value;
  stored.caseSensitive = caseSensitive;
  stored.noYear = value.noYear;
  stored.noDay = value.noDay;
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

std::optional<std::string> CriteriaEditorModel::loadLine(int n, const filter::FilterLine& stored) {
  CriteriaLine& l = line(n);
  l.openCount = itemOrNone(stored.open, kMaxParentheses);
  l.closeCount = itemOrNone(stored.close, kMaxParentheses);
  if (l.openCount > 0 || l.closeCount > 0) parenthesesInUse = true;

  std::optional<std::string> problem;
  int position = lastEntryWithLabel(stored.field);
  if (position < 0) {
    problem = "problem with undefined field \"" + stored.field + "\" on line " + std::to_string(n);
    position = host::kUndefinedField;
  }
  const host::FieldCatalogEntry& entry = entryAt(position);
  l.fieldText = entry.alias != entry.label ? entry.label + std::string(filter::kAliasSeparator) + entry.alias
                                           : entry.label;
  fillRelations(n, position);
  const std::string_view relation = filter::RelationToString(static_cast<filter::RelationCode>(stored.condition));
  l.relationText = offered(l, relation) ? std::string(relation) : std::string();
  if (!problem && !relation.empty() && l.relationText.empty()) {
    problem = "Criteria " + std::to_string(n) + ": the relation \"" + std::string(relation) + "\" is not offered for " +
              entry.label;
  }
  // Shown as it will be stored again: what the writer would change is
  // changed now, so a second load shows the same text.
  filter::FilterLine again = stored;
  const filter::StoredValue storedAgain = filter::storedValue(position, filter::shownValue(position, stored));
  again.value = storedAgain.value;
  again.noYear = storedAgain.noYear;
  again.noDay = storedAgain.noDay;
  l.conditionText = filter::shownValue(position, again);
  if (n < kCriteriaLineCount && stored.connectorGiven) l.connector = itemOrNone(stored.connector, 2);
  caseSensitive = stored.caseSensitive;
  ignorePunctuation = stored.ignorePunctuation;
  TurnOnTagLine(n);
  return problem;
}

std::vector<std::string> CriteriaEditorModel::loadfromMemo(const std::vector<std::string>& memo) {
  parenthesesInUse = false;
  std::vector<std::string> problems;
  const std::size_t count = std::min<std::size_t>(memo.size(), kCriteriaLineCount);
  for (std::size_t i = 0; i < count && !host::IsBlank(memo[i]); ++i) {
    if (auto problem = loadLine(static_cast<int>(i) + 1, filter::readFilterLine(memo[i]))) {
      problems.push_back(std::move(*problem));
    }
  }
  return problems;
}

}  // namespace vistrel::dialogs
