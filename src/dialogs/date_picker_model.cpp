// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "dialogs/date_picker_model.h"

#include <algorithm>

namespace vistrel::dialogs {
namespace {

host::DateTime withTimeOf(host::DateTime day, host::DateTime original) {
  return day + (original - host::dateOnly(original));
}

}  // namespace

ScreenPoint pickerPosition(const ScreenRect& control, int width, int height, int screenWidth, int screenHeight) {
  ScreenPoint p{control.left + 1, control.bottom + 1};
  if (screenWidth < control.left + width + 1) p.x = screenWidth - width - 1;
  if (screenHeight < control.bottom + height + 1) p.y = control.top - height;
  return p;
}

host::DateTime pickerStartDate(host::DateTime start, host::DateTime now) { return start > 0 ? start : now; }

host::DateTime addMonthsTrunc(host::DateTime date, int months) {
  const host::CivilDate d = host::decodeDate(date);
  const long total = static_cast<long>(d.year) * 12 + (d.month - 1) + months;
  const int year = static_cast<int>(total / 12);
  const int month = static_cast<int>(total % 12) + 1;
  if (year < 1 || year > 9999) return date;
  const auto day = host::encodeDate(year, month, std::min(d.day, host::daysInMonth(year, month)));
  return day ? withTimeOf(*day, date) : date;
}

host::DateTime moveToMonth(host::DateTime date, int month) {
  return addMonthsTrunc(date, month - host::decodeDate(date).month);
}

std::array<int, 20> yearMenuYears(int year) {
  std::array<int, 20> years{};
  for (int i = 0; i < 20; ++i) years[static_cast<std::size_t>(i)] = year - 9 + i;
  return years;
}

host::DateTime moveToYear(host::DateTime date, int year) {
  const host::CivilDate d = host::decodeDate(date);
  auto day = host::encodeDate(year, d.month, d.day);
  if (!day) day = host::encodeDate(year, d.month, 1);
  return day ? withTimeOf(*day, date) : date;
}

host::DateTime datePlus(host::DateTime date, int n, bool weeks) {
  return weeks ? date + 7.0 * n : addMonthsTrunc(date, n);
}

}  // namespace vistrel::dialogs
