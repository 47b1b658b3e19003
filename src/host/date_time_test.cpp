// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/date_time.h"

#include <gtest/gtest.h>

namespace vistrel::host {
namespace {

TEST(DateTimeTest, DayNumbersCountFromTheEndOf1899) {
  EXPECT_EQ(*encodeDate(1899, 12, 30), 0);
  EXPECT_EQ(*encodeDate(1900, 1, 1), 2);
  EXPECT_EQ(*encodeDate(2024, 5, 15), 45427);
  EXPECT_EQ(*encodeDate(1899, 12, 29), -1);
  EXPECT_EQ(dayOfWeek(*encodeDate(2024, 5, 15)), 4) << "a Wednesday";
  EXPECT_EQ(dayOfWeek(*encodeDate(1899, 12, 24)), 1) << "a Sunday before day 0";
  // Leap years: by 4, not by 100, but by 400.
  EXPECT_TRUE(encodeDate(2024, 2, 29) && encodeDate(2000, 2, 29));
  EXPECT_FALSE(encodeDate(2023, 2, 29) || encodeDate(1900, 2, 29) || encodeDate(2024, 4, 31));
  EXPECT_FALSE(encodeDate(0, 1, 1) || encodeDate(10000, 1, 1) || encodeDate(2024, 0, 1) || encodeDate(2024, 1, 0));
}

TEST(DateTimeTest, EveryDayOfFourCenturiesComesBackAsItWent) {
  CivilDate expected{1800, 1, 1};
  const long first = static_cast<long>(*encodeDate(1800, 1, 1));
  const long last = static_cast<long>(*encodeDate(2200, 12, 31));
  for (long day = first; day <= last; ++day) {
    const CivilDate d = decodeDate(static_cast<DateTime>(day) + 0.75);
    ASSERT_EQ(d, expected) << day;
    ASSERT_EQ(*encodeDate(d.year, d.month, d.day), day);
    expected = addDays(expected, 1);
  }
}

TEST(DateTimeTest, TimesRoundToTheMillisecondAndStayInTheDay) {
  const TimeOfDay t = decodeTime(45427 + encodeTime(23, 59, 59, 999));
  EXPECT_EQ(t.hour * 3600000 + t.minute * 60000 + t.second * 1000 + t.millisecond, 86399999);
  const TimeOfDay almost = decodeTime(45427.99999999999);
  EXPECT_EQ(almost.hour, 23) << "never the next day's midnight";
  EXPECT_EQ(decodeTime(encodeTime(15, 5, 9)).second, 9);
  EXPECT_EQ(dateOnly(45427.9), 45427);
  EXPECT_EQ(addDays({2024, 12, 31}, 1), (CivilDate{2025, 1, 1}));
  EXPECT_EQ(addDays({2024, 3, 1}, -1), (CivilDate{2024, 2, 29}));
}

}  // namespace
}  // namespace vistrel::host
