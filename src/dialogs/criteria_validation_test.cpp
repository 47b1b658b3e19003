// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "dialogs/criteria_validation.h"

#include <gtest/gtest.h>

#include <functional>


namespace vistrel::dialogs {
namespace {

// Fills line n with a field, relation and condition and turns on line n+1
// when `next` is 1 or 2.
void fill(CriteriaEditorModel& m, int n, const char* field, const char* relation, const char* condition,
          int open = 0, int close = 0, int next = 0) {
  m.setFieldText(n, field);
  if (*relation) m.chooseRelation(n, relation);
  m.line(n).conditionText = condition;
  m.line(n).openCount = open;
  m.line(n).closeCount = close;
  if (next) m.chooseConnector(n, next);
}

TEST(CriteriaValidationTest, EachCheckGivesItsMessageAndFocus) {
  const std::string kUnbalanced =
      "Parenthesis are not balanced. There must be an equal number of open and closed parenthesis.";
  const struct {
    const char* name;
    const char* description;
    std::function<void(CriteriaEditorModel&)> build;
    std::optional<CriteriaFault> expected;
  } cases[] = {
      {"description of three spaces", "   ", [](auto& m) { fill(m, 1, "City", "equals", "Boston"); },
       CriteriaFault{"The description is blank.  Use it to describe the filter.", CriteriaBox::kDescription, 0}},
      {"line 2 turned on but empty", "d", [](auto& m) { fill(m, 1, "City", "equals", "Boston", 0, 0, 1); },
       CriteriaFault{"A selected field is blank.", CriteriaBox::kField, 2}},
      {"field not in the catalog", "d", [](auto& m) { fill(m, 1, "Shoe Size", "", "9"); },
       CriteriaFault{"The relation field for Shoe Size is blank.", CriteriaBox::kRelation, 1}},
      {"text field without relation", "d", [](auto& m) { fill(m, 1, "City", "", "x"); },
       CriteriaFault{"The relation field for City is blank.", CriteriaBox::kRelation, 1}},
      {"blank condition", "d", [](auto& m) { fill(m, 1, "City", "equals", " "); },
       CriteriaFault{"The condition for City is blank.", CriteriaBox::kCondition, 1}},
      {"negative number", "d", [](auto& m) { fill(m, 1, "Num 1 : Num1", "equals", "-5"); },
       CriteriaFault{"The condition for Num 1 : Num1 is not numeric.", CriteriaBox::kCondition, 1}},
      {"thousand separator", "d", [](auto& m) { fill(m, 1, "Num 1 : Num1", "equals", "1,000"); },
       CriteriaFault{"The condition for Num 1 : Num1 is not a valid number.", CriteriaBox::kCondition, 1}},
      {"decimal point", "d", [](auto& m) { fill(m, 1, "Num 1 : Num1", "equals", "12.5"); }, std::nullopt},
      {"integer not tested for digits", "d", [](auto& m) { fill(m, 1, "Last Letter Number", "equals", "-5"); },
       std::nullopt},
      {"hidden condition ends the walk", "d",
       [](auto& m) {
         fill(m, 1, "City", "equals", "Boston", 0, 0, 1);
         fill(m, 2, "State", "is blank", "", 0, 0, 1);
         fill(m, 3, "Zip Code", "equals", "");
       },
       std::nullopt},
      {"( then ) balance", "d",
       [](auto& m) {
         fill(m, 1, "City", "equals", "Boston", 1, 0, 2);
         fill(m, 2, "City", "equals", "Salem", 0, 1);
       },
       std::nullopt},
      {") alone", "d", [](auto& m) { fill(m, 1, "City", "equals", "Boston", 0, 1); },
       CriteriaFault{kUnbalanced, CriteriaBox::kNone, 0}},
      {"(( and )", "d",
       [](auto& m) {
         fill(m, 1, "City", "equals", "Boston", 2, 0, 2);
         fill(m, 2, "City", "equals", "Salem", 0, 1);
       },
       CriteriaFault{"There are too many open parenthesis.", CriteriaBox::kNone, 0}},
      {"counts of a line turned off do not count", "d",
       [](auto& m) {
         fill(m, 1, "City", "equals", "Boston", 0, 0, 1);
         fill(m, 2, "City", "equals", "Salem", 3, 0);
         m.chooseConnector(1, 0);
       },
       std::nullopt},
  };
  for (const auto& c : cases) {
    CriteriaEditorModel model;
    c.build(model);
    EXPECT_EQ(verifyCriteria(c.description, model, host::Locale::unitedStates()), c.expected) << c.name;
  }
}

TEST(CriteriaValidationTest, NumbersFollowTheLocaleSeparators) {
  host::Locale german;
  german.decimalSeparator = ',';
  german.thousandSeparator = '.';
  CriteriaEditorModel model;
  fill(model, 1, "Money 1 : Money1", "equals", "12,5");
  EXPECT_EQ(verifyEdits(model, german), std::nullopt);
  EXPECT_NE(verifyEdits(model, host::Locale::unitedStates()), std::nullopt);
  model.line(1).conditionText = "1.000";
  EXPECT_EQ(verifyEdits(model, german)->message, "The condition for Money 1 : Money1 is not a valid number.");
}

// After its boxes pass, OK judges the text the lines make: what could not be
// stored as typed is refused on the condition box of its line.
TEST(CriteriaValidationTest, TheTextTheLinesMakeIsJudgedToo) {
  const struct {
    const char* name;
    const char* field;
    const char* relation;
    const char* condition;
    std::optional<CriteriaFault> expected;
  } cases[] = {
      {"balanced parentheses", "Last Name", "equals", "Smith (Jr)", std::nullopt},
      {"a category expression that does not compile", "Category", "matches", "A AND(B)",
       CriteriaFault{"Criteria 2: A was unexpected in A AND(B)", CriteriaBox::kCondition, 2}},
      {"a lone opening parenthesis", "Last Name", "equals", "Smith (Jr",
       CriteriaFault{"Criteria 2: the value \"Smith (Jr) casebox(FALSE) year...\" has a \"(\" without its \")\"",
                     CriteriaBox::kCondition, 2}},
      {"a line break", "City", "equals", "Bos\nton",
       CriteriaFault{"Criteria 2: the line holds a line break", CriteriaBox::kCondition, 2}},
      {"a date TODAY cannot read", "Date 1 : Date1", "equals", "TODAY soon",
       CriteriaFault{"The date of criteria 2 cannot be read: TODAY soon (\"soon\" is no offset, day, month or year)",
                     CriteriaBox::kCondition, 2}},
  };
  const host::FixedClock clock(45427.0);
  for (const auto& c : cases) {
    CriteriaEditorModel model;
    fill(model, 1, "City", "equals", "Boston", 0, 0, 1);
    fill(model, 2, c.field, c.relation, c.condition);
    EXPECT_EQ(verifyCriteria("d", model, host::Locale::unitedStates()), std::nullopt) << c.name;
    EXPECT_EQ(verifyDefinition(model, clock, host::Locale::unitedStates()), c.expected) << c.name;
  }
}

}  // namespace
}  // namespace vistrel::dialogs
