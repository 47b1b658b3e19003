// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "filter/compiled_filter.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "filter/filter_text.h"
#include "filter/relative_date.h"
#include "filter/sound_code.h"
#include "host/environment.h"
#include "host/field_catalog.h"
#include "host/messages.h"
#include "host/text.h"
#include "host/utility.h"

namespace vistrel::filter {
namespace {

constexpr std::size_t kValueLength = 80;
constexpr std::size_t kPreparedLength = 40;

void plainBox(std::string_view text) {
  host::showMessage({host::MessageIcon::kNone, host::MessageButtons::kOk, std::string(text), {}});
}

std::string rowMessage(const char* format, int n) {
  std::string text(format);
  text.replace(text.find("%s"), 2, std::to_string(n));
  return text;
}

const host::FieldCatalogEntry& entryOf(const CriterionRow& row) {
  return host::FieldCatalog()[static_cast<std::size_t>(row.field)];
}

bool relationKnown(int relation) { return relation >= 1 && relation <= 24; }

bool needsNoValue(int relation) { return relation == 9 || relation == 10 || relation == 14 || relation == 15; }

// Text, memo and address rows: the value folded the way the record's text will be.
PreparedValue prepareTextValue(const CriterionRow& row, const std::string& cut) {
  PreparedValue p;
  p.text = cut;
  if (row.relation == static_cast<int>(RelationCode::kLessThanOrEqual)) {
    p.text = std::string(host::utf8Left(p.text + std::string(20, 'z'), kPreparedLength));
  }
  if (!row.caseSensitive) p.text = host::upperAscii(p.text);
  if (row.ignorePunct) p.text = host::KeepLettersAndDigits(p.text);
  p.sound = SoundCode(p.text);
  return p;
}

// Date rows: the date read (or worked out from TODAY), moved into 1900 or to the
// first of its month when the row ignores the year or the day. False after
// telling the user when the date cannot be read.
bool prepareDateValue(const CriterionRow& row, const std::string& cut, int n, const host::Clock& clock,
                      const host::Locale& locale, PreparedValue& p) {
  p.text = cut;
  if (host::IsBlank(cut)) return true;
  int pos = 1;
  const bool today = host::NextWord(cut, pos) == "TODAY";
  std::optional<host::DateTime> date;
  if (today) {
    auto resolved = ResolveRelativeDate(cut, std::floor(clock.now()), locale);
    if (resolved.ok()) date = *resolved;
  } else {
    date = host::parseDate(cut, locale);
  }
  if (!date) {
    host::ShowError("The date of criteria " + std::to_string(n) + " cannot be read: " + cut);
    return false;
  }
  if (row.noYear) date = host::DayIn1900(*date);
  if (row.noDay) date = host::FirstOfMonth(*date);
  p.moment = *date;
  p.text = host::formatDate(*date, locale);
  return true;
}

// Time rows: the day fraction read. False after telling the user when the time
// cannot be read.
bool prepareTimeValue(const std::string& cut, int n, const host::Locale& locale, PreparedValue& p) {
  p.text = cut;
  if (host::IsBlank(cut)) return true;
  const auto time = host::parseTime(cut, locale);
  if (!time) {
    host::ShowError("The time of criteria " + std::to_string(n) + " cannot be read: " + cut);
    return false;
  }
  p.moment = *time;
  return true;
}

}  // namespace

CompiledFilter::CompiledFilter(ExpressionEngine& expressions) : expressions_(&expressions) {}

bool CompiledFilter::activatethisfilter(std::string_view shortname, std::string_view definition,
                                        const host::Clock& clock, const host::Locale& locale) {
  if (!load(shortname, definition) || !prepareapply(clock, locale) || !check()) return false;
  active_ = true;
  name_ = std::string(shortname);
  return true;
}

bool CompiledFilter::load(std::string_view shortname, std::string_view definition) {
  if (host::IsBlank(shortname)) {
    host::ShowError("No filter selected");
    return false;
  }
  const std::vector<std::string> lines = splitMemoLines(definition);
  if (lines.empty() || host::IsBlank(lines[0])) {
    host::ShowError("Error : this filter appears corrupt.  Delete and re-add or run database repair");
    return false;
  }
  rows_.fill(CriterionRow{});
  prepared_.fill(PreparedValue{});
  count_ = 0;
  for (int n = 1; n <= kMaxCriteria; ++n) {
    const std::size_t i = static_cast<std::size_t>(n - 1);
    const FilterLine line = readFilterLine(i < lines.size() ? std::string_view(lines[i]) : std::string_view());
    CriterionRow& row = rows_[i];
    row.field = host::FindFieldByLabel(line.field);
    row.relation = line.condition;
    row.value = std::string(host::utf8Left(line.value, kValueLength));
    row.caseSensitive = line.caseSensitive;
    row.noYear = line.noYear;
    row.noDay = line.noDay;
    row.ignorePunct = line.ignorePunctuation;
    row.open = line.open;
    row.close = line.close;
    row.connector = line.connector;
    count_ = n;
    if (row.connector <= 0) break;
  }
  return true;
}

bool CompiledFilter::prepareapply(const host::Clock& clock, const host::Locale& locale) {
  bool ok = true;
  for (int n = 1; n <= count_; ++n) {
    const CriterionRow& row = rows_[static_cast<std::size_t>(n - 1)];
    PreparedValue& p = prepared_[static_cast<std::size_t>(n - 1)];
    p = PreparedValue{};
    if (row.field == host::kUndefinedField) continue;
    const std::string cut(host::utf8Left(row.value, kPreparedLength));
    switch (entryOf(row).kind) {
      case host::FieldKind::kText:
      case host::FieldKind::kMemo:
      case host::FieldKind::kAddressBlock:
        p = prepareTextValue(row, cut);
        break;
      case host::FieldKind::kInteger:
      case host::FieldKind::kNumber:
      case host::FieldKind::kMoney:
        p.text = cut;
        p.number = host::SafeStrToFloat(cut, locale);
        break;
      case host::FieldKind::kDate:
        if (!prepareDateValue(row, cut, n, clock, locale, p)) ok = false;
        break;
      case host::FieldKind::kTime:
        if (!prepareTimeValue(cut, n, locale, p)) ok = false;
        break;
      case host::FieldKind::kLogical:
      case host::FieldKind::kMarked:
        p.text = cut;
        break;
      case host::FieldKind::kCategory:
        // A row whose expression does not compile would test whatever its
        // slot held before: the filter is refused instead.
        if (!row.value.empty() && !expressions_->CompileExpression(row.value, categorySlot(n))) {
          host::ShowError("Criteria " + std::to_string(n) + ": " + expressions_->LastExpressionError());
          ok = false;
        }
        break;
      default:
        break;
    }
  }
  return ok;
}

bool CompiledFilter::check() {
  bool ok = true;
  for (int n = 1; n <= count_; ++n) {
    const CriterionRow& row = rows_[static_cast<std::size_t>(n - 1)];
    if (row.open < 0 || row.open > 5 || row.close < 0 || row.close > 5) {
      host::ShowError("Error : this filter appears corrupt.  Delete and re-add or run database repair");
      return false;
    }
    if (rowTable(n) == RowTable::kNone) {
      host::ShowError(rowMessage("Criteria %s names no contact or event field; it cannot be used in a filter", n));
      ok = false;
    } else if (!relationKnown(row.relation)) {
      host::ShowError(rowMessage("A field and a condition are necessary for criteria %s", n));
      ok = false;
    } else if (row.value.empty() && !needsNoValue(row.relation)) {
      host::ShowError(rowMessage("The condition for criteria %s requires a value", n));
      ok = false;
    }
  }
  if (!expressions_->CompileExpression(rowExpression(), ExpressionSlot::kRows)) {
    if (!expressions_->LastExpressionError().empty()) plainBox(expressions_->LastExpressionError());
    return false;
  }
  return ok;
}

void CompiledFilter::deactivate() {
  name_.clear();
  active_ = false;
}

RowTable CompiledFilter::rowTable(int n) const {
  const CriterionRow& r = row(n);
  if (r.field < 0 || r.field >= host::kUndefinedField) return RowTable::kNone;
  switch (entryOf(r).table) {
    case host::kContactTable: return RowTable::kContact;
    case host::kEventTable: return RowTable::kEvent;
    default: return RowTable::kNone;
  }
}

bool CompiledFilter::hasEventRows() const {
  for (int n = 1; n <= count_; ++n) {
    if (rowTable(n) == RowTable::kEvent) return true;
  }
  return false;
}

std::string CompiledFilter::rowExpression() const {
  std::string text;
  for (int n = 1; n <= count_; ++n) {
    const CriterionRow& r = row(n);
    text.append(static_cast<std::size_t>(std::clamp(r.open, 0, 5)), '(');
    text += rowLetter(n);
    text.append(static_cast<std::size_t>(std::clamp(r.close, 0, 5)), ')');
    if (r.connector == 1) text += '*';
    if (r.connector == 2) text += '+';
  }
  return text;
}

}  // namespace vistrel::filter
