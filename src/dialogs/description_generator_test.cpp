// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "dialogs/description_generator.h"

#include <gtest/gtest.h>

namespace vistrel::dialogs {
namespace {

struct Criterion {
  const char* field;
  const char* relation;
  const char* condition;
};

std::string repeat(const char* text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

TEST(DescriptionGeneratorTest, BuildsFromTheFirstTwoLines) {
  filter::CategoryNames names;
  names[1] = "Customers";  // B
  names[27] = "Staff";     // 1
  const struct {
    const char* name;
    std::vector<Criterion> lines;  // joined by And
    std::optional<std::string> expected;
  } cases[] = {
      {"two lines and a third",
       {{"Last Name", "contains", "Smith"}, {"City", "equals", "Boston"}, {"State", "equals", "MA"}},
       "Last Name contains \"Smith\" And City equals \"Boston\"..."},
      {"hidden condition", {{"City", "is blank", "left over"}}, "City is blank"},
      {"category letter named", {{"Category", "matches", "b"}}, "Category matches \"b\" (Customers)"},
      {"category digit named", {{"Category", "matches", "1"}}, "Category matches \"1\" (Staff)"},
      {"category expression not named", {{"Category", "matches", "B or C"}}, "Category matches \"B or C\""},
      {"category without a name", {{"Category", "matches", "C"}}, "Category matches \"C\""},
      {"line 2 gets no category name",
       {{"City", "is blank", ""}, {"Category", "matches", "B"}},
       "City is blank And Category matches \"B\""},
      {"user field by its alias", {{"User 1 : Hobby", "equals", "golf"}}, "Hobby equals \"golf\""},
      {"cut to 60 characters",
       {{"Last Name", "contains", "Smithsonian-Worthington"}, {"City", "equals", "Boston"}, {"Zip Code", "is blank", ""}},
       "Last Name contains \"Smithsonian-Worthington\" And City equals"},
      {"cut never splits a character",
       {{"Last Name", "equals", "éééééééééééééééééééééééééééééééééééééééééééééééééééé"}},
       "Last Name equals \"" + repeat("é", 42)},
      {"nothing filled", {{"", "", ""}}, std::nullopt},
  };
  for (const auto& c : cases) {
    CriteriaEditorModel model;
    for (std::size_t i = 0; i < c.lines.size(); ++i) {
      const int n = static_cast<int>(i) + 1;
      if (i > 0) model.chooseConnector(n - 1, 1);
      model.setFieldText(n, c.lines[i].field);
      if (*c.lines[i].relation) model.chooseRelation(n, c.lines[i].relation);
      model.line(n).conditionText = c.lines[i].condition;
    }
    EXPECT_EQ(generateDescription(model, names), c.expected) << c.name;
  }
  CriteriaEditorModel example;
  example.setFieldText(1, "Last Name");
  example.chooseRelation(1, "contains");
  example.line(1).conditionText = "Smith";
  example.chooseConnector(1, 1);
  example.setFieldText(2, "City");
  example.chooseRelation(2, "equals");
  example.line(2).conditionText = "Boston";
  example.chooseConnector(2, 1);
  EXPECT_EQ(generateDescription(example, names)->size(), 54u);
}

}  // namespace
}  // namespace vistrel::dialogs
