// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "filter/category_selection.h"

#include <gtest/gtest.h>

#include "filter/category_names.h"
#include "fixture_data.h"
#include "host/table.h"
#include "host/tallis_schema.h"
#include "testing.h"

namespace vistrel::filter {
namespace {

TEST(CategorySelectionTest, DoubleClickJoinsCodesAndOkCompiles) {
  CategorySelection selection("");
  EXPECT_FALSE(selection.okEnabled());
  selection.addItem("A = Customers", false);
  selection.addItem("1 = Staff", false);
  selection.addItem("X = Press", true);
  EXPECT_EQ(selection.answer(), "A and 1 or X");
  EXPECT_TRUE(selection.okEnabled());

  const struct {
    const char* answer;
    bool accepted;
    const char* text;
  } cases[] = {
      {"A and (B or !C)", true, "A and (B or !C)"},
      {"A AND(B)", false, "A was unexpected in A AND(B)"},
      {"A+", false, "missing final variable"},
      {"   ", false, "No Categories Selected"},
      {"A or B or C or D or E or F or G or H or I or J or K or L or M or N or O or P or Q or R or S or T",
       true, "A or B or C or D or E or F or G or H or I or J or K or L or M or N or O or P or "},
  };
  for (const auto& c : cases) {
    selection.setAnswer(c.answer);
    const auto outcome = selection.accept();
    EXPECT_EQ(outcome.accepted, c.accepted) << c.answer;
    EXPECT_EQ(outcome.text, c.text) << c.answer;
  }
}

TEST(CategorySelectionTest, ExampleRowsCompileAsShown) {
  ASSERT_EQ(categoryExamples().size(), 6u);
  for (const CategoryExample& example : categoryExamples()) {
    for (const auto& [text, description] : example.rows) {
      if (text.empty()) continue;
      CategorySelection selection{std::string(text)};
      EXPECT_TRUE(selection.accept().accepted) << text;
    }
  }
}

TEST(CategoryNamesTest, ListsTheNamesOfTheCurrentDatabaseOnly) {
  vistrel::testing::TempDir dir;
  vistrel::testing::makeFixtureDataDir(dir.path());
  host::Engine engine;
  engine.setAlias(host::kTallisAlias, dir.path());
  {
    host::Table dbs(engine, std::string(host::kTallisAlias), std::string(host::kDatabaseTableName));
    ASSERT_TRUE(dbs.open().ok());
    ASSERT_TRUE(*dbs.findKey({std::string("Sales")}));
    ASSERT_TRUE(dbs.edit().ok());
    ASSERT_TRUE(dbs.fieldByName("cat27")->setText("Staff").ok());
    ASSERT_TRUE(dbs.fieldByName("cat32")->setText("A name far longer than thirty characters").ok());
    ASSERT_TRUE(dbs.post().ok());
  }
  auto sales = readCategoryNames(engine, "Sales");
  ASSERT_TRUE(sales.ok());
  EXPECT_EQ(categoryListItems(*sales), (std::vector<std::string>{"A = Customer", "B = Buyer", "0 = Staff",
                                                                 "5 = A name far longer than thi"}));
  EXPECT_EQ(categoryName(*sales, "b"), "Buyer");
  auto none = readCategoryNames(engine, "Nowhere");
  ASSERT_TRUE(none.ok());
  EXPECT_TRUE(categoryListItems(*none).empty());
}

}  // namespace
}  // namespace vistrel::filter
