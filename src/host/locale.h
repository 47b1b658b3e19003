// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "host/date_time.h"

namespace vistrel::host {

// The regional settings that decide how numbers, dates and times read and
// print. Logic takes one as an argument so tests can fix it; the windows build
// it from the system settings.
struct Locale {
  char decimalSeparator = '.';
  char thousandSeparator = ',';
  // Short date pattern: d, dd, M, MM, yy, yyyy and one separator character.
  std::string shortDateFormat = "M/d/yyyy";
  bool clock24 = false;  // false: "3:05:00 PM"; true: "15:05:00"
  std::string amText = "AM";
  std::string pmText = "PM";

  static Locale unitedStates() { return Locale(); }
};

// A date in the short date format ("12/25/2024"); the empty text for 0.
std::string formatDate(DateTime value, const Locale& locale);
// Reads a date written in the short date format (day, month and year in its
// order, any of / - . as separator, two-digit years taken as 19xx from 50 on
// and 20xx below). Blanks around the text are ignored.
std::optional<DateTime> parseDate(std::string_view text, const Locale& locale);

// The time of day of `value` ("3:05:00 PM", or "15:05:00" on a 24-hour clock).
std::string formatTime(DateTime value, const Locale& locale);
// Reads "h:mm", "h:mm:ss", either with AM or PM; returns the day fraction.
std::optional<DateTime> parseTime(std::string_view text, const Locale& locale);

// Date, a blank, time; the time is left out when it is midnight.
std::string formatDateTime(DateTime value, const Locale& locale);

// A decimal number with the locale's decimal separator and no thousand
// separators: at most 15 significant digits, no trailing zeros.
std::string formatNumber(double value, const Locale& locale);
// Reads a number written with the locale's decimal separator (optional sign,
// digits, optional fraction and exponent, blanks around allowed).
std::optional<double> parseNumber(std::string_view text, const Locale& locale);

}  // namespace vistrel::host
