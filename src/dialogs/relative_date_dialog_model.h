// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "host/clock.h"
#include "host/date_time.h"
#include "host/locale.h"

// What the relative date dialog reads and writes, without its window. A date
// condition is a calendar date, optionally with a "(NoYear NoDay)" note, or
// "TODAY " and signed offsets such as "TODAY +5dy -1mo ".
namespace vistrel::dialogs {

enum class SpinUnit { kDays = 0, kWeeks = 1, kMonths = 2, kYears = 3 };

struct SpinRange {
  std::string_view unit;  // "dy", "wk", "mo", "yr"
  int minimum;
  int maximum;
};
// Indexed by SpinUnit.
inline constexpr std::array<SpinRange, 4> kSpinRanges = {
    {{"dy", -365, 365}, {"wk", -52, 52}, {"mo", -48, 48}, {"yr", -95, 200}}};

// Days, weeks, months, years.
using SpinValues = std::array<int, 4>;

inline constexpr std::string_view kDisregardWarning =
    "Note: if you disregard the year or day, only the EQUALS relation will work properly. You cannot use the ON "
    "OR BEFORE or ON OR AFTER relations when disregarding years or days.";
inline constexpr std::string_view kAnyYear = "any year";

// The spinner values a relative text holds: words 2 to 5 are searched for
// each unit, the last word holding it wins; its digits make the number,
// negative when the word holds a "-". A unit in no word, or in a word without
// digits, gives 0; a number beyond the spinner's range gives the range's end.
SpinValues setAllSpinners(std::string_view text);

// "TODAY " and a group "+5dy " per non-zero value, in the order days, weeks,
// months, years.
std::string relativeText(const SpinValues& values);

// The calendar form: the date text, then " (NoYear )", " (NoDay)" or
// " (NoYear NoDay)" when a part is disregarded; cut to 80 characters.
std::string calendarText(std::string_view dateText, bool noYear, bool noDay);

// The date a relative text denotes on the clock's day, as "ddd c"
// ("Tue 12/8/2026"); empty when the text gives no valid date.
std::string computedDateText(std::string_view text, const host::Clock& clock, const host::Locale& locale);

// The three labels under the calendar date: full month name, two-digit day,
// four-digit year, with "any year" and "any day in <month>" for the
// disregarded parts. All empty when `date` is no date.
struct CalendarLabels {
  std::string month;
  std::string day;
  std::string year;
};
CalendarLabels calendarLabels(std::optional<host::DateTime> date, bool noYear, bool noDay);

// The dialog's state between opening and OK.
class RelativeDateDialogModel {
 public:
  RelativeDateDialogModel(const host::Clock& clock, const host::Locale& locale)
      : clock_(clock), locale_(locale) {}

  // Reads the condition text: a text holding "TODAY" opens in relative mode
  // with the spinners set from it and the calendar at today; any other text
  // opens in calendar mode with its first word as date and the boxes checked
  // by its "NoYear" and "NoDay" notes. A first word that is no date stays as
  // the date text; its labels are blank and the calendar opens at today.
  void open(std::string_view text);

  bool relativeMode() const { return relative_; }
  // Switching keeps the other mode's values. Switching to relative mode puts
  // "TODAY" into a blank answer.
  void setRelativeMode(bool relative);

  const std::string& dateText() const { return dateText_; }
  void setDate(host::DateTime date);
  // The date text read as a date, or nullopt.
  std::optional<host::DateTime> date() const;
  // The start date for the calendar: the date text's date, or today.
  host::DateTime calendarStart() const;
  bool noYear() const { return noYear_; }
  bool noDay() const { return noDay_; }
  void setNoYear(bool on) { noYear_ = on; }
  void setNoDay(bool on) { noDay_ = on; }
  CalendarLabels labels() const { return calendarLabels(date(), noYear_, noDay_); }

  const SpinValues& spinners() const { return spin_; }
  // Sets one spinner (brought into its range) and rebuilds the answer.
  void setSpinner(SpinUnit unit, int value);
  const std::string& answer() const { return answer_; }
  std::string computedDate() const { return computedDateText(answer_, clock_, locale_); }

  struct Result {
    std::string text;
    bool disregard = false;  // a disregard box was checked in calendar mode
  };
  // The text of the selected mode, cut to 80 characters.
  Result accept() const;

 private:
  void rebuild();

  const host::Clock& clock_;
  const host::Locale& locale_;
  bool relative_ = false;
  std::string dateText_;
  bool noYear_ = false;
  bool noDay_ = false;
  SpinValues spin_{};
  std::string answer_;
};

}  // namespace vistrel::dialogs
