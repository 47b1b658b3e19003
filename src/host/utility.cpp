// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/utility.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <random>

#include "host/environment.h"

namespace vistrel::host {
namespace {

constexpr std::string_view kPunctuation = "!~@#$%^&*()_-=+|{}][?><:;.,\"'";

// The range of day numbers that hold a date of the years 1 to 9999.
constexpr double kFirstDay = -693593;  // 1 January 0001
constexpr double kLastDay = 2958465;   // 31 December 9999

bool holdsDate(DateTime value) { return value >= kFirstDay && value < kLastDay + 1; }

long wholeDay(DateTime value) { return static_cast<long>(std::floor(value)); }

std::string format(const char* pattern, long value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, pattern, value);
  return buf;
}

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && IsBlankChar(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlankChar(s.back())) s.remove_suffix(1);
  return s;
}

// Years and months after the first whole years: "Y yrs" and "M mos" parts.
void splitYears(long years, long months, long& y, long& m) {
  y = years - 1;
  m = months - 12 * y;
  if (m >= 12) {
    y += m / 12;
    m %= 12;
  }
}

std::string laterText(long days, const CivilDate& date, const CivilDate& ref, int refDayOfWeek) {
  const long weeks = (days + refDayOfWeek - 1) / 7;
  const long months = (date.year * 12L + date.month) - (ref.year * 12L + ref.month);
  const long years = date.year - ref.year;
  if (days <= 7 - refDayOfWeek) return "This week";
  if (weeks < 2) return "Next week";
  if (months < 3) return format("%ld wks", weeks);
  if (years <= 2) return format("%ld mos", months);
  long y = 0, m = 0;
  splitYears(years, months, y, m);
  std::string text = format("%ld yrs", y);
  if (m > 0) text += " " + format("%ld mos", m);
  return text;
}

std::string earlierText(long days, const CivilDate& date, const CivilDate& ref, int dateDayOfWeek,
                        bool today) {
  const long weeks = (days + dateDayOfWeek - 1) / 7;
  const long months = (ref.year * 12L + ref.month) - (date.year * 12L + date.month);
  const long years = ref.year - date.year;
  if (weeks == 0) return "This week";
  if (weeks == 1) return "Last week";
  if (months < 3) return format(today ? "%ld wks ago" : "%ld wks", weeks);
  if (years <= 2) return format(today ? "%ld mos ago" : "%ld mos", months);
  long y = 0, m = 0;
  splitYears(years, months, y, m);
  std::string text = format("%ld yrs ", y);
  if (m > 0) text += format("%ld mos ", m);
  if (today) text += "ago";
  return text;
}

}  // namespace

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsPunctuation(char c) { return c != '\0' && kPunctuation.find(c) != std::string_view::npos; }

bool IsNumeric(std::string_view text, const Locale& locale) {
  for (char c : text) {
    if (!IsDigit(c) && c != locale.thousandSeparator && c != locale.decimalSeparator) return false;
  }
  return true;
}

bool HasMoreText(std::string_view text, int start) {
  const std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
  for (std::size_t i = from; i < text.size(); ++i) {
    if (!IsBlankChar(text[i])) return true;
  }
  return false;
}

bool StartsWith(std::string_view prefix, std::string_view text) {
  return text.substr(0, prefix.size()) == prefix;
}

bool EndsWith(std::string_view suffix, std::string_view text) {
  return suffix.size() <= text.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::string NextWord(std::string_view text, int& position) {
  if (position < 1) position = 1;
  const auto length = static_cast<long>(std::min<std::size_t>(text.size(), INT_MAX - 1));
  long i = position;
  while (i <= length && IsBlankChar(text[static_cast<std::size_t>(i - 1)])) ++i;
  std::string word;
  while (i <= length && !IsBlankChar(text[static_cast<std::size_t>(i - 1)])) {
    word += text[static_cast<std::size_t>(i - 1)];
    ++i;
  }
  position = static_cast<int>(std::min(i, length + 1));
  return word;
}

std::string NextToken(std::string_view text, int& position, bool stopAtPunctuation) {
  std::string word;
  const auto length = static_cast<long>(std::min<std::size_t>(text.size(), INT_MAX));
  if (position < 1 || position > length) return word;
  long i = position;
  while (i <= length && IsBlankChar(text[static_cast<std::size_t>(i - 1)])) ++i;
  position = static_cast<int>(length);
  for (; i <= length; ++i) {
    const char c = text[static_cast<std::size_t>(i - 1)];
    if (IsBlankChar(c) || (stopAtPunctuation && IsPunctuation(c))) {
      position = static_cast<int>(i);
      break;
    }
    word += c;
  }
  return word;
}

std::string KeepLettersAndDigits(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (IsLetter(c) || IsDigit(c)) out += c;
  }
  return out;
}

int SafeStrToInt(std::string_view text) {
  text = trimBlanks(text);
  const bool negative = !text.empty() && text.front() == '-';
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
  if (text.empty() || !IsDigit(text.front())) return 0;
  long long value = 0;
  const auto res = std::from_chars(text.data(), text.data() + text.size(), value);
  if (res.ec != std::errc() || res.ptr != text.data() + text.size()) return 0;
  if (negative) value = -value;
  if (value < INT_MIN || value > INT_MAX) return 0;
  return static_cast<int>(value);
}

double SafeStrToFloat(std::string_view text, const Locale& locale) {
  if (const auto v = parseNumber(text, locale)) return *v;
  std::string swapped(text);
  if (const auto comma = swapped.find(','); comma != std::string::npos) {
    swapped[comma] = '.';
  } else if (const auto period = swapped.find('.'); period != std::string::npos) {
    swapped[period] = ',';
  } else {
    return 0;
  }
  return parseNumber(swapped, locale).value_or(0);
}

DateTime DayIn1900(DateTime date) {
  if (!(date > 0) || !holdsDate(date)) return date;
  const CivilDate d = decodeDate(date);
  const int day = (d.month == 2 && d.day == 29) ? 28 : d.day;
  return encodeDate(1900, d.month, day).value_or(date);
}

DateTime FirstOfMonth(DateTime date) {
  if (!(date > 0) || !holdsDate(date)) return date;
  return std::floor(date) - (decodeDate(date).day - 1);
}

std::string RelativeDateText(DateTime date, DateTime reference, const Clock& clock) {
  if (date == 0 || !holdsDate(date) || !holdsDate(reference)) return std::string();
  const long dayOfDate = wholeDay(date);
  const long dayOfReference = wholeDay(reference);
  const long days = std::labs(dayOfDate - dayOfReference);
  const bool later = dayOfDate > dayOfReference;
  const DateTime now = clock.now();
  const bool today = holdsDate(now) && dayOfReference == wholeDay(now);
  if (today) {
    if (days == 0) return "Today";
    if (days == 1) return later ? "Tomorrow" : "Yesterday";
  } else if (days < 15) {
    return format(days > 1 ? "%ld days" : "%ld day", days);
  }
  const CivilDate d = decodeDate(date);
  const CivilDate r = decodeDate(reference);
  if (later) return laterText(days, d, r, dayOfWeek(reference));
  return earlierText(days, d, r, dayOfWeek(date), today);
}

std::string RelativeDateFromToday(DateTime date, const Clock& clock) {
  return RelativeDateText(date, clock.now(), clock);
}

std::string MakeUniqueId(const Clock& clock, const RandomSource& random) {
  const DateTime now = clock.now();
  std::string id;
  if (holdsDate(now)) {
    const CivilDate d = decodeDate(now);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d%02d%02d", d.year % 100, d.month, d.day);
    id = buf;
  }
  // The time of day as "%0.7f" would print it ("0.5123456"), first three
  // characters dropped.
  const double fraction = std::fabs(now - std::floor(now));
  const long scaled = std::lround(fraction * 1e7);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%ld.%07ld", scaled / 10000000, scaled % 10000000);
  id += std::string_view(buf).substr(3);
  // Two random numbers of four digits each, zeros in front: every id has
  // the same length, so no two ways of joining the numbers read alike, and
  // it fits the 20 characters of a record number.
  for (int i = 0; i < 2; ++i) {
    std::snprintf(buf, sizeof buf, "%04d", random(kUniqueIdRandomBound));
    id += buf;
  }
  return id;
}

std::string MakeUniqueId(const Clock& clock) {
  static std::mt19937 engine{std::random_device{}()};
  return MakeUniqueId(clock, [](int bound) {
    return std::uniform_int_distribution<int>(0, bound - 1)(engine);
  });
}

}  // namespace vistrel::host
