// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/utility.h"

#include <gtest/gtest.h>

namespace vistrel::host {
namespace {

DateTime day(int y, int m, int d) { return encodeDate(y, m, d).value(); }

Locale german() {
  Locale l;
  l.decimalSeparator = ',';
  l.thousandSeparator = '.';
  l.shortDateFormat = "dd.MM.yyyy";
  return l;
}

TEST(UtilityTest, CharacterClassesAndPrefixes) {
  EXPECT_TRUE(IsPunctuation('"') && IsPunctuation('\'') && IsPunctuation('|'));
  EXPECT_FALSE(IsPunctuation('\\') || IsPunctuation(' ') || IsPunctuation('\0'));
  EXPECT_FALSE(IsLetter('\xC3')) << "first byte of a UTF-8 letter";
  EXPECT_TRUE(IsNumeric("", Locale()));
  EXPECT_FALSE(IsNumeric("-5", Locale()));
  EXPECT_TRUE(IsNumeric("1.000,5", german()));
  EXPECT_EQ(KeepLettersAndDigits("(555) 123-4567 x Zürich"), "5551234567xZrich");
  EXPECT_TRUE(StartsWith("ab", "abc")) << "the prefix comes first";
  EXPECT_FALSE(StartsWith("AB", "abc"));
  EXPECT_FALSE(EndsWith("xabcd", "abcd"));
}

TEST(UtilityTest, HasMoreTextLooksFromStartOn) {
  EXPECT_TRUE(HasMoreText("go a", 3)) << "from the blank before a one-letter word";
  EXPECT_FALSE(HasMoreText("go \r\n\b", 3));
  EXPECT_TRUE(HasMoreText("go\t", 3)) << "tab is not blank";
  EXPECT_TRUE(HasMoreText("x", -5));
  EXPECT_FALSE(HasMoreText("", 1));
  EXPECT_FALSE(HasMoreText("abc", 9));
}

struct ScanCase {
  const char* name;
  const char* text;
  int position;
  bool stopAtPunctuation;
  const char* word;
  int after;
};

TEST(UtilityTest, NextTokenWordsAndPositions) {
  const ScanCase cases[] = {
      {"first word", "TODAY +5dy", 1, false, "TODAY", 6},
      {"last word ends on last char", "TODAY +5dy", 6, false, "+5dy", 10},
      {"leading blanks", "  abc", 1, false, "abc", 5},
      {"stops at punctuation", "abc,def", 1, true, "abc", 4},
      {"keeps punctuation", "abc,def", 1, false, "abc,def", 7},
      {"punctuation first", " ,abc", 1, true, "", 2},
      {"blanks only", "   ", 1, false, "", 3},
      {"position below 1", "abc", 0, false, "", 0},
      {"position beyond", "abc", 4, false, "", 4},
      {"tab is part of a word", "a\tb c", 1, false, "a\tb", 4},
  };
  for (const ScanCase& c : cases) {
    int position = c.position;
    EXPECT_EQ(NextToken(c.text, position, c.stopAtPunctuation), c.word) << c.name;
    EXPECT_EQ(position, c.after) << c.name;
  }
}

TEST(UtilityTest, NextWordWordsAndPositions) {
  const ScanCase cases[] = {
      {"first word", "  one two", 1, false, "one", 6},
      {"second word", "  one two", 6, false, "two", 10},
      {"position below 1", "one", -3, false, "one", 4},
      {"nothing left", "one ", 4, false, "", 5},
      {"beyond the end", "one", 9, false, "", 4},
  };
  for (const ScanCase& c : cases) {
    int position = c.position;
    EXPECT_EQ(NextWord(c.text, position), c.word) << c.name;
    EXPECT_EQ(position, c.after) << c.name;
  }
}

TEST(UtilityTest, SafeNumberConversions) {
  const struct {
    const char* text;
    int value;
  } ints[] = {{"5", 5},   {" 12 ", 12}, {"-3", -3},         {"+7", 7},  {"abc", 0}, {"", 0},
              {"1.5", 0}, {"+-5", 0},   {"2147483648", 0}, {"-2147483648", -2147483647 - 1}};
  for (const auto& c : ints) EXPECT_EQ(SafeStrToInt(c.text), c.value) << c.text;

  const struct {
    const char* name;
    const char* text;
    bool germanLocale;
    double value;
  } floats[] = {
      {"comma under a period locale", "3,5", false, 3.5},
      {"period under a comma locale", "3.5", true, 3.5},
      {"plain", "-2.25", false, -2.25},
      {"letters", "abc", false, 0},
      {"thousands are not read", "1,234.5", false, 0},
      {"empty", "", false, 0},
  };
  for (const auto& c : floats) {
    EXPECT_DOUBLE_EQ(SafeStrToFloat(c.text, c.germanLocale ? german() : Locale()), c.value) << c.name;
  }
}

TEST(UtilityTest, DateReductions) {
  EXPECT_EQ(DayIn1900(day(2024, 2, 29)), day(1900, 2, 28));
  EXPECT_EQ(DayIn1900(day(1985, 7, 15) + 0.6), day(1900, 7, 15));
  EXPECT_EQ(DayIn1900(0), 0);
  EXPECT_EQ(DayIn1900(-5.5), -5.5);
  EXPECT_EQ(FirstOfMonth(day(2024, 3, 17) + 0.25), day(2024, 3, 1));
  EXPECT_EQ(FirstOfMonth(day(1900, 12, 31)), day(1900, 12, 1));
  EXPECT_EQ(FirstOfMonth(0), 0);
}

struct RelativeCase {
  const char* name;
  DateTime date;
  DateTime reference;
  const char* text;
};

TEST(UtilityTest, RelativeDateTextFromToday) {
  const FixedClock clock(day(2024, 5, 15) + 0.75);  // a Wednesday evening
  ASSERT_EQ(dayOfWeek(clock.now()), 4);
  const DateTime now = clock.now();
  const RelativeCase cases[] = {
      {"same day", day(2024, 5, 15) + 0.1, now, "Today"},
      {"day before", day(2024, 5, 14), now, "Yesterday"},
      {"day after", day(2024, 5, 16), now, "Tomorrow"},
      {"Monday before", day(2024, 5, 13), now, "This week"},
      {"Sunday before", day(2024, 5, 12), now, "This week"},
      {"Saturday before", day(2024, 5, 11), now, "Last week"},
      {"Saturday after", day(2024, 5, 18), now, "This week"},
      {"Sunday after", day(2024, 5, 19), now, "Next week"},
      {"Sunday after that", day(2024, 5, 26), now, "2 wks"},
      {"two Saturdays before", day(2024, 5, 4), now, "2 wks ago"},
      {"weeks ago", day(2024, 4, 20), now, "4 wks ago"},
      {"months ago", day(2024, 1, 10), now, "4 mos ago"},
      {"months ahead", day(2025, 12, 15), now, "19 mos"},
      {"years and months ago", day(2020, 3, 1), now, "4 yrs 2 mos ago"},
      {"years and months ahead", day(2028, 1, 1), now, "3 yrs 8 mos"},
      {"whole years ahead", day(2027, 5, 15), now, "3 yrs"},
      {"empty date", 0, now, ""},
  };
  for (const RelativeCase& c : cases) {
    EXPECT_EQ(RelativeDateText(c.date, c.reference, clock), c.text) << c.name;
  }
  EXPECT_EQ(RelativeDateFromToday(day(2024, 5, 19), clock), "Next week");
}

TEST(UtilityTest, RelativeDateTextAcrossTheYearTurn) {
  const FixedClock clock(day(2024, 12, 30));  // a Monday
  const RelativeCase cases[] = {
      {"Thursday after", day(2025, 1, 2), clock.now(), "This week"},
      {"Sunday after", day(2025, 1, 5), clock.now(), "Next week"},
      {"Saturday before", day(2024, 12, 28), clock.now(), "Last week"},
      {"Sunday before", day(2024, 12, 29), clock.now(), "Yesterday"},
  };
  for (const RelativeCase& c : cases) {
    EXPECT_EQ(RelativeDateText(c.date, c.reference, clock), c.text) << c.name;
  }
}

TEST(UtilityTest, RelativeDateTextFromAnotherDay) {
  const FixedClock clock(day(2024, 5, 15));
  const DateTime reference = day(2024, 1, 1);  // a Monday, not today
  const RelativeCase cases[] = {
      {"same day", day(2024, 1, 1), reference, "0 day"},
      {"one day", day(2024, 1, 2), reference, "1 day"},
      {"one day before", day(2023, 12, 31), reference, "1 day"},
      {"fourteen days", day(2024, 1, 15), reference, "14 days"},
      {"fifteen days", day(2024, 1, 16), reference, "2 wks"},
      {"weeks before, no ago", day(2023, 12, 2), reference, "5 wks"},
      {"years before, no ago", day(2019, 10, 1), reference, "4 yrs 3 mos "},
  };
  for (const RelativeCase& c : cases) {
    EXPECT_EQ(RelativeDateText(c.date, c.reference, clock), c.text) << c.name;
  }
}

TEST(UtilityTest, UniqueIdFromDateTimeAndRandomNumbers) {
  FixedClock clock(day(2024, 5, 15) + 0.1234567);
  std::vector<int> bounds;
  int next = 41;
  const RandomSource random = [&](int bound) {
    bounds.push_back(bound);
    return next++ == 41 ? 41 : 9999;
  };
  EXPECT_EQ(MakeUniqueId(clock, random), "240515" "234567" "0041" "9999");
  EXPECT_EQ(bounds, (std::vector<int>{10000, 10000}));
  clock.set(day(2009, 1, 2) + 0.5);
  EXPECT_EQ(MakeUniqueId(clock, [](int) { return 0; }), "090102" "000000" "0000" "0000");
  // The largest numbers and the last moment of a day still fit a record
  // number; "1" + "23" and "12" + "3" no longer read alike.
  clock.set(day(2099, 12, 31) + 0.99999999);
  EXPECT_EQ(MakeUniqueId(clock, [](int bound) { return bound - 1; }).size(), kUniqueIdLength);
  int turn = 0;
  const RandomSource oneThenTwentyThree = [&](int) { return turn++ == 0 ? 1 : 23; };
  turn = 0;
  const std::string a = MakeUniqueId(clock, oneThenTwentyThree);
  const RandomSource twelveThenThree = [&](int) { return turn++ == 0 ? 12 : 3; };
  turn = 0;
  EXPECT_NE(a, MakeUniqueId(clock, twelveThenThree));
  EXPECT_NE(MakeUniqueId(clock), MakeUniqueId(clock));
}

}  // namespace
}  // namespace vistrel::host
