// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "filter/relative_date.h"

#include <gtest/gtest.h>

namespace vistrel::filter {
namespace {

using host::CivilDate;

host::DateTime day(int y, int m, int d) { return host::encodeDate(y, m, d).value(); }

struct ResolveCase {
  const char* name;
  const char* text;
  CivilDate base;
  CivilDate expected;  // year 0: the text must fail
};

TEST(RelativeDateTest, ResolvesTodayWithOffsetsAndParts) {
  const CivilDate wed{2024, 5, 15};
  const ResolveCase cases[] = {
      {"today alone", "TODAY", wed, wed},
      {"yesterday", "TODAY -1dy", wed, {2024, 5, 14}},
      {"a week on", "TODAY +1wk", wed, {2024, 5, 22}},
      {"lower case and capital unit", "today -1DY", wed, {2024, 5, 14}},
      {"no unit means days", "TODAY +5", wed, {2024, 5, 20}},
      {"signs without blanks", "TODAY+5dy-1mo", wed, {2024, 4, 20}},
      {"dialog text with trailing blank", "TODAY +5dy -1mo ", wed, {2024, 4, 20}},
      {"year and weeks", "TODAY +1yr -2wk", wed, {2025, 5, 1}},
      {"notes are ignored", "TODAY +7 (NoYear NoDay)", wed, {2024, 5, 22}},
      {"month end in a leap year", "TODAY +1mo", {2024, 1, 31}, {2024, 2, 29}},
      {"month end in a common year", "TODAY +1mo", {2023, 1, 31}, {2023, 2, 28}},
      {"months across the year turn", "TODAY +3mo", {2023, 11, 15}, {2024, 2, 15}},
      {"months back across the year turn", "TODAY -3mo", {2024, 2, 15}, {2023, 11, 15}},
      {"thirteen months", "TODAY +13mo", {2023, 12, 15}, {2025, 1, 15}},
      {"twenty-five months back", "TODAY -25mo", {2024, 1, 15}, {2021, 12, 15}},
      {"day into the new year", "TODAY +1dy", {2024, 12, 31}, {2025, 1, 1}},
      {"day into the old year", "TODAY -1dy", {2024, 1, 1}, {2023, 12, 31}},
      {"leap day a year on", "TODAY +1yr", {2024, 2, 29}, {2025, 2, 28}},
      {"day after a month end", "TODAY +1mo +1dy", {2024, 1, 31}, {2024, 3, 1}},
      {"week after a month end", "TODAY +1mo +1wk", {2023, 1, 31}, {2023, 3, 7}},
      {"day set", "TODAY 1", wed, {2024, 5, 1}},
      {"day and month set", "TODAY 1 7", wed, {2024, 7, 1}},
      {"day, month and year set", "TODAY 1 7 2001", wed, {2001, 7, 1}},
      {"parts without TODAY", "1 7 2001", wed, {2001, 7, 1}},
      {"a one-character rest", "5", wed, {2024, 5, 5}},
      {"offsets count as places", "TODAY +1mo 15", wed, {0, 0, 0}},
      {"day beyond the month", "TODAY 31", {2024, 2, 15}, {2024, 2, 29}},
      {"day beyond a set month", "TODAY 31 4", wed, {2024, 4, 30}},
      {"a later month offset mends the month", "TODAY 1 13 -1mo", wed, {2024, 12, 1}},
      {"calendar date", "12/25/1998", wed, {1998, 12, 25}},
      {"calendar date with blanks around", " 12/25/1998 ", wed, {1998, 12, 25}},
      {"month 13", "TODAY 1 13", wed, {0, 0, 0}},
      {"day 0", "TODAY 0", wed, {0, 0, 0}},
      {"year 0", "TODAY 1 1 0", wed, {0, 0, 0}},
      {"day offset on month 13", "TODAY 1 13 +1dy", wed, {0, 0, 0}},
      {"huge offset", "TODAY +99999999999yr", wed, {0, 0, 0}},
      {"huge day offset", "TODAY -99999999dy", wed, {0, 0, 0}},
      {"past year 9999", "TODAY +9000yr", wed, {0, 0, 0}},
  };
  const host::Locale us;
  for (const ResolveCase& c : cases) {
    const auto base = day(c.base.year, c.base.month, c.base.day) + 0.7;
    const auto result = ResolveRelativeDate(c.text, base, us);
    if (c.expected.year == 0) {
      EXPECT_FALSE(result.ok()) << c.name;
      continue;
    }
    ASSERT_TRUE(result.ok()) << c.name << ": " << result.status().ToString();
    EXPECT_EQ(host::decodeDate(*result), c.expected) << c.name;
    EXPECT_EQ(*result, host::dateOnly(*result)) << c.name << ": no time of day";
  }
}

TEST(RelativeDateTest, CalendarDatesFollowTheLocale) {
  host::Locale german;
  german.shortDateFormat = "dd.MM.yyyy";
  const auto result = ResolveRelativeDate("25.12.1998", day(2024, 5, 15), german);
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(*result, day(1998, 12, 25));
  EXPECT_FALSE(ResolveRelativeDate("TODAY 1 1 0", day(2024, 5, 15), german).ok());
}

}  // namespace
}  // namespace vistrel::filter
