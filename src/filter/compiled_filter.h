// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "filter/bool_expr.h"
#include "host/clock.h"
#include "host/date_time.h"
#include "host/locale.h"

// The active filter: the stored definition of one select-table row read into
// at most ten criterion rows, each with its value worked out once, and the
// rows' parentheses and connectors compiled into the row expression (slot 1
// of the expression engine; each category row compiles into a slot of its
// own).
//
// Deciding records is FilterEvaluator's work (filter_evaluator.h); this class
// holds what the decision needs. Failures of load, prepare and check are told
// through the message seam with the texts the user knows; the filter then
// stays inactive, and an inactive filter accepts every record.
namespace vistrel::filter {

inline constexpr int kMaxCriteria = 10;

// One criterion as read from its line of the stored text.
struct CriterionRow {
  int open = 0;                // "(" before the row
  int field = 0;               // FieldCatalog position; kUndefinedField when the label is unknown
  int relation = 0;            // RelationCode number as stored (anything outside 1..24 is refused)
  std::string value;           // at most 80 characters
  bool caseSensitive = false;
  bool noYear = false;
  bool noDay = false;
  bool ignorePunct = false;
  int connector = 0;           // 1 And, 2 Or, 0 none
  int close = 0;               // ")" after the row
};

// What the per-record test compares against, worked out by prepareapply.
struct PreparedValue {
  std::string text;            // the value as the text relations compare it (at most 40 characters)
  double number = 0;           // number fields: SafeStrToFloat of the text
  host::DateTime moment = 0;   // date fields: the date; time fields: the day fraction
  std::uint32_t sound = 0;     // SoundCode of the text
};

// Where a row's field lives.
enum class RowTable { kContact, kEvent, kNone };

class CompiledFilter {
 public:
  explicit CompiledFilter(ExpressionEngine& expressions = ExpressionEngine::global());

  // Load, prepare and check the definition of the select row `shortname`; on
  // success the filter is active under that name. The caller clears active
  // (and sets reverse) itself.
  bool activatethisfilter(std::string_view shortname, std::string_view definition, const host::Clock& clock,
                          const host::Locale& locale);

  // Reads the rows of a definition: "No filter selected" for a blank name,
  // the corrupt-filter message for a blank first line.
  bool load(std::string_view shortname, std::string_view definition);
  // Works out every row's value. TODAY dates are resolved here against the
  // clock's day. A date or time value that cannot be read fails, naming the row.
  bool prepareapply(const host::Clock& clock, const host::Locale& locale);
  // Checks every row (each failing row is reported) and compiles the row
  // expression into slot 1.
  bool check();

  // Name empty and inactive.
  void deactivate();

  bool active() const { return active_; }
  void setActive(bool on) { active_ = on; }
  bool reverse() const { return reverse_; }
  void setReverse(bool on) { reverse_ = on; }
  const std::string& name() const { return name_; }
  void setName(std::string name) { name_ = std::move(name); }

  int count() const { return count_; }
  // Rows are numbered from 1, as the messages and row letters count them.
  const CriterionRow& row(int n) const { return rows_[static_cast<std::size_t>(n - 1)]; }
  const PreparedValue& prepared(int n) const { return prepared_[static_cast<std::size_t>(n - 1)]; }
  RowTable rowTable(int n) const;
  bool hasEventRows() const;
  // The row expression as compiled: "(A*B)+C".
  std::string rowExpression() const;
  ExpressionEngine& expressions() const { return *expressions_; }

 private:
  ExpressionEngine* expressions_;
  std::array<CriterionRow, kMaxCriteria> rows_{};
  std::array<PreparedValue, kMaxCriteria> prepared_{};
  int count_ = 0;
  std::string name_;
  bool active_ = false;
  bool reverse_ = false;
};

// The letter that names row n (1 to 10) in the row expression: "A" to "J".
inline char rowLetter(int n) { return static_cast<char>('A' + n - 1); }

}  // namespace vistrel::filter
