// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace vistrel::host {

// The stored kinds of a table column. Dates and times are held as day
// numbers (days since 30 December 1899, the fraction being the time of day),
// logicals as 0 or 1.
enum class ColumnType { kText, kMemo, kInteger, kNumber, kMoney, kDate, kTime, kDateTime, kLogical };

bool isTextType(ColumnType type);

// One stored value: null, an integer, a floating-point number or a text.
class Value {
 public:
  enum class Kind { kNull, kInteger, kReal, kText };

  Value() = default;
  Value(std::int64_t v) : kind_(Kind::kInteger), int_(v) {}  // NOLINT
  Value(int v) : kind_(Kind::kInteger), int_(v) {}           // NOLINT
  Value(double v) : kind_(Kind::kReal), real_(v) {}          // NOLINT
  Value(std::string v) : kind_(Kind::kText), text_(std::move(v)) {}  // NOLINT
  Value(std::string_view v) : kind_(Kind::kText), text_(v) {}        // NOLINT
  Value(const char* v) : kind_(Kind::kText), text_(v) {}             // NOLINT

  Kind kind() const { return kind_; }
  bool isNull() const { return kind_ == Kind::kNull; }
  std::int64_t integer() const { return int_; }
  double real() const { return real_; }
  const std::string& text() const { return text_; }

  void setNull() { kind_ = Kind::kNull; }
  void setInteger(std::int64_t v) { kind_ = Kind::kInteger; int_ = v; }
  void setReal(double v) { kind_ = Kind::kReal; real_ = v; }
  // Reuses the text's storage, so a loop of reads does not allocate.
  void setText(std::string_view v) { kind_ = Kind::kText; text_.assign(v.data(), v.size()); }

  friend bool operator==(const Value& a, const Value& b);

 private:
  Kind kind_ = Kind::kNull;
  std::int64_t int_ = 0;
  double real_ = 0;
  std::string text_;
};

}  // namespace vistrel::host
