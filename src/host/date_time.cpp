// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/date_time.h"

#include <cmath>

namespace vistrel::host {
namespace {

// Days from 1 January 1970 to a proleptic Gregorian date (H. Hinnant's method).
long daysFromCivil(long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long>(doe) - 719468;
}

CivilDate civilFromDays(long z) {
  z += 719468;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long y = static_cast<long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

constexpr long kUnixDaysOfDay0 = -25569;  // 30 December 1899

long wholeDay(DateTime value) { return static_cast<long>(std::floor(value)); }

}  // namespace

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

bool isValidDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && day >= 1 && day <= daysInMonth(year, month);
}

std::optional<DateTime> encodeDate(int year, int month, int day) {
  if (!isValidDate(year, month, day)) return std::nullopt;
  return static_cast<DateTime>(daysFromCivil(year, static_cast<unsigned>(month),
                                             static_cast<unsigned>(day)) -
                               kUnixDaysOfDay0);
}

CivilDate decodeDate(DateTime value) { return civilFromDays(wholeDay(value) + kUnixDaysOfDay0); }

int dayOfWeek(DateTime value) {
  // Day 0 (30 December 1899) was a Saturday.
  long d = (wholeDay(value) + 6) % 7;
  if (d < 0) d += 7;
  return static_cast<int>(d) + 1;
}

DateTime dateOnly(DateTime value) { return std::floor(value); }

DateTime encodeTime(int hour, int minute, int second, int millisecond) {
  return (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond) / 86400000.0;
}

TimeOfDay decodeTime(DateTime value) {
  const double fraction = value - std::floor(value);
  long ms = std::lround(fraction * 86400000.0);
  if (ms >= 86400000) ms = 86400000 - 1;
  TimeOfDay t;
  t.millisecond = static_cast<int>(ms % 1000);
  ms /= 1000;
  t.second = static_cast<int>(ms % 60);
  ms /= 60;
  t.minute = static_cast<int>(ms % 60);
  t.hour = static_cast<int>(ms / 60);
  return t;
}

CivilDate addDays(const CivilDate& date, long days) {
  return civilFromDays(daysFromCivil(date.year, static_cast<unsigned>(date.month),
                                     static_cast<unsigned>(date.day)) +
                       days);
}

}  // namespace vistrel::host
