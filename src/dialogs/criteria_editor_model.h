// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "filter/filter_definition.h"
#include "filter/filter_language.h"
#include "filter/filter_text.h"
#include "host/field_catalog.h"

namespace vistrel::dialogs {

inline constexpr int kCriteriaLineCount = filter::kMaxCriteria;
inline constexpr int kMaxParentheses = filter::kMaxParentheses;
// Characters a condition box holds.
inline constexpr std::size_t kMaxConditionLength = filter::kMaxValueLength;

using filter::ConditionPicker;

// The catalog position named by a field box text ("Last Name", or a user
// field's "Birthday : Bday"): the text before its first ":" less the blank in
// front of it, looked up by label; the undefined entry when nothing matches.
int fieldPositionOfText(std::string_view fieldText);

// True for the field texts that name a user-defined field, whose meaning
// differs between databases: texts starting with "USER", "NUM" or "MONEY", or
// with "DAT" unless they are one of the built-in "DATE..." fields (letter case
// ignored).
bool isUserDefined(std::string_view fieldText);

// One of the editor's ten criteria lines.
struct CriteriaLine {
  std::string fieldText;      // the field box: a label, or "label : alias"
  std::string relationText;   // the chosen relation; empty when none
  std::string conditionText;  // the comparison value as typed
  int openCount = 0;          // item of the open box: 0 to 5 "("
  int closeCount = 0;         // item of the close box: 0 to 5 ")"
  int connector = 0;          // item of the And/Or box: 0 none, 1 "And", 2 "Or"
  bool inUse = false;         // the line is shown
  bool conditionShown = false;
  std::vector<std::string_view> relations;  // the relation list offered
};

// The state of the filter criteria editor without its window: ten lines and
// the options, what each line shows (its relation list, whether its condition
// box shows, which picker it opens, all from the filter language's tables)
// and how the lines turn into the stored text and back. A window binds its
// controls to it. Lines are numbered 1 to 10; functions taking a line number
// REQUIRE 1 <= n <= 10.
class CriteriaEditorModel {
 public:
  // A new filter: every line empty with no relations, line 1 in use.
  CriteriaEditorModel();

  CriteriaLine& line(int n) { return lines_[static_cast<std::size_t>(n - 1)]; }
  const CriteriaLine& line(int n) const { return lines_[static_cast<std::size_t>(n - 1)]; }

  bool caseSensitive = false;      // "&Case sensitive"
  bool ignorePunctuation = false;  // "&Ignore punctuation"
  bool parenthesesInUse = false;   // a loaded line uses a parenthesis

  // A new field on line n: relation and condition are cleared, the relation
  // list is refilled for the field's kind with its preselection, and the
  // condition is hidden for logical and marked fields.
  void setFieldText(int n, std::string_view text);
  // A relation picked on line n (none when it is not in the line's list);
  // the condition shows unless the relation or the field's kind takes none.
  void chooseRelation(int n, std::string_view relation);
  // An And/Or item picked on line n (1 to 9): "And" or "Or" turns line n+1
  // on, the blank item turns lines n+1 to 10 off (their texts stay).
  void chooseConnector(int n, int item);

  void TurnOnTagLine(int n);
  void turnOffTagLine(int n);
  void turnOffTags(int n);  // lines n to 10

  // The FieldKind of line n's field; kTerminator for a text not in the catalog.
  host::FieldKind fieldtype(int n) const;
  // The picker that entering line n's condition box opens.
  ConditionPicker conditionPicker(int n) const;
  // Whether the field box of lines 1 to 3, or of a later line in use, names
  // a user-defined field.
  bool anyUserFieldsUsed() const;
  // The warning shown on opening a filter last saved for `recordDb` while
  // `currentDb` is open, when it uses user-defined fields; none otherwise.
  std::optional<std::string> otherDatabaseWarning(std::string_view recordDb,
                                                  std::string_view currentDb) const;

  // The stored line for line n, or the empty text when the line is not in
  // use. The condition is written as typed, after the writer's rules
  // (filter::storedValue); whether the text can be stored is the verdict's.
  std::string outputLine(int n) const;
  // The lines for lines 1 to 10 up to the first one not in use.
  std::vector<std::string> outputToMemo() const;

  // Fills the lines from stored text, one line per memo line, up to the first
  // blank memo line (at most ten), and returns what the window tells the
  // user: a field label that the catalog does not hold is named ("problem
  // with undefined field ...") and loads as the undefined entry; a relation
  // the field does not offer is named and loads as none. A condition
  // shows as it will be stored again, so saving a loaded filter and loading
  // it again gives the same lines.
  std::vector<std::string> loadfromMemo(const std::vector<std::string>& memo);
  std::vector<std::string> loadfromMemo(std::string_view memoText) {
    return loadfromMemo(filter::splitMemoLines(memoText));
  }

 private:
  void fillRelations(int n, int position);
  std::optional<std::string> loadLine(int n, const filter::FilterLine& stored);

  std::array<CriteriaLine, kCriteriaLineCount> lines_;
};

}  // namespace vistrel::dialogs
