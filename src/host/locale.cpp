// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/locale.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace vistrel::host {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// The order of day (d), month (M) and year (y) in a short date pattern.
std::string fieldOrder(std::string_view pattern) {
  std::string order;
  for (char c : pattern) {
    const char f = (c == 'D') ? 'd' : (c == 'm') ? 'M' : (c == 'Y') ? 'y' : c;
    if ((f == 'd' || f == 'M' || f == 'y') && order.find(f) == std::string::npos) order += f;
  }
  return order.size() == 3 ? order : "Mdy";
}

void appendNumber(std::string& out, int value, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", width, value);
  out += buf;
}

}  // namespace

std::string formatDate(DateTime value, const Locale& locale) {
  if (value == 0) return std::string();
  const CivilDate d = decodeDate(value);
  const std::string& p = locale.shortDateFormat;
  std::string out;
  for (std::size_t i = 0; i < p.size();) {
    std::size_t run = 1;
    while (i + run < p.size() && p[i + run] == p[i]) ++run;
    switch (p[i]) {
      case 'd': case 'D': appendNumber(out, d.day, run >= 2 ? 2 : 1); break;
      case 'M': case 'm': appendNumber(out, d.month, run >= 2 ? 2 : 1); break;
      case 'y': case 'Y':
        if (run <= 2) appendNumber(out, d.year % 100, 2); else appendNumber(out, d.year, 4);
        break;
      default: out.append(run, p[i]); break;
    }
    i += run;
  }
  return out;
}

std::optional<DateTime> parseDate(std::string_view text, const Locale& locale) {
  text = trimBlanks(text);
  std::vector<std::string_view> parts;
  std::size_t i = 0;
  while (i < text.size()) {
    if (!isDigit(text[i])) return std::nullopt;
    std::size_t j = i;
    while (j < text.size() && isDigit(text[j])) ++j;
    if (j - i > 4) return std::nullopt;
    parts.push_back(text.substr(i, j - i));
    if (j == text.size()) break;
    const char sep = text[j];
    if (sep != '/' && sep != '-' && sep != '.' && sep != ' ') return std::nullopt;
    i = j + 1;
    if (i == text.size()) return std::nullopt;
  }
  if (parts.size() != 3) return std::nullopt;
  const std::string order = fieldOrder(locale.shortDateFormat);
  int day = 0, month = 0, year = 0;
  for (std::size_t k = 0; k < 3; ++k) {
    const int v = std::atoi(std::string(parts[k]).c_str());
    if (order[k] == 'd') day = v;
    if (order[k] == 'M') month = v;
    if (order[k] == 'y') {
      year = v;
      if (parts[k].size() <= 2) year += (v < 50) ? 2000 : 1900;
    }
  }
  return encodeDate(year, month, day);
}

std::string formatTime(DateTime value, const Locale& locale) {
  const TimeOfDay t = decodeTime(value);
  std::string out;
  if (locale.clock24) {
    appendNumber(out, t.hour, 2);
  } else {
    const int h = t.hour % 12 == 0 ? 12 : t.hour % 12;
    appendNumber(out, h, 1);
  }
  out += ':';
  appendNumber(out, t.minute, 2);
  out += ':';
  appendNumber(out, t.second, 2);
  if (!locale.clock24) {
    out += ' ';
    out += t.hour < 12 ? locale.amText : locale.pmText;
  }
  return out;
}

std::optional<DateTime> parseTime(std::string_view text, const Locale& locale) {
  text = trimBlanks(text);
  int values[3] = {0, 0, 0};
  int count = 0;
  std::size_t i = 0;
  while (i < text.size() && count < 3) {
    std::size_t j = i;
    while (j < text.size() && isDigit(text[j])) ++j;
    if (j == i || j - i > 2) return std::nullopt;
    values[count++] = std::atoi(std::string(text.substr(i, j - i)).c_str());
    i = j;
    if (i < text.size() && text[i] == ':') {
      ++i;
      continue;
    }
    break;
  }
  if (count < 2) return std::nullopt;
  std::string_view rest = trimBlanks(text.substr(i));
  int hour = values[0];
  if (!rest.empty()) {
    const auto same = [](std::string_view a, std::string_view b) {
      if (a.size() != b.size()) return false;
      for (std::size_t k = 0; k < a.size(); ++k) {
        if ((a[k] & ~0x20) != (b[k] & ~0x20)) return false;
      }
      return true;
    };
    const bool am = same(rest, locale.amText) || same(rest, "AM");
    const bool pm = same(rest, locale.pmText) || same(rest, "PM");
    if (!am && !pm) return std::nullopt;
    if (hour < 1 || hour > 12) return std::nullopt;
    if (am && hour == 12) hour = 0;
    if (pm && hour != 12) hour += 12;
  }
  if (hour > 23 || values[1] > 59 || values[2] > 59) return std::nullopt;
  return encodeTime(hour, values[1], values[2]);
}

std::string formatDateTime(DateTime value, const Locale& locale) {
  std::string out = formatDate(std::floor(value), locale);
  if (value != std::floor(value)) {
    if (!out.empty()) out += ' ';
    out += formatTime(value, locale);
  }
  return out;
}

std::string formatNumber(double value, const Locale& locale) {
  if (std::isnan(value) || std::isinf(value)) return "0";
  // to_chars ignores the C locale, which Qt sets from the environment.
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
  std::string out(buf, res.ptr);
  for (char& c : out) {
    if (c == '.') c = locale.decimalSeparator;
  }
  return out;
}

std::optional<double> parseNumber(std::string_view text, const Locale& locale) {
  text = trimBlanks(text);
  if (text.empty()) return std::nullopt;
  std::string s;
  s.reserve(text.size());
  std::size_t i = 0;
  if (text[i] == '+' || text[i] == '-') s += text[i++];
  bool digits = false;
  while (i < text.size() && isDigit(text[i])) { s += text[i++]; digits = true; }
  if (i < text.size() && text[i] == locale.decimalSeparator) {
    s += '.';
    ++i;
    while (i < text.size() && isDigit(text[i])) { s += text[i++]; digits = true; }
  }
  if (!digits) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    s += 'e';
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) s += text[i++];
    bool expDigits = false;
    while (i < text.size() && isDigit(text[i])) { s += text[i++]; expDigits = true; }
    if (!expDigits) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;
  double value = 0;
  const auto res = std::from_chars(s.data() + (s[0] == '+' ? 1 : 0), s.data() + s.size(), value);
  if (res.ec != std::errc() || res.ptr != s.data() + s.size()) return std::nullopt;
  return value;
}

}  // namespace vistrel::host
