// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>

// Date-time values count days since 30 December 1899; the fraction is the
// time of day. Day of week counts Sunday as 1 up to Saturday as 7.
namespace vistrel::host {

using DateTime = double;

struct CivilDate {
  int year = 0;
  int month = 0;
  int day = 0;
  friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

struct TimeOfDay {
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

bool isLeapYear(int year);
int daysInMonth(int year, int month);  // 0 for a month outside 1..12
bool isValidDate(int year, int month, int day);

// The day number of a calendar date; nullopt when the date does not exist.
std::optional<DateTime> encodeDate(int year, int month, int day);
CivilDate decodeDate(DateTime value);
int dayOfWeek(DateTime value);
DateTime dateOnly(DateTime value);  // the whole day, time dropped

DateTime encodeTime(int hour, int minute, int second, int millisecond = 0);
TimeOfDay decodeTime(DateTime value);

// The date `days` days after (or before) the given calendar date.
CivilDate addDays(const CivilDate& date, long days);

}  // namespace vistrel::host
