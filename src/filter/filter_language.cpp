// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "filter/filter_language.h"

#include <algorithm>

#include "host/field_catalog.h"

namespace vistrel::filter {
namespace {

using R = RelationCode;
using K = host::FieldKind;

constexpr std::array<RelationInfo, 24> kRelations = {{
    {R::kIsOnOrBefore, "is on or before", true},
    {R::kIsOnOrAfter, "is on or after", true},
    {R::kEquals, "equals", true},
    {R::kNotEquals, "not equals", true},
    {R::kIsTrue, "is true", false},
    {R::kIsNotTrue, "is not true", false},
    {R::kContains, "contains", true},
    {R::kDoesNotContain, "does not contain", true},
    {R::kLessThan, "less than", true},
    {R::kLessThanOrEqual, "less than or equal to", true},
    {R::kGreaterThan, "greater than", true},
    {R::kGreaterThanOrEqual, "greater than or equal to", true},
    {R::kStartsWith, "starts with", true},
    {R::kEndsWith, "ends with", true},
    {R::kDoesNotStartWith, "does not start with", true},
    {R::kDoesNotEndWith, "does not end with", true},
    {R::kIsBlank, "is blank", false},
    {R::kIsNotBlank, "is not blank", false},
    {R::kSoundsLike, "sounds like", true},
    {R::kDoesNotSoundLike, "does not sound like", true},
    {R::kMatches, "matches", true},
    {R::kIsA, "is a", true},
    {R::kIsFirst, "is first", true},
    {R::kIsLast, "is last", true},
}};

// The relation lists, each in the order the editor offers it.
constexpr RelationCode kTextRelations[] = {
    R::kEquals,      R::kNotEquals,       R::kIsBlank,          R::kIsNotBlank,         R::kContains,
    R::kDoesNotContain, R::kLessThan,     R::kLessThanOrEqual,  R::kGreaterThan,        R::kGreaterThanOrEqual,
    R::kSoundsLike,  R::kDoesNotSoundLike, R::kStartsWith,      R::kEndsWith,           R::kDoesNotStartWith,
    R::kDoesNotEndWith};
// The text relations, then "is a", "is first" and "is last".
constexpr RelationCode kEventTypeRelations[] = {
    R::kEquals,      R::kNotEquals,       R::kIsBlank,          R::kIsNotBlank,         R::kContains,
    R::kDoesNotContain, R::kLessThan,     R::kLessThanOrEqual,  R::kGreaterThan,        R::kGreaterThanOrEqual,
    R::kSoundsLike,  R::kDoesNotSoundLike, R::kStartsWith,      R::kEndsWith,           R::kDoesNotStartWith,
    R::kDoesNotEndWith, R::kIsA,          R::kIsFirst,          R::kIsLast};
constexpr RelationCode kMemoRelations[] = {R::kEquals,     R::kNotEquals, R::kIsBlank,          R::kIsNotBlank,
                                           R::kContains,   R::kDoesNotContain, R::kStartsWith,  R::kEndsWith,
                                           R::kDoesNotStartWith, R::kDoesNotEndWith};
constexpr RelationCode kNumberRelations[] = {R::kLessThan, R::kGreaterThan, R::kLessThanOrEqual,
                                             R::kGreaterThanOrEqual, R::kEquals, R::kNotEquals};
constexpr RelationCode kDateRelations[] = {R::kIsOnOrBefore, R::kIsOnOrAfter, R::kEquals, R::kIsBlank,
                                           R::kIsNotBlank};
constexpr RelationCode kTimeRelations[] = {R::kIsOnOrBefore, R::kIsOnOrAfter, R::kIsBlank, R::kIsNotBlank};
constexpr RelationCode kLogicalRelations[] = {R::kIsTrue, R::kIsNotTrue};
constexpr RelationCode kCategoryRelations[] = {R::kMatches, R::kIsBlank};

using P = ConditionPicker;
using V = ValueClass;

// name, values, relations, preselected, condition hidden, digits only, picker, stores status code, shows status name
const FieldKindInfo kText{"text", V::kText, kTextRelations, R::kNone, false, false, P::kNone, false, false};
const FieldKindInfo kMemo{"memo", V::kText, kMemoRelations, R::kNone, false, false, P::kNone, false, false};
const FieldKindInfo kInteger{"integer", V::kNumber, kNumberRelations, R::kNone, false, false, P::kNone, false, false};
const FieldKindInfo kNumber{"number", V::kNumber, kNumberRelations, R::kNone, false, true, P::kNone, false, false};
const FieldKindInfo kDate{"date", V::kDate, kDateRelations, R::kNone, false, false, P::kDate, false, false};
const FieldKindInfo kTime{"time", V::kTime, kTimeRelations, R::kNone, false, false, P::kTime, false, false};
const FieldKindInfo kLogical{"logical", V::kLogical, kLogicalRelations, R::kIsTrue, true, false, P::kNone, false,
                              false};
const FieldKindInfo kMarked{"marked", V::kMarked, kLogicalRelations, R::kIsTrue, true, false, P::kNone, false, false};
const FieldKindInfo kCategory{"category", V::kCategory, kCategoryRelations, R::kMatches, false, false, P::kCategory,
                              false, false};
const FieldKindInfo kNone{"constructed", V::kNone, {}, R::kNone, false, false, P::kNone, false, false};
const FieldKindInfo kEventType{"event type", V::kText, kEventTypeRelations, R::kNone, false, false, P::kEventType,
                               false, false};
const FieldKindInfo kEventStatus{"event status", V::kText, kTextRelations, R::kNone, false, false, P::kEventStatus,
                                 true, true};
const FieldKindInfo kLetterType{"letter type", V::kText, kTextRelations, R::kNone, false, false, P::kLetterType, true,
                                false};

// The row of each FieldKind, by its number; the numbers 7 and above 18 name no kind.
const std::array<const FieldKindInfo*, 19> kByKind = {
    &kText,   &kMemo,    &kInteger, &kNumber, &kDate,  &kTime,  &kLogical, &kNone,     &kMemo, &kNone,
    &kNone,   &kNone,    &kNone,    &kNone,   &kNumber, &kMarked, &kCategory, &kNone, &kNone};

// The event fields with rows of their own, by their name in the event table.
const std::pair<std::string_view, const FieldKindInfo*> kEventFields[] = {
    {"Type", &kEventType}, {"Status", &kEventStatus}, {"LetterType", &kLetterType}};

}  // namespace

const std::array<RelationInfo, 24>& relationTable() { return kRelations; }

const RelationInfo* findRelation(int code) {
  for (const RelationInfo& r : kRelations) {
    if (static_cast<int>(r.code) == code) return &r;
  }
  return nullptr;
}

RelationCode stringToRelation(std::string_view name) {
  for (const RelationInfo& r : kRelations) {
    if (r.name == name) return r.code;
  }
  return RelationCode::kNone;
}

std::string_view RelationToString(RelationCode code) {
  const RelationInfo* r = findRelation(static_cast<int>(code));
  return r != nullptr ? r->name : std::string_view();
}

bool relationTakesValue(RelationCode code) {
  const RelationInfo* r = findRelation(static_cast<int>(code));
  return r != nullptr && r->takesValue;
}

const FieldKindInfo& fieldKindInfo(int position) {
  if (position < 0 || position >= host::kFieldCount) return kNone;
  const host::FieldCatalogEntry& entry = host::FieldCatalog()[static_cast<std::size_t>(position)];
  if (entry.table == host::kEventTable) {
    for (const auto& [name, info] : kEventFields) {
      if (entry.name == name) return *info;
    }
  }
  const auto kind = static_cast<std::size_t>(entry.kind);
  return kind < kByKind.size() ? *kByKind[kind] : kNone;
}

bool offersRelation(const FieldKindInfo& kind, RelationCode code) {
  return std::find(kind.relations.begin(), kind.relations.end(), code) != kind.relations.end();
}

}  // namespace vistrel::filter
