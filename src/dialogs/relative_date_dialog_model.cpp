// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "dialogs/relative_date_dialog_model.h"

#include <algorithm>
#include <vector>

#include "dialogs/calendar_text.h"
#include "filter/relative_date.h"
#include "host/text.h"

namespace vistrel::dialogs {
namespace {

constexpr std::size_t kMaxResult = 80;
constexpr std::string_view kToday = "TODAY";

bool isBlank(char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\b'; }

std::vector<std::string_view> blankWords(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && isBlank(text[i])) ++i;
    const std::size_t start = i;
    while (i < text.size() && !isBlank(text[i])) ++i;
    if (i > start) words.push_back(text.substr(start, i - start));
  }
  return words;
}

int clampToRange(long long value, SpinUnit unit) {
  const SpinRange& r = kSpinRanges[static_cast<std::size_t>(unit)];
  return static_cast<int>(std::clamp<long long>(value, r.minimum, r.maximum));
}

// The digits of the word read as one number (capped well beyond every range).
long long digitsOf(std::string_view word, bool* any) {
  long long n = 0;
  *any = false;
  for (char c : word) {
    if (c < '0' || c > '9') continue;
    *any = true;
    n = std::min<long long>(n * 10 + (c - '0'), 1000000);
  }
  return n;
}

std::string cut(std::string_view text) { return std::string(host::utf8Left(text, kMaxResult)); }

}  // namespace

SpinValues setAllSpinners(std::string_view text) {
  const std::vector<std::string_view> words = blankWords(text);
  SpinValues values{};
  for (std::size_t u = 0; u < kSpinRanges.size(); ++u) {
    for (std::size_t w = 1; w <= 4 && w < words.size(); ++w) {
      if (words[w].find(kSpinRanges[u].unit) == std::string_view::npos) continue;
      bool any = false;
      long long n = digitsOf(words[w], &any);
      if (!any) n = 0;
      if (words[w].find('-') != std::string_view::npos) n = -n;
      values[u] = clampToRange(n, static_cast<SpinUnit>(u));
    }
  }
  return values;
}

std::string relativeText(const SpinValues& values) {
  std::string text = "TODAY ";
  for (std::size_t u = 0; u < values.size(); ++u) {
    if (values[u] == 0) continue;
    if (values[u] > 0) text += '+';
    text += std::to_string(values[u]);
    text += kSpinRanges[u].unit;
    text += ' ';
  }
  return text;
}

std::string calendarText(std::string_view dateText, bool noYear, bool noDay) {
  std::string marks;
  if (noYear) marks += "NoYear ";
  if (noDay) marks += "NoDay";
  if (marks.empty()) return cut(dateText);
  return cut(std::string(dateText) + " (" + marks + ")");
}

std::string computedDateText(std::string_view text, const host::Clock& clock, const host::Locale& locale) {
  const auto date = filter::ResolveRelativeDate(text, clock.now(), locale);
  if (!date.ok()) return {};
  return shortDayName(host::dayOfWeek(*date)) + " " + host::formatDateTime(*date, locale);
}

CalendarLabels calendarLabels(std::optional<host::DateTime> date, bool noYear, bool noDay) {
  if (!date) return {};
  const host::CivilDate d = host::decodeDate(*date);
  CalendarLabels labels;
  labels.month = longMonthName(d.month);
  labels.day = (d.day < 10 ? "0" : "") + std::to_string(d.day);
  labels.year = std::to_string(d.year);
  while (labels.year.size() < 4) labels.year.insert(0, "0");
  if (noYear) labels.year = std::string(kAnyYear);
  if (noDay) labels.day = "any day in " + labels.month;
  return labels;
}

void RelativeDateDialogModel::open(std::string_view text) {
  if (text.find(kToday) == std::string_view::npos) {
    std::string_view first = host::utf8Left(text, 40);
    first = first.substr(0, first.find(' '));
    relative_ = false;
    dateText_ = std::string(first);
    noYear_ = text.find("NoYear") != std::string_view::npos;
    noDay_ = text.find("NoDay") != std::string_view::npos;
    return;
  }
  relative_ = true;
  answer_ = std::string(text);
  spin_ = setAllSpinners(text);
  setDate(clock_.now());
  rebuild();
}

void RelativeDateDialogModel::setRelativeMode(bool relative) {
  relative_ = relative;
  if (relative_ && host::trimWhite(answer_).empty()) answer_ = std::string(kToday);
}

void RelativeDateDialogModel::setDate(host::DateTime date) { dateText_ = host::formatDate(host::dateOnly(date), locale_); }

std::optional<host::DateTime> RelativeDateDialogModel::date() const { return host::parseDate(dateText_, locale_); }

host::DateTime RelativeDateDialogModel::calendarStart() const {
  const auto d = date();
  return d && *d > 0 ? *d : clock_.now();
}

void RelativeDateDialogModel::setSpinner(SpinUnit unit, int value) {
  spin_[static_cast<std::size_t>(unit)] = clampToRange(value, unit);
  rebuild();
}

void RelativeDateDialogModel::rebuild() { answer_ = relativeText(spin_); }

RelativeDateDialogModel::Result RelativeDateDialogModel::accept() const {
  if (relative_) return {cut(answer_), false};
  return {calendarText(dateText_, noYear_, noDay_), noYear_ || noDay_};
}

}  // namespace vistrel::dialogs
