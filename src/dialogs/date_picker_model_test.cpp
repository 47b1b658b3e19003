// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "dialogs/date_picker_model.h"

#include <gtest/gtest.h>

#include "dialogs/calendar_text.h"

namespace vistrel::dialogs {
namespace {

host::DateTime day(int y, int m, int d) { return *host::encodeDate(y, m, d); }

TEST(DatePickerModelTest, Placement) {
  struct Row {
    const char* name;
    ScreenRect control;
    ScreenPoint expected;
  };
  // A 200 x 150 pop-up on a 1024 x 768 screen.
  const Row rows[] = {
      {"below, one pixel in", {100, 100, 180, 120}, {101, 121}},
      {"near the bottom: above", {100, 600, 180, 620}, {101, 450}},
      {"bottom fits exactly", {100, 597, 180, 617}, {101, 618}},
      {"near the right edge: flush less one", {900, 100, 980, 120}, {823, 121}},
      {"both", {900, 700, 980, 720}, {823, 550}},
  };
  for (const Row& row : rows) EXPECT_EQ(pickerPosition(row.control, 200, 150, 1024, 768), row.expected) << row.name;
}

TEST(DatePickerModelTest, Moves) {
  struct Row {
    const char* name;
    host::DateTime got;
    host::DateTime expected;
  };
  const Row rows[] = {
      {"31 January plus a month", addMonthsTrunc(day(2001, 1, 31), 1), day(2001, 2, 28)},
      {"leap February", addMonthsTrunc(day(2000, 1, 31), 1), day(2000, 2, 29)},
      {"back over a year end", addMonthsTrunc(day(2000, 1, 15), -2), day(1999, 11, 15)},
      {"month list", moveToMonth(day(2000, 3, 31), 4), day(2000, 4, 30)},
      {"29 February into 2001", moveToYear(day(2000, 2, 29), 2001), day(2001, 2, 1)},
      {"29 February into 2004", moveToYear(day(2000, 2, 29), 2004), day(2004, 2, 29)},
      {"weeks", datePlus(day(2000, 12, 30), 2, true), day(2001, 1, 13)},
      {"months", datePlus(day(2000, 8, 31), 6, false), day(2001, 2, 28)},
      {"time of day kept", addMonthsTrunc(day(2000, 1, 1) + 0.25, 1), day(2000, 2, 1) + 0.25},
      {"start 0 opens now", pickerStartDate(0, 5.5), 5.5},
      {"start below 0 opens now", pickerStartDate(-3, 5.5), 5.5},
  };
  for (const Row& row : rows) EXPECT_EQ(row.got, row.expected) << row.name;
  EXPECT_EQ(yearMenuYears(2000)[0], 1991);
  EXPECT_EQ(yearMenuYears(2000)[9], 2000);
  EXPECT_EQ(yearMenuYears(2000)[19], 2010);
  EXPECT_EQ(longDateText(day(2026, 12, 8)), "Tuesday, December 8, 2026");
}

}  // namespace
}  // namespace vistrel::dialogs
