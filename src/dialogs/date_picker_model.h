// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>

#include "host/date_time.h"

// The arithmetic of the pop-up calendar: where it opens and how its quick
// moves change the date. Dates keep their time of day.
namespace vistrel::dialogs {

struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;   // one past the last column
  int bottom = 0;  // one past the last row
};
struct ScreenPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// The top-left corner of a pop-up of the given size dropping from `control`
// (screen coordinates): one pixel right of and below the control; flush with
// the screen's right edge less one pixel when it would pass it, and above the
// control when it would pass the screen's bottom.
ScreenPoint pickerPosition(const ScreenRect& control, int width, int height, int screenWidth, int screenHeight);

// The date the calendar opens at: `start` when above 0, else `now`.
host::DateTime pickerStartDate(host::DateTime start, host::DateTime now);

// `months` months on (or back); a day past the end of the target month
// becomes its last day. A year that leaves 1 to 9999 leaves the date alone.
host::DateTime addMonthsTrunc(host::DateTime date, int months);

// The same day in month `month` (1 to 12) of the date's year, cut as above.
host::DateTime moveToMonth(host::DateTime date, int month);

// The twenty years of the year menu, y - 9 to y + 10; the tenth is y.
std::array<int, 20> yearMenuYears(int year);

// The same month and day in `year`; the first of that month when the day does
// not exist there (29 February).
host::DateTime moveToYear(host::DateTime date, int year);

// "Date plus": n weeks, or n months cut as above.
host::DateTime datePlus(host::DateTime date, int n, bool weeks);

}  // namespace vistrel::dialogs
