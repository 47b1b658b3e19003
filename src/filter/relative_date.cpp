// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "filter/relative_date.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "host/environment.h"
#include "host/text.h"
#include "host/utility.h"

namespace vistrel::filter {
namespace {

constexpr long long kMaxNumber = 100000000;

// A date under construction; the parts may lie outside their ranges until the
// date is used.
struct Parts {
  long long year = 0;
  long long month = 0;
  long long day = 0;

  bool monthAndYearValid() const { return year >= 1 && year <= 9999 && month >= 1 && month <= 12; }

  // Lowers a day beyond the month's end to its last day. REQUIRES: monthAndYearValid().
  void clampDay() {
    day = std::min<long long>(day, host::daysInMonth(static_cast<int>(year), static_cast<int>(month)));
  }
};

host::Status invalid(std::string_view text) {
  return host::Status::InvalidArgument("\"" + std::string(text) + "\" does not give a valid date");
}

std::vector<std::string> blankSeparatedWords(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  for (char c : text) {
    if (host::IsBlankChar(c)) {
      if (!word.empty()) words.push_back(std::move(word));
      word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty()) words.push_back(std::move(word));
  return words;
}

// Reads the digits of `word` from `i` on; saturates above kMaxNumber.
long long readDigits(std::string_view word, std::size_t& i) {
  long long n = 0;
  for (; i < word.size() && host::IsDigit(word[i]); ++i) n = std::min(n * 10 + (word[i] - '0'), kMaxNumber + 1);
  return n;
}

bool addDays(Parts& p, long long days) {
  if (!p.monthAndYearValid() || p.day < 1) return false;
  p.clampDay();
  const host::CivilDate d = host::addDays(
      {static_cast<int>(p.year), static_cast<int>(p.month), static_cast<int>(p.day)}, static_cast<long>(days));
  p = {d.year, d.month, d.day};
  return p.monthAndYearValid();
}

// Applies one offset word ("+5dy", "-1mo", ...). False when it leaves no date.
bool applyOffset(Parts& p, std::string_view word) {
  const long long sign = word[0] == '-' ? -1 : 1;
  std::size_t i = 1;
  const long long n = readDigits(word, i);
  if (n > kMaxNumber) return false;
  const char unit = i < word.size() ? host::upperAscii(word[i]) : ' ';
  if (unit == 'Y') {
    p.year += sign * n;
    return true;
  }
  if (unit == 'M') {
    const long long months = p.month - 1 + sign * n;
    const long long years = months >= 0 ? months / 12 : -((-months + 11) / 12);
    p.year += years;
    p.month = months - years * 12 + 1;
    return true;
  }
  return addDays(p, sign * n * (unit == 'W' ? 7 : 1));
}

bool allDigits(std::string_view word) {
  return !word.empty() && std::all_of(word.begin(), word.end(), host::IsDigit);
}

// The text a blank before every "+" and "-", so that "TODAY+5dy-1mo" reads
// as three words.
std::string spacedSigns(std::string_view text) {
  std::string spaced;
  for (char c : text) {
    if (c == '+' || c == '-') spaced += ' ';
    spaced += c;
  }
  return spaced;
}

bool knownUnit(std::string_view unit) {
  static constexpr std::string_view kUnits[] = {"", "D", "DY", "W", "WK", "M", "MO", "Y", "YR"};
  const std::string upper = host::upperAscii(unit);
  return std::find(std::begin(kUnits), std::end(kUnits), upper) != std::end(kUnits);
}

// A trailing "(NoYear NoDay)" note, or the part of it the text holds, is cut off.
std::string_view withoutNote(std::string_view text) {
  const std::size_t open = text.rfind('(');
  if (open == std::string_view::npos || text.find(')', open) == std::string_view::npos) return text;
  const std::string_view note = text.substr(open + 1, text.find(')', open) - open - 1);
  for (const std::string& word : blankSeparatedWords(note)) {
    if (word != "NoYear" && word != "NoDay") return text;
  }
  if (!host::IsBlank(text.substr(text.find(')', open) + 1))) return text;
  return text.substr(0, open);
}

}  // namespace

std::optional<std::string> unreadableDateWord(std::string_view text) {
  int numbers = 0;
  for (const std::string& word : blankSeparatedWords(spacedSigns(withoutNote(text)))) {
    if (host::equalsIgnoreCase(word, "TODAY")) continue;
    if (allDigits(word)) {
      if (++numbers > 3) return word;
      continue;
    }
    if (word[0] != '+' && word[0] != '-') return word;
    std::size_t i = 1;
    readDigits(word, i);
    if (i == 1 || !knownUnit(std::string_view(word).substr(i))) return word;
  }
  return std::nullopt;
}

host::StatusOr<host::DateTime> ResolveRelativeDate(std::string_view text, host::DateTime base,
                                                   const host::Locale& locale) {
  const std::string_view trimmed = host::trimWhite(text);
  if (std::none_of(trimmed.begin(), trimmed.end(), host::IsBlankChar)) {
    if (const auto date = host::parseDate(trimmed, locale)) return *date;
  }
  if (!std::isfinite(base) || std::fabs(base) > 1e7) return invalid(text);
  const std::string spaced = spacedSigns(text);
  const host::CivilDate b = host::decodeDate(base);
  Parts p{b.year, b.month, b.day};
  int count = 0;
  for (const std::string& word : blankSeparatedWords(spaced)) {
    if (host::equalsIgnoreCase(word, "TODAY")) continue;
    ++count;
    if (allDigits(word)) {
      std::size_t i = 0;
      const long long n = readDigits(word, i);
      if (count == 1) p.day = n;
      if (count == 2) p.month = n;
      if (count == 3) p.year = n;
    } else if (word[0] == '+' || word[0] == '-') {
      if (!applyOffset(p, word)) return invalid(text);
    }
  }
  if (!p.monthAndYearValid() || p.day < 1) return invalid(text);
  p.clampDay();
  return host::encodeDate(static_cast<int>(p.year), static_cast<int>(p.month), static_cast<int>(p.day)).value();
}

}  // namespace vistrel::filter
