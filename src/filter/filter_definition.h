// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "filter/filter_language.h"
#include "filter/filter_text.h"
#include "host/clock.h"
#include "host/date_time.h"
#include "host/field_catalog.h"
#include "host/locale.h"
#include "host/status.h"

// A filter's definition: the stored text of a select-table row read into its
// criteria, and the one verdict on such a text that every part of the
// program asks before it stores or uses one: the criteria editor's OK,
// `filter add`, `filter describe` and activation.
//
// A text passes when each line reads back exactly as written (the groups in
// their order, one blank apart, values with balanced parentheses, numbers
// and flags in the form the writer gives them, UTF-8 without control
// characters), the lines are joined as a chain (And or Or up to the last
// line, none on it) and every criterion names a contact or event field, a
// relation that field offers and a value the relation can use. What does not
// pass is refused with the criterion and the reason; nothing is cut, reset
// or dropped.
namespace vistrel::filter {

inline constexpr int kMaxCriteria = 10;
inline constexpr int kMaxParentheses = 5;
// Characters of a criterion's value.
inline constexpr std::size_t kMaxValueLength = 80;
// Characters of a filter's description (its name) and of a user id.
inline constexpr std::size_t kMaxDescriptionLength = 100;
inline constexpr std::size_t kMaxWhoLength = 3;

// What a fault is about: the editor puts the focus there.
enum class DefinitionPart { kWhole, kLine, kField, kRelation, kValue };

struct DefinitionFault {
  int row = 0;  // the criterion, 1 to 10 (its line); 0 for the definition as a whole
  DefinitionPart part = DefinitionPart::kWhole;
  std::string message;  // names the criterion when it is about one

  friend bool operator==(const DefinitionFault&, const DefinitionFault&) = default;
};
using DefinitionFaults = std::vector<DefinitionFault>;

// The messages of faults, one per line.
std::string faultLines(const DefinitionFaults& faults);

// One criterion as the evaluation uses it.
struct Criterion {
  int field = host::kUndefinedField;  // FieldCatalog position
  RelationCode relation = RelationCode::kNone;
  std::string value;
  bool caseSensitive = false;
  bool noYear = false;
  bool noDay = false;
  bool ignorePunct = false;
  int open = 0;       // "(" before the row
  int close = 0;      // ")" after the row
  int connector = 0;  // 1 And, 2 Or, 0 none (the last row)
};

struct DefinitionVerdict {
  std::vector<std::string> lines;   // the lines of the text, as written
  std::vector<Criterion> criteria;  // when the text passes
  DefinitionFaults faults;
  bool ok() const { return faults.empty(); }
  // The text to store: the lines as written, each ended by CR LF.
  std::string storedText() const { return joinMemoLines(lines); }
};

// The verdict on a stored text, lines separated by CR LF or a lone CR or
// LF; blank lines at its end are no criteria. TODAY dates are worked out
// against the clock's day.
DefinitionVerdict judgeDefinition(std::string_view text, const host::Clock& clock, const host::Locale& locale);
// The same for lines already apart (the editor's): a line break inside one
// is refused.
DefinitionVerdict judgeDefinition(std::vector<std::string> lines, const host::Clock& clock,
                                  const host::Locale& locale);

// What the per-record test compares a field against, worked out once.
struct PreparedValue {
  std::string text;           // the value as the text relations compare it (at most 40 characters)
  double number = 0;          // number fields
  host::DateTime moment = 0;  // date fields: the date; time fields: the day fraction
  std::uint32_t sound = 0;    // SoundCode of the text
};

// The prepared value of criterion `row` (numbered for the message); fails
// when its date or time cannot be read. Category values are compiled by
// their user, not here.
host::StatusOr<PreparedValue> prepareValue(const Criterion& criterion, int row, const host::Clock& clock,
                                           const host::Locale& locale);

// The letter that names row n (1 to 10) in the row expression: "A" to "J".
inline char rowLetter(int n) { return static_cast<char>('A' + n - 1); }
// The rows' parentheses and connectors as an expression: "(A*B)+C".
std::string rowExpression(const std::vector<Criterion>& criteria);

// What is wrong with a filter's description as a name to store, or none:
// blank, longer than the column, a line break or another control
// character, bytes that are not UTF-8.
std::optional<std::string> descriptionFault(std::string_view description);
// What is wrong with a user id to store or to count marks for, or none.
std::optional<std::string> whoFault(std::string_view who);

// The writer's rules for a condition typed for the field at `position`: a
// status name of the event fields Status and LetterType becomes its code; a
// date value notes NoYear and NoDay in its flags and, unless it holds TODAY,
// loses everything from its first "(" (a weekday the date picker wrote).
// Anything else is stored as typed, to be judged with the whole text.
struct StoredValue {
  std::string value;
  bool noYear = false;
  bool noDay = false;
};
StoredValue storedValue(int position, std::string_view conditionText);
// The condition text the editor shows for a stored line on the field at
// `position`: a calendar date gets its NoYear/NoDay note back, an event
// Status code shows as its name.
std::string shownValue(int position, const FilterLine& line);

}  // namespace vistrel::filter
