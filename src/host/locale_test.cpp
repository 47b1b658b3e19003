// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/locale.h"

#include <gtest/gtest.h>

#include "host/date_time.h"

namespace vistrel::host {
namespace {

Locale german() {
  Locale l;
  l.decimalSeparator = ',';
  l.thousandSeparator = '.';
  l.shortDateFormat = "dd.MM.yyyy";
  l.clock24 = true;
  return l;
}

// Each row: a text, the locale it is read in, and the date it gives as
// year, month, day (year 0: refused).
TEST(LocaleTest, DatesReadInTheLocalesOrder) {
  const Locale us = Locale::unitedStates();
  const Locale de = german();
  Locale iso;
  iso.shortDateFormat = "yyyy-MM-dd";
  const struct {
    const char* name;
    const char* text;
    const Locale* locale;
    int year, month, day;
  } rows[] = {
      {"US order", "12/25/2024", &us, 2024, 12, 25},
      {"any separator, blanks around", "  2-29-2024 ", &us, 2024, 2, 29},
      {"German order", "25.12.2024", &de, 2024, 12, 25},
      {"year first", "2024-12-25", &iso, 2024, 12, 25},
      {"two digits below 50: 20xx", "1/2/49", &us, 2049, 1, 2},
      {"two digits from 50: 19xx", "1/2/50", &us, 1950, 1, 2},
      {"no such day", "2/29/2023", &us, 0, 0, 0},
      {"month 13", "13/1/2024", &us, 0, 0, 0},
      {"German text in US order", "25.12.2024", &us, 0, 0, 0},
      {"two parts", "12/25", &us, 0, 0, 0},
      {"four parts", "1/2/3/4", &us, 0, 0, 0},
      {"trailing separator", "1/2/2024/", &us, 0, 0, 0},
      {"five-digit year", "1/2/20245", &us, 0, 0, 0},
      {"letters", "Jan/2/2024", &us, 0, 0, 0},
      {"empty", "", &us, 0, 0, 0},
  };
  for (const auto& r : rows) {
    const auto d = parseDate(r.text, *r.locale);
    if (r.year == 0) {
      EXPECT_FALSE(d.has_value()) << r.name;
      continue;
    }
    ASSERT_TRUE(d.has_value()) << r.name;
    EXPECT_EQ(decodeDate(*d), (CivilDate{r.year, r.month, r.day})) << r.name;
    EXPECT_EQ(parseDate(formatDate(*d, *r.locale), *r.locale), d) << r.name << ": reads back as printed";
  }
}

TEST(LocaleTest, TimesReadOnBothClocks) {
  const Locale us = Locale::unitedStates();
  const struct {
    const char* text;
    int hour, minute, second;  // hour -1: refused
  } rows[] = {
      {"3:05 PM", 15, 5, 0},  {"3:05:09 pm", 15, 5, 9}, {"12:00 AM", 0, 0, 0}, {"12:30 PM", 12, 30, 0},
      {"15:05", 15, 5, 0},    {"7:5", 7, 5, 0},         {"13:00 PM", -1, 0, 0}, {"0:30 AM", -1, 0, 0},
      {"24:00", -1, 0, 0},    {"10:60", -1, 0, 0},      {"10", -1, 0, 0},       {"10:00 XM", -1, 0, 0},
      {"100:00", -1, 0, 0},
  };
  for (const auto& r : rows) {
    const auto t = parseTime(r.text, us);
    if (r.hour < 0) {
      EXPECT_FALSE(t.has_value()) << r.text;
      continue;
    }
    ASSERT_TRUE(t.has_value()) << r.text;
    EXPECT_EQ(*t, encodeTime(r.hour, r.minute, r.second)) << r.text;
  }
  EXPECT_EQ(formatTime(encodeTime(0, 5, 0), us), "12:05:00 AM");
  EXPECT_EQ(formatTime(encodeTime(15, 5, 9), german()), "15:05:09");
}

TEST(LocaleTest, NumbersReadWithTheLocalesDecimalMark) {
  const Locale us = Locale::unitedStates();
  const Locale de = german();
  const struct {
    const char* text;
    const Locale* locale;
    double value;
    bool ok;
  } rows[] = {
      {"1234.5", &us, 1234.5, true}, {"1234,5", &de, 1234.5, true},  {" -0.25 ", &us, -0.25, true},
      {"+7", &us, 7, true},          {"1e3", &us, 1000, true},         {"2,5E-1", &de, 0.25, true},
      {"5.", &us, 5, true},          {"1234,5", &us, 0, false},        {"1.234,5", &de, 0, false},
      {"1e", &us, 0, false},         {"-", &us, 0, false},             {"", &us, 0, false},
      {"12abc", &us, 0, false},      {"1,234.5", &us, 0, false},
  };
  for (const auto& r : rows) {
    const auto v = parseNumber(r.text, *r.locale);
    EXPECT_EQ(v.has_value(), r.ok) << r.text;
    if (v && r.ok) EXPECT_DOUBLE_EQ(*v, r.value) << r.text;
  }
  EXPECT_EQ(formatNumber(1234.5, de), "1234,5");
  EXPECT_EQ(formatNumber(0.1 + 0.2, us), "0.3") << "fifteen significant digits";
}

}  // namespace
}  // namespace vistrel::host
