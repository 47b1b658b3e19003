// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/criteria_editor_model.h"
#include "host/locale.h"

// The checks the criteria editor runs on OK before anything is written. Each
// check passes (none) or gives the message to show and the box to focus.
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
inline constexpr std::size_t kMaxDescriptionLength = 100;

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

// What the editor's OK makes of a stored filter text: loaded into the
// editor's lines, checked as OK checks them and written back. A condition
// longer than the 80 characters a box holds is refused before loading, with
// its line and field named.
struct CriteriaVerdict {
  std::optional<CriteriaFault> fault;  // none: the editor would save it
  std::vector<std::string> definition;  // the lines OK would store
  std::vector<std::string> loadMessages;  // what loading reported ("problem with undefined field")
  bool ok() const { return !fault.has_value(); }
};
// Uses the field catalog as its aliases stand; no message box is shown.
CriteriaVerdict checkFilterDefinition(std::string_view description, std::string_view definitionText,
                                      const host::Locale& locale);

}  // namespace vistrel::dialogs
