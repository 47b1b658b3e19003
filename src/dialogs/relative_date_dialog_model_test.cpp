// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "dialogs/relative_date_dialog_model.h"

#include <gtest/gtest.h>

namespace vistrel::dialogs {
namespace {

host::DateTime day(int y, int m, int d) { return *host::encodeDate(y, m, d); }

TEST(RelativeDateDialogModelTest, SpinnersFromText) {
  struct Row {
    const char* name;
    const char* text;
    SpinValues expected;
  };
  const Row rows[] = {
      {"two units", "TODAY -2wk +1yr ", {0, -2, 0, 1}},
      {"all four", "TODAY +5dy -1wk +3mo -2yr", {5, -1, 3, -2}},
      {"last word with the unit wins", "TODAY +1dy +2dy", {2, 0, 0, 0}},
      {"only words two to five", "TODAY +1dy +1wk +1mo +1yr +9dy", {1, 1, 1, 1}},
      {"minus anywhere negates", "TODAY 3dy-", {-3, 0, 0, 0}},
      {"unit without digits is 0", "TODAY +dy +wk", {0, 0, 0, 0}},
      {"beyond the range gives its end", "TODAY -96yr +999dy -99999999999wk", {365, -52, 0, -95}},
      {"no units", "TODAY", {0, 0, 0, 0}},
  };
  for (const Row& row : rows) EXPECT_EQ(setAllSpinners(row.text), row.expected) << row.name;
}

TEST(RelativeDateDialogModelTest, TextForms) {
  EXPECT_EQ(relativeText({5, 0, -1, 0}), "TODAY +5dy -1mo ");
  EXPECT_EQ(relativeText({0, 0, 0, 0}), "TODAY ");
  EXPECT_EQ(relativeText({365, -52, -48, 200}).size(), 32u);
  EXPECT_EQ(calendarText("12/25/1998", true, false), "12/25/1998 (NoYear )");
  EXPECT_EQ(calendarText("12/25/1998", false, true), "12/25/1998 (NoDay)");
  EXPECT_EQ(calendarText("12/25/1998", true, true), "12/25/1998 (NoYear NoDay)");
  EXPECT_EQ(calendarText("12/25/1998", false, false), "12/25/1998");
}

TEST(RelativeDateDialogModelTest, CalendarLabels) {
  const CalendarLabels plain = calendarLabels(day(1998, 12, 5), false, false);
  EXPECT_EQ(plain.month, "December");
  EXPECT_EQ(plain.day, "05");
  EXPECT_EQ(plain.year, "1998");
  const CalendarLabels both = calendarLabels(day(1998, 12, 25), true, true);
  EXPECT_EQ(both.year, "any year");
  EXPECT_EQ(both.day, "any day in December");
  EXPECT_EQ(calendarLabels(std::nullopt, true, true).day, "");
}

class RelativeDateDialogModelFixture : public ::testing::Test {
 protected:
  host::FixedClock clock_{day(2026, 1, 31) + 0.5};
  host::Locale locale_;
  RelativeDateDialogModel model_{clock_, locale_};
};

TEST_F(RelativeDateDialogModelFixture, CalendarOpeningWithBothNotes) {
  model_.open("12/25/1998 (NoYear NoDay)");
  EXPECT_FALSE(model_.relativeMode());
  EXPECT_EQ(model_.dateText(), "12/25/1998");
  EXPECT_TRUE(model_.noYear());
  EXPECT_TRUE(model_.noDay());
  EXPECT_EQ(model_.labels().day, "any day in December");
  const auto result = model_.accept();
  EXPECT_EQ(result.text, "12/25/1998 (NoYear NoDay)");
  EXPECT_TRUE(result.disregard);
}

TEST_F(RelativeDateDialogModelFixture, RelativeOpeningRebuildsTheText) {
  model_.open("TODAY -2wk +1yr ");
  EXPECT_TRUE(model_.relativeMode());
  EXPECT_EQ(model_.answer(), "TODAY -2wk +1yr ");
  EXPECT_EQ(model_.dateText(), "1/31/2026");

  model_.open("TODAY");
  EXPECT_EQ(model_.accept().text, "TODAY ");

  model_.setSpinner(SpinUnit::kMonths, 1);
  EXPECT_EQ(model_.computedDate(), "Sat 2/28/2026");
  model_.setSpinner(SpinUnit::kYears, -96);
  EXPECT_EQ(model_.spinners()[3], -95);
}

TEST_F(RelativeDateDialogModelFixture, ModeSwitchKeepsTheOtherModesValues) {
  model_.open("3/4/2020 (NoYear )");
  model_.setRelativeMode(true);
  const auto relative = model_.accept();
  EXPECT_EQ(relative.text, "TODAY");  // no spinner touched: no trailing blank
  EXPECT_FALSE(relative.disregard);   // the hidden boxes do not count
  model_.setRelativeMode(false);
  EXPECT_EQ(model_.accept().text, "3/4/2020 (NoYear )");
}

TEST_F(RelativeDateDialogModelFixture, TextThatIsNoDateOpensAtToday) {
  model_.open("soon");
  EXPECT_EQ(model_.dateText(), "soon");
  EXPECT_EQ(model_.labels().month, "");
  EXPECT_EQ(model_.calendarStart(), clock_.now());
  EXPECT_EQ(computedDateText("TODAY +1mo 45", clock_, locale_), "");
}

}  // namespace
}  // namespace vistrel::dialogs
