// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "filter/filter_evaluator.h"

#include <cmath>
#include <optional>

#include "filter/filter_language.h"
#include "filter/sound_code.h"
#include "host/environment.h"
#include "host/field_catalog.h"
#include "host/table_lookups.h"
#include "host/tallis_schema.h"
#include "host/text.h"
#include "host/utility.h"

namespace vistrel::filter {
namespace {

using R = RelationCode;

enum class TableKind { kContact, kEvent, kOther };

TableKind tableKind(std::string_view tableName) {
  const std::string name = host::upperAscii(tableName);
  for (const auto& [bare, kind] : {std::pair{"CONTACT", TableKind::kContact}, std::pair{"EVENT", TableKind::kEvent}}) {
    if (name == bare || name == std::string(bare) + ".DB") return kind;
  }
  return TableKind::kOther;
}

bool compareText(R relation, std::string_view f, const PreparedValue& p, const ExpressionEngine& expressions,
                 ExpressionSlot category) {
  const std::string_view v = p.text;
  switch (relation) {
    case R::kGreaterThan: return f > v;
    case R::kGreaterThanOrEqual: return f >= v;
    case R::kLessThan: return f < v;
    case R::kLessThanOrEqual: return f <= v;
    case R::kEquals:
    case R::kIsA:
    case R::kIsFirst:
    case R::kIsLast: return f == v;
    case R::kNotEquals: return f != v;
    case R::kContains: return !v.empty() && f.find(v) != std::string_view::npos;
    case R::kDoesNotContain: return v.empty() || f.find(v) == std::string_view::npos;
    case R::kIsBlank: return f.empty();
    case R::kIsNotBlank: return !f.empty();
    case R::kMatches: return expressions.EvaluateExpression(f, category);
    case R::kSoundsLike: return p.sound == SoundCode(f);
    case R::kDoesNotSoundLike: return p.sound != SoundCode(f);
    case R::kStartsWith: return host::StartsWith(v, f);
    case R::kEndsWith: return host::EndsWith(v, f);
    case R::kDoesNotStartWith: return !host::StartsWith(v, f);
    case R::kDoesNotEndWith: return !host::EndsWith(v, f);
    default: return false;
  }
}

// Whether the upper-cased `f` (letters a to z) equals `p`, without a copy.
bool upperEquals(std::string_view f, std::string_view p) {
  if (f.size() != p.size()) return false;
  for (std::size_t i = 0; i < f.size(); ++i) {
    if (host::upperAscii(f[i]) != p[i]) return false;
  }
  return true;
}

// The relations a case-insensitive text row decides on the stored text as it
// is; nullopt for the others, which compare an upper-cased copy.
std::optional<bool> compareUpper(R relation, std::string_view f, std::string_view p) {
  switch (relation) {
    case R::kEquals:
    case R::kIsA:
    case R::kIsFirst:
    case R::kIsLast: return upperEquals(f, p);
    case R::kNotEquals: return !upperEquals(f, p);
    case R::kStartsWith: return f.size() >= p.size() && upperEquals(f.substr(0, p.size()), p);
    case R::kDoesNotStartWith: return !(f.size() >= p.size() && upperEquals(f.substr(0, p.size()), p));
    case R::kIsBlank: return f.empty();
    case R::kIsNotBlank: return !f.empty();
    default: return std::nullopt;
  }
}

// Dates, times and numbers: the relations that order values.
template <typename T>
bool compareOrdered(R relation, T f, T v, bool dates) {
  switch (relation) {
    case R::kEquals: return f == v;
    case R::kNotEquals: return f != v;
    case R::kGreaterThan: return !dates && f > v;
    case R::kGreaterThanOrEqual: return !dates && f >= v;
    case R::kLessThan: return !dates && f < v;
    case R::kLessThanOrEqual: return !dates && f <= v;
    case R::kIsOnOrBefore: return dates && f <= v;
    case R::kIsOnOrAfter: return dates && f >= v;
    default: return false;
  }
}

// "is true" of a true flag, "is not true" of a false one.
bool isTrue(R relation, bool flag) {
  return (flag && relation == R::kIsTrue) || (!flag && relation == R::kIsNotTrue);
}

// Times compare to the millisecond, so that a stored time and the same time
// read from a text are equal.
std::int64_t milliseconds(host::DateTime dayFraction) { return std::llround(dayFraction * 86400000.0); }

// A date field against a date row, after the same year and day folding the row's value had.
bool testDate(const Criterion& row, host::Field& f, const PreparedValue& p) {
  if (row.relation == R::kIsBlank) return host::IsBlank(f.asTextView());
  if (row.relation == R::kIsNotBlank) return !host::IsBlank(f.asTextView());
  host::DateTime d = f.asDateTime();
  if (row.noYear) d = host::DayIn1900(d);
  if (row.noDay) d = host::FirstOfMonth(d);
  return compareOrdered(row.relation, d, p.moment, true);
}

// A time field against a time row: only the time of day counts, to the millisecond.
bool testTime(const Criterion& row, host::Field& f, const PreparedValue& p) {
  if (row.relation == R::kIsBlank) return f.asTextView().empty();
  if (row.relation == R::kIsNotBlank) return !f.asTextView().empty();
  const host::DateTime v = f.asDateTime();
  return compareOrdered(row.relation, milliseconds(v - std::floor(v)), milliseconds(p.moment), true);
}

}  // namespace

struct FilterEvaluator::Bound {
  host::Table* table = nullptr;
  std::string name;  // the table name `kind` was worked out for
  TableKind kind = TableKind::kOther;
  std::array<host::Field*, kMaxCriteria> rows{};
  std::vector<std::pair<std::string, host::Field*>> named;
};

FilterEvaluator::FilterEvaluator(const CompiledFilter& filter, host::Engine& engine, std::string who)
    : filter_(filter), engine_(engine), who_(std::move(who)) {}

FilterEvaluator::~FilterEvaluator() = default;

bool FilterEvaluator::acceptRecord(host::Table& table) {
  const bool accepted = applyselection(table);
  if (!status_.ok()) table.stopFiltering(status_);
  return accepted;
}

host::Table::RecordFilter FilterEvaluator::recordFilter() {
  return [this](host::Table& table) { return acceptRecord(table); };
}

bool FilterEvaluator::fail(const host::Status& s) {
  if (status_.ok()) status_ = s;
  return false;
}

FilterEvaluator::Bound& FilterEvaluator::bound(host::Table& table) {
  for (auto& b : bound_) {
    if (b->table == &table) return *b;
  }
  bound_.push_back(std::make_unique<Bound>());
  bound_.back()->table = &table;
  return *bound_.back();
}

host::Field* FilterEvaluator::namedField(host::Table& table, std::string_view name) {
  Bound& b = bound(table);
  for (auto& [n, f] : b.named) {
    if (n == name) return f;
  }
  host::Field* f = table.fieldByName(name);
  if (f == nullptr) {
    fail(host::Status::Corrupt(table.tableName() + ": the table lacks the field " + std::string(name)));
    return nullptr;
  }
  b.named.emplace_back(std::string(name), f);
  return f;
}

host::Field* FilterEvaluator::rowField(int n, host::Table& table) {
  Bound& b = bound(table);
  host::Field*& f = b.rows[static_cast<std::size_t>(n - 1)];
  if (f == nullptr) f = namedField(table, host::FieldCatalog()[static_cast<std::size_t>(filter_.row(n).field)].name);
  return f;
}

host::Table* FilterEvaluator::ownTable(std::unique_ptr<host::Table>& slot, std::string_view name,
                                       std::string_view index) {
  if (slot) return slot.get();
  auto table = std::make_unique<host::Table>(engine_, std::string(host::kTallisAlias), std::string(name));
  host::Status s = table->setIndexName(std::string(index));
  if (s.ok()) s = table->open();
  if (!s.ok()) {
    fail(s);
    return nullptr;
  }
  slot = std::move(table);
  return slot.get();
}

bool FilterEvaluator::TestCriterion(int n, host::Table& table) {
  const Criterion& row = filter_.row(n);
  if (filter_.rowTable(n) == RowTable::kNone) return false;
  const ValueClass values = fieldKindInfo(row.field).values;
  if (values == ValueClass::kMarked) return testMarked(row, table);
  host::Field* f = rowField(n, table);
  if (f == nullptr) return false;
  const PreparedValue& p = filter_.prepared(n);
  switch (values) {
    case ValueClass::kText: return testText(n, *f, p);
    case ValueClass::kNumber:
      if (row.relation == R::kIsBlank) return f->isNull();
      if (row.relation == R::kIsNotBlank) return !f->isNull();
      return compareOrdered(row.relation, f->asFloat(), p.number, false);
    case ValueClass::kDate: return testDate(row, *f, p);
    case ValueClass::kTime: return testTime(row, *f, p);
    case ValueClass::kLogical: return isTrue(row.relation, f->asBoolean());
    case ValueClass::kCategory: {
      const std::string_view text = f->asTextView();
      if (row.relation == R::kIsBlank) return host::IsBlank(text);
      return filter_.expressions().EvaluateExpression(text, categorySlot(n));
    }
    case ValueClass::kMarked:
    case ValueClass::kNone: break;
  }
  return false;
}

bool FilterEvaluator::testMarked(const Criterion& row, host::Table& table) {
  host::Field* db = namedField(table, "DB");
  host::Field* recno = namedField(table, "Recno");
  host::Table* marks = ownTable(marks_, host::kMarksTableName, "");
  if (db == nullptr || recno == nullptr || marks == nullptr) return false;
  auto marked = host::FindKey3(who_, db->asText(), recno->asText(), *marks);
  if (!marked.ok()) return fail(marked.status());
  return isTrue(row.relation, *marked);
}

bool FilterEvaluator::testText(int n, host::Field& f, const PreparedValue& p) {
  const Criterion& row = filter_.row(n);
  std::string_view text = f.asTextView();
  if (!row.caseSensitive) {
    if (const std::optional<bool> decided = compareUpper(row.relation, text, p.text)) return *decided;
    scratch_.assign(text);
    for (char& c : scratch_) c = host::upperAscii(c);
    text = scratch_;
  }
  return compareText(row.relation, text, p, filter_.expressions(), categorySlot(n));
}

bool FilterEvaluator::applyselection(host::Table& table) {
  status_ = host::Status::OK();
  if (!filter_.active()) return true;
  Bound& b = bound(table);
  if (b.name != table.tableName()) {
    b.name = table.tableName();
    b.kind = tableKind(b.name);
  }
  bool result;
  if (b.kind == TableKind::kContact) {
    result = decideContact(table);
  } else if (b.kind == TableKind::kEvent) {
    result = decideEvent(table);
  } else {
    return fail(host::Status::InvalidArgument(table.tableName() + ": a filter decides contacts or events only"));
  }
  if (!status_.ok()) return false;
  return filter_.reverse() ? !result : result;
}

// The rows of one contact decision, each tested when the row expression
// first needs its letter and at most once per contact (an event row once
// per event): a contact that its first rows already decide has its other
// fields left unread.
struct FilterEvaluator::ContactRows {
  enum class Events { kFalse, kTrue, kCurrent };

  FilterEvaluator& evaluator;
  host::Table& contacts;
  host::Table* events = nullptr;  // standing on the event under test, for kCurrent
  Events eventRows = Events::kFalse;
  std::array<signed char, kMaxCriteria> contactResult{};  // -1 untested, 0 false, 1 true
  std::array<signed char, kMaxCriteria> eventResult{};

  bool truth(char letter) {
    const CompiledFilter& filter = evaluator.filter_;
    const int n = letter - 'A' + 1;
    if (n < 1 || n > filter.count()) return false;
    const auto i = static_cast<std::size_t>(n - 1);
    switch (filter.rowTable(n)) {
      case RowTable::kContact:
        if (contactResult[i] < 0) contactResult[i] = evaluator.TestCriterion(n, contacts) ? 1 : 0;
        return contactResult[i] == 1;
      case RowTable::kEvent:
        if (eventRows != Events::kCurrent) return eventRows == Events::kTrue;
        if (eventResult[i] < 0) eventResult[i] = evaluator.TestCriterion(n, *events) ? 1 : 0;
        return eventResult[i] == 1;
      case RowTable::kNone: break;
    }
    return false;
  }
};

bool FilterEvaluator::decideContact(host::Table& contacts) {
  ContactRows rows{*this, contacts, nullptr, ContactRows::Events::kFalse, {}, {}};
  rows.contactResult.fill(-1);
  // Captures one reference, so the function object needs no allocation.
  const ExpressionEngine::Truth truth = [&rows](char letter) { return rows.truth(letter); };
  const ExpressionEngine& ex = filter_.expressions();
  const bool without = ex.EvaluateExpression(truth, ExpressionSlot::kRows);
  if (!filter_.hasEventRows()) return without;
  // Every event row ends with the same result: whether one event of the
  // contact makes the whole expression true. When the contact's own rows
  // already decide, the events need not be read.
  rows.eventRows = ContactRows::Events::kTrue;
  const bool with = ex.EvaluateExpression(truth, ExpressionSlot::kRows);
  if (without == with) return with;
  rows.eventRows = ContactRows::Events::kCurrent;
  const bool found = forEachEvent(contacts, [&](host::Table& events) {
    rows.events = &events;
    rows.eventResult.fill(-1);
    return ex.EvaluateExpression(truth, ExpressionSlot::kRows);
  });
  return found ? with : without;
}

bool FilterEvaluator::forEachEvent(host::Table& contacts, const std::function<bool(host::Table&)>& satisfies) {
  host::Field* recnoField = namedField(contacts, "Recno");
  host::Table* events = ownTable(events_, host::kEventTableName, "irecno");
  if (recnoField == nullptr || events == nullptr) return false;
  const std::string_view recno = recnoField->asTextView();
  if (recno.empty()) return false;
  const std::vector<host::Value> key{host::Value(recno)};
  if (host::Status s = events->setRange(key, key); !s.ok()) return fail(s);
  while (!events->eof()) {
    const bool yes = satisfies(*events);
    if (!status_.ok()) return false;
    if (yes) return true;
    if (host::Status s = events->next(); !s.ok()) return fail(s);
  }
  return false;
}

bool FilterEvaluator::decideEvent(host::Table& events) {
  host::Field* recnoField = namedField(events, "Recno");
  host::Field* keyField = namedField(events, "ERecno");
  host::Field* typeField = namedField(events, "Type");
  if (recnoField == nullptr || keyField == nullptr || typeField == nullptr) return false;
  const std::string recno = recnoField->asText();
  int contactFound = -1;  // not looked up yet
  std::string letters;
  for (int n = 1; n <= filter_.count(); ++n) {
    bool result = false;
    switch (filter_.rowTable(n)) {
      case RowTable::kContact: {
        host::Table* contacts = ownTable(contacts_, host::kContactTableName, "");
        if (contacts == nullptr) return false;
        if (contactFound < 0) {
          auto found = recno.empty() ? host::StatusOr<bool>(false) : contacts->findKey({recno});
          if (!found.ok()) return fail(found.status());
          contactFound = *found ? 1 : 0;
        }
        result = contactFound == 1 && TestCriterion(n, *contacts);
        break;
      }
      case RowTable::kEvent: result = TestCriterion(n, events); break;
      case RowTable::kNone: break;
    }
    const R relation = filter_.row(n).relation;
    if (result && (relation == R::kIsFirst || relation == R::kIsLast)) {
      const std::string type = typeField->asText();
      const std::string key = keyField->asText();
      result = relation == R::kIsFirst ? findfirstevent(type, recno, key) : findlastevent(type, recno, key);
    }
    if (result) letters += rowLetter(n);
  }
  return filter_.expressions().EvaluateExpression(letters, ExpressionSlot::kRows);
}

bool FilterEvaluator::findfirstevent(std::string_view type, std::string_view recno, std::string_view key) {
  return findEvent(type, recno, key, false);
}

bool FilterEvaluator::findlastevent(std::string_view type, std::string_view recno, std::string_view key) {
  return findEvent(type, recno, key, true);
}

bool FilterEvaluator::findEvent(std::string_view type, std::string_view recno, std::string_view key, bool last) {
  host::Table* events = ownTable(events_, host::kEventTableName, "irecno");
  if (events == nullptr || recno.empty()) return false;
  host::Field* typeField = namedField(*events, "Type");
  host::Field* keyField = namedField(*events, "ERecno");
  if (typeField == nullptr || keyField == nullptr) return false;
  const std::vector<host::Value> range{host::Value(recno)};
  if (host::Status s = events->setRange(range, range); !s.ok()) return fail(s);
  bool seen = false;
  std::string lastKey;
  // Walking forward and keeping the last one of the type gives the same
  // event as walking backward from the end of the contact's events.
  while (!events->eof()) {
    if (typeField->asTextView() == type) {
      if (!last) return keyField->asTextView() == key;
      seen = true;
      lastKey = keyField->asText();
    }
    if (host::Status s = events->next(); !s.ok()) return fail(s);
  }
  return seen && lastKey == key;
}

host::StatusOr<SelectionCount> countSelection(FilterEvaluator& evaluator, host::Table& table,
                                              const SelectionProgress& progress, std::int64_t stride) {
  SelectionCount count;
  VISTREL_RETURN_IF_ERROR(table.visitRecords([&] {
    ++count.total;
    if (evaluator.applyselection(table)) ++count.matches;
    if (!evaluator.status().ok()) {
      table.stopFiltering(evaluator.status());
      return false;
    }
    if (progress && stride > 0 && count.total % stride == 0 && progress(count)) {
      count.complete = false;
      return false;
    }
    return true;
  }));
  return count;
}

}  // namespace vistrel::filter
