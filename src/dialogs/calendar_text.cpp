// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "dialogs/calendar_text.h"

#include <array>
#include <string_view>

namespace vistrel::dialogs {
namespace {

constexpr std::array<std::string_view, 12> kMonths = {"January", "February", "March",     "April",
                                                      "May",     "June",     "July",      "August",
                                                      "September", "October", "November", "December"};
constexpr std::array<std::string_view, 7> kDays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                   "Thursday", "Friday", "Saturday"};

}  // namespace

std::string longMonthName(int month) {
  if (month < 1 || month > 12) return {};
  return std::string(kMonths[static_cast<std::size_t>(month - 1)]);
}

std::string shortMonthName(int month) { return longMonthName(month).substr(0, 3); }

std::string longDayName(int dayOfWeek) {
  if (dayOfWeek < 1 || dayOfWeek > 7) return {};
  return std::string(kDays[static_cast<std::size_t>(dayOfWeek - 1)]);
}

std::string shortDayName(int dayOfWeek) { return longDayName(dayOfWeek).substr(0, 3); }

std::string longDateText(host::DateTime date) {
  const host::CivilDate d = host::decodeDate(date);
  return longDayName(host::dayOfWeek(date)) + ", " + longMonthName(d.month) + " " + std::to_string(d.day) + ", " +
         std::to_string(d.year);
}

}  // namespace vistrel::dialogs
