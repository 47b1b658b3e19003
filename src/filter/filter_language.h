// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <span>
#include <string_view>

// The two tables of the filter language: the 24 relations a criterion can
// use, and what each kind of field offers in a criterion and how its values
// are compared. What differs from one relation or one kind of field to the
// next is a column here; the editor, the checks and the evaluation ask a row
// instead of testing numbers or kinds themselves.
namespace vistrel::filter {

// The relation of a criterion as stored. The numbers are part of the stored
// text; they do not follow the order in which the editor lists the names.
enum class RelationCode : int {
  kNone = 0,  // the text was not a relation name
  kGreaterThan = 1,
  kGreaterThanOrEqual = 2,
  kLessThan = 3,
  kLessThanOrEqual = 4,
  kEquals = 5,
  kNotEquals = 6,
  kContains = 7,
  kDoesNotContain = 8,
  kIsBlank = 9,
  kIsNotBlank = 10,
  kMatches = 11,
  kSoundsLike = 12,
  kDoesNotSoundLike = 13,
  kIsTrue = 14,
  kIsNotTrue = 15,
  kStartsWith = 16,
  kEndsWith = 17,
  kIsOnOrBefore = 18,
  kIsOnOrAfter = 19,
  kIsA = 20,
  kIsFirst = 21,
  kIsLast = 22,
  kDoesNotStartWith = 23,
  kDoesNotEndWith = 24,
};

struct RelationInfo {
  RelationCode code;
  std::string_view name;  // as the editor shows it, at most 40 characters
  bool takesValue;        // false for "is blank", "is not blank", "is true", "is not true"
};

// The 24 relations in the order the editor keeps their names.
const std::array<RelationInfo, 24>& relationTable();
// The row of a stored relation number; null for 0 and numbers outside 1..24.
const RelationInfo* findRelation(int code);
// The code of a relation name (exact, case-sensitive), or kNone.
RelationCode stringToRelation(std::string_view name);
// The name of a code; the empty text for kNone and for any other number.
std::string_view RelationToString(RelationCode code);
bool relationTakesValue(RelationCode code);

// How the values of a field are prepared and compared.
enum class ValueClass {
  kText,      // texts, memos and address blocks: as bytes, letter case folded unless asked
  kNumber,    // integers, numbers, money
  kDate,
  kTime,      // the time of day
  kLogical,
  kMarked,    // whether the contact is in the marks of the user
  kCategory,  // category codes against an expression
  kNone,      // constructed fields: no criterion
};

// What entering a criterion's condition box opens.
enum class ConditionPicker { kNone, kEventType, kEventStatus, kLetterType, kDate, kTime, kCategory };

// What a kind of field offers in a criterion.
struct FieldKindInfo {
  std::string_view name;
  ValueClass values;
  std::span<const RelationCode> relations;  // offered, in list order; none: the field takes no criterion
  RelationCode preselected;                 // chosen with the field; kNone: nothing
  bool conditionHidden;  // the condition box never shows (logical and marked fields)
  bool digitsOnly;       // the editor takes digits and the locale's separators only (numbers, money)
  ConditionPicker picker;
  bool storesStatusCode;  // a status name is stored as its one-letter code
  bool showsStatusName;   // a stored status code is shown as its name
};

// The row of the field at catalog `position`: that of its kind, or for the
// event fields Type, Status and LetterType a row of their own (the event type
// picker with "is a", "is first" and "is last"; the status pickers).
const FieldKindInfo& fieldKindInfo(int position);
// Whether the field's row offers `code`.
bool offersRelation(const FieldKindInfo& kind, RelationCode code);

}  // namespace vistrel::filter
