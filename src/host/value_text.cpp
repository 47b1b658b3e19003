// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/value_text.h"

#include <cmath>

#include "host/text.h"

namespace vistrel::host {

bool parseLogical(std::string_view text, bool* out) {
  const std::string u = upperAscii(trimWhite(text));
  if (u == "TRUE" || u == "T" || u == "YES" || u == "Y" || u == "1") {
    *out = true;
    return true;
  }
  if (u == "FALSE" || u == "F" || u == "NO" || u == "N" || u == "0") {
    *out = false;
    return true;
  }
  return false;
}

bool parseInteger(std::string_view text, std::int64_t* out) {
  text = trimWhite(text);
  if (text.empty()) return false;
  std::size_t i = (text[0] == '-' || text[0] == '+') ? 1 : 0;
  if (i == text.size()) return false;
  std::int64_t v = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    if (v > (INT64_MAX - 9) / 10) return false;
    v = v * 10 + (text[i] - '0');
  }
  *out = text[0] == '-' ? -v : v;
  return true;
}

namespace {

std::string realText(double v, ColumnType type, const Locale& locale) {
  switch (type) {
    case ColumnType::kDate: return formatDate(std::floor(v), locale);
    case ColumnType::kTime: return formatTime(v, locale);
    case ColumnType::kDateTime: return formatDateTime(v, locale);
    case ColumnType::kLogical: return v != 0 ? "True" : "False";
    default: return formatNumber(v, locale);
  }
}

std::optional<DateTime> parseDateAndTime(std::string_view text, const Locale& locale) {
  const std::string_view t = trimWhite(text);
  const std::size_t sp = t.find(' ');
  const auto d = parseDate(t.substr(0, sp), locale);
  if (!d || sp == std::string_view::npos) return d;
  const auto tm = parseTime(t.substr(sp + 1), locale);
  if (!tm) return std::nullopt;
  return *d + *tm;
}

// The value of a non-blank text for a column of a type other than text;
// nullptr names the kind the text failed to be.
const char* parseTyped(std::string_view text, ColumnType type, const Locale& locale, Value* out) {
  const auto real = [&](std::optional<double> v, const char* kind) -> const char* {
    if (!v) return kind;
    *out = Value(*v);
    return nullptr;
  };
  switch (type) {
    case ColumnType::kInteger: {
      std::int64_t v = 0;
      if (!parseInteger(text, &v)) return "a whole number";
      *out = Value(v);
      return nullptr;
    }
    case ColumnType::kNumber:
    case ColumnType::kMoney: return real(parseNumber(text, locale), "a number");
    case ColumnType::kDate: return real(parseDate(text, locale), "a date");
    case ColumnType::kTime: return real(parseTime(text, locale), "a time");
    case ColumnType::kDateTime: return real(parseDateAndTime(text, locale), "a date and time");
    case ColumnType::kLogical: {
      bool b = false;
      if (!parseLogical(text, &b)) return "true or false";
      *out = Value(std::int64_t{b ? 1 : 0});
      return nullptr;
    }
    default: *out = Value(text); return nullptr;
  }
}

}  // namespace

std::string valueText(const Value& v, ColumnType type, const Locale& locale) {
  switch (v.kind()) {
    case Value::Kind::kNull: return std::string();
    case Value::Kind::kText: return v.text();
    case Value::Kind::kInteger:
      if (type == ColumnType::kLogical) return v.integer() ? "True" : "False";
      if (type == ColumnType::kDate) return formatDate(static_cast<double>(v.integer()), locale);
      return std::to_string(v.integer());
    case Value::Kind::kReal: return realText(v.real(), type, locale);
  }
  return std::string();
}

StatusOr<Value> valueFromText(std::string_view text, ColumnType type, int size, std::string_view fieldName,
                              const Locale& locale) {
  if (isTextType(type)) return Value(size > 0 ? utf8Left(text, static_cast<std::size_t>(size)) : text);
  if (trimWhite(text).empty()) return Value();
  Value out;
  if (const char* kind = parseTyped(text, type, locale, &out)) {
    return Status::InvalidArgument("'" + std::string(text) + "' is not " + kind + " (field " +
                                   std::string(fieldName) + ")");
  }
  return out;
}

Value emptyKey(ColumnType type) { return isTextType(type) ? Value(std::string()) : Value(std::int64_t{0}); }

}  // namespace vistrel::host
