// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/table_lookups.h"

#include <gtest/gtest.h>

#include "fixture_data.h"
#include "host/tallis_schema.h"
#include "testing.h"

namespace vistrel::host {
namespace {

class TableLookupsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::makeFixtureDataDir(dir_.path());
    engine_.setAlias("TALDB", dir_.path());
    for (auto w : {TablePassword::kUsers, TablePassword::kContacts, TablePassword::kFilters}) {
      engine_.addPassword(tallisTablePassword(w));
    }
    Table h(engine_, "TALDB", "holiday.DB");
    ASSERT_TRUE(h.open().ok());
    const auto add = [&](const char* date, bool global, const char* who, const char* name) {
      ASSERT_TRUE(h.insert().ok());
      ASSERT_TRUE(h.fieldByName("date")->setText(date).ok());
      ASSERT_TRUE(h.fieldByName("global")->setBoolean(global).ok());
      ASSERT_TRUE(h.fieldByName("who")->setText(who).ok());
      ASSERT_TRUE(h.fieldByName("name")->setText(name).ok());
      ASSERT_TRUE(h.post().ok());
    };
    add("12/25/2026", true, "", "Christmas Day");
    add("12/25/2026", false, "ABC", "Alice's party");
    add("3/14/2026", false, "ABC", "Office closed");
    add("3/14/2026", false, "DEM", "Dentist");
    add("3/15/2026", true, "", "Next day");
  }

  std::string holiday(const char* who, int y, int m, int d) {
    Table h(engine_, "TALDB", "holiday.DB");
    auto name = HolidayName(who, h, *encodeDate(y, m, d) + 0.75);
    EXPECT_TRUE(name.ok()) << name.status().ToString();
    return name.ok() ? *name : "?";
  }

  testing::TempDir dir_;
  Engine engine_;
};

TEST_F(TableLookupsTest, HolidayNameGlobalFirstThenTheUsersOwn) {
  EXPECT_EQ(holiday("ABC", 2026, 12, 25), "Christmas Day");
  EXPECT_EQ(holiday("ABC", 2026, 3, 14), "Office closed");
  EXPECT_EQ(holiday("DEM", 2026, 3, 14), "Dentist");
  EXPECT_EQ(holiday("XYZ", 2026, 3, 14), "") << "the next day's global holiday is not this day's";
  EXPECT_EQ(holiday("abc", 2026, 3, 14), "") << "the user id matches exactly";
  EXPECT_EQ(holiday("ABC", 2026, 7, 4), "");
}

TEST_F(TableLookupsTest, FindKey3NeedsAllThreeParts) {
  Table marks(engine_, "TALDB", "marks.DB");
  ASSERT_TRUE(marks.open().ok());
  ASSERT_TRUE(marks.insert().ok());
  ASSERT_TRUE(marks.fieldByName("Who")->setText("DEM").ok());
  ASSERT_TRUE(marks.fieldByName("DB")->setText("Sales").ok());
  ASSERT_TRUE(marks.fieldByName("Recno")->setText("R1").ok());
  ASSERT_TRUE(marks.post().ok());
  EXPECT_TRUE(*FindKey3("DEM", "Sales", "R1", marks));
  EXPECT_FALSE(*FindKey3("DEM", "Sales", "R2", marks));
  EXPECT_FALSE(*FindKey3("", "Sales", "R1", marks));
}

TEST_F(TableLookupsTest, UserListInKeyOrderWithTheCurrentUserSelected) {
  auto list = userListItems(engine_, true, "DEM");
  ASSERT_TRUE(list.ok());
  EXPECT_EQ(list->items, (std::vector<std::string>{"All users", "ABC", "DEM", "PLN"}));
  EXPECT_EQ(list->selected, 2);
  list = userListItems(engine_, false, "ZZZ");
  EXPECT_EQ(list->items.size(), 3u);
  EXPECT_EQ(list->selected, -1);
}

}  // namespace
}  // namespace vistrel::host
