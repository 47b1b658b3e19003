// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/criteria_editor_model.h"
#include "filter/filter_definition.h"
#include "host/clock.h"
#include "host/locale.h"

// The checks the criteria editor runs on OK before anything is written: those
// of its boxes, then the verdict on the text it would store. Each check
// passes (none) or gives the message to show and the box to focus.
namespace vistrel::dialogs {

// The boxes of the editor a failed check can focus.
enum class CriteriaBox { kNone, kDescription, kField, kRelation, kCondition };

struct CriteriaFault {
  std::string message;
  CriteriaBox box = CriteriaBox::kNone;
  int line = 0;  // 1 to 10 for the boxes of a line, 0 otherwise

  friend bool operator==(const CriteriaFault&, const CriteriaFault&) = default;
};

// Characters a description keeps in the select table.
inline constexpr std::size_t kMaxDescriptionLength = filter::kMaxDescriptionLength;

// Blank, or a name the select table cannot hold as given (filter::descriptionFault).
std::optional<CriteriaFault> verifyDescription(std::string_view description);
// The first line in use whose field text is blank.
std::optional<CriteriaFault> verifyFields(const CriteriaEditorModel& model);
// The first line in use without a relation.
std::optional<CriteriaFault> verifyRelations(const CriteriaEditorModel& model);
// The conditions from line 1 up to the first hidden one: blank, and for number
// and money fields not made of digits and the locale's separators, or not a
// number.
std::optional<CriteriaFault> verifyEdits(const CriteriaEditorModel& model, const host::Locale& locale);
// The parentheses of the lines in use, shown or not.
std::optional<CriteriaFault> verifyOpenClose(const CriteriaEditorModel& model);

// All checks in their order: description, fields, relations, conditions,
// parentheses. The first failure ends the run.
std::optional<CriteriaFault> verifyCriteria(std::string_view description, const CriteriaEditorModel& model,
                                            const host::Locale& locale);

// The verdict on the text the lines would store (filter::judgeDefinition):
// its first fault, on the box of its line the fault is about. Runs after the
// checks above, which catch the blank boxes first.
std::optional<CriteriaFault> verifyDefinition(const CriteriaEditorModel& model, const host::Clock& clock,
                                              const host::Locale& locale);

}  // namespace vistrel::dialogs
