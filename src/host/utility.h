// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "host/clock.h"
#include "host/date_time.h"
#include "host/locale.h"

// The small routines the filter engine and its dialogs share: character
// classes and text scanning for the filter parser, number conversion that
// tolerates either decimal mark, date reductions for comparisons that ignore
// the year or the day, the text that describes a date relative to today, and
// a unique identifier. They keep no state.
//
// Positions are 1-based (position 1 is the first byte of the text), as the
// scanners' callers count them; a position is a byte offset plus one. Blank
// characters are those of IsBlankChar (space, CR, LF, backspace; not tab).
namespace vistrel::host {

// A to Z and a to z only.
bool IsLetter(char c);
// 0 to 9.
bool IsDigit(char c);
// One of !~@#$%^&*()_-=+|{}][?><:;., and the double quote and the apostrophe.
bool IsPunctuation(char c);

// True when every character is a digit or the locale's thousand or decimal
// separator; the empty text is numeric, a minus sign is not.
bool IsNumeric(std::string_view text, const Locale& locale);

// True when a non-blank character occurs at 1-based `start` (1 when below 1)
// or after it.
bool HasMoreText(std::string_view text, int start);

// The text begins with `prefix` exactly (letter case counts); an empty prefix
// always matches. Note the order: the prefix comes first.
bool StartsWith(std::string_view prefix, std::string_view text);
// False when the suffix is longer than the text, else the text ends with it.
bool EndsWith(std::string_view suffix, std::string_view text);

// Reads one blank-delimited word from 1-based `position` (1 when below 1):
// blanks are skipped, then characters are taken up to a blank or the end.
// `position` is left on the blank that ended the word, or at length + 1.
std::string NextWord(std::string_view text, int& position);

// Reads one word that ends at a blank or, with `stopAtPunctuation`, also at a
// punctuation character; the ending character is not taken. Nothing is read
// when `position` lies outside 1..length. Afterwards `position` is on the
// character that ended the word, or on the last character of the text when the
// word reached the end (so a caller loops while position < length). A text
// whose next non-blank character is punctuation gives an empty word with the
// position on it; only blanks left give an empty word and position = length.
std::string NextToken(std::string_view text, int& position, bool stopAtPunctuation);

// The letters a-z, A-Z and digits of the text in their order.
std::string KeepLettersAndDigits(std::string_view text);

// The integer the text spells (optional blanks around, optional sign, decimal
// digits, within the 32-bit range), or 0 when it spells none.
int SafeStrToInt(std::string_view text);

// The number the text spells with the locale's decimal separator; failing
// that, with its first comma turned into a period (or, when it holds no comma,
// its first period turned into a comma); failing that too, 0.
double SafeStrToFloat(std::string_view text, const Locale& locale);

// For a date above 0: the same month and day in 1900, no time; 29 February
// becomes 28 February. Other values are returned unchanged.
DateTime DayIn1900(DateTime date);
// For a date above 0: the first day of its month, no time; else unchanged.
DateTime FirstOfMonth(DateTime date);

// Describes `date` as seen from `reference`: "Today", "Yesterday",
// "Tomorrow", "3 days", "This week", "Next week", "Last week", "5 wks ago",
// "7 mos", "4 yrs 2 mos ago" and so on. The words that speak of today
// ("Today", "ago", ...) are used when `reference` falls on the clock's day.
// The empty text for a date of 0 or in year 0.
std::string RelativeDateText(DateTime date, DateTime reference, const Clock& clock);
// The same with the clock's current moment as reference.
std::string RelativeDateFromToday(DateTime date, const Clock& clock);

// Returns a whole number in [0, bound).
using RandomSource = std::function<int(int bound)>;

inline constexpr int kUniqueIdRandomBound = 10000;
inline constexpr std::size_t kUniqueIdLength = 20;

// A fresh identifier: the date as yymmdd, six digits of the time of day and
// two random numbers below 10000 written with four digits each, all in
// decimal without separators: kUniqueIdLength characters.
std::string MakeUniqueId(const Clock& clock, const RandomSource& random);
// The same with the process's own random source.
std::string MakeUniqueId(const Clock& clock);

}  // namespace vistrel::host
