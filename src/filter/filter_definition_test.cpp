// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "filter/filter_definition.h"

#include <gtest/gtest.h>

namespace vistrel::filter {
namespace {

std::string line(const char* field, int relation, const std::string& value, const char* open = "0",
                 const char* close = "0", const char* connector = "0", const char* casebox = "FALSE") {
  return std::string("database(Contact) field(") + field + ") condition(" + std::to_string(relation) + ") value(" +
         value + ") casebox(" + casebox + ") yearbox(FALSE) daybox(FALSE) punctbox(FALSE) openpara(" + open +
         ") closepara(" + close + ") and(" + connector + ")";
}

std::string lines(int count) {
  std::string text;
  for (int i = 1; i <= count; ++i) text += line("City", 5, "x", "0", "0", i < count ? "1" : "0") + "\r\n";
  return text;
}

// The verdict stores a text exactly as written or refuses it, naming the
// criterion and what is wrong.
TEST(FilterDefinitionTest, StoredAsWrittenOrRefusedWithTheReason) {
  const std::string today = "database(Contact) field(Date 1) condition(5) value(TODAY +7dy (NoYear)) casebox(FALSE) "
                            "yearbox(TRUE) daybox(FALSE) punctbox(FALSE) openpara(0) closepara(0) and(0)";
  const struct {
    const char* name;
    std::string text;
    std::string message;  // empty: the text passes and is stored as written
  } cases[] = {
      {"a plain criterion", line("Last Name", 7, "Smith"), ""},
      {"a label in capitals", line("LAST NAME", 7, "Smith"), ""},
      {"balanced parentheses in a value", line("Last Name", 5, "Smith (Jr)"), ""},
      {"a TODAY date with its note", today, ""},
      {"an offset without a unit counts days", line("Date 1", 18, "TODAY -7"), ""},
      {"80 characters", line("City", 5, std::string(79, 'a') + "\xC3\xA9"), ""},
      {"ten criteria", lines(10), ""},
      {"nothing", "", "The definition holds no criteria"},
      {"eleven criteria", lines(11), "Criteria 11: a filter holds at most 10 criteria"},
      {"a blank line before another", line("City", 5, "x", "0", "0", "1") + "\r\n\r\n" + line("City", 5, "y"),
       "Criteria 2: the line is blank, but a further criterion follows"},
      {"7 parentheses", line("City", 5, "x", "7"), "Criteria 1: openpara(7) is not a count of 0 to 5 parentheses"},
      {"-1 parentheses", line("City", 5, "x", "0", "-1"),
       "Criteria 1: closepara(-1) is not a count of 0 to 5 parentheses"},
      {"connector 7", line("City", 5, "x", "0", "0", "7"),
       "Criteria 1: and(7) is none of 0 (no further criterion), 1 (And) and 2 (Or)"},
      {"connector -1 before another line", line("City", 5, "x", "0", "0", "-1") + "\r\n" + line("City", 5, "y"),
       "Criteria 1: and(-1) is none of 0"},
      {"and(0) before another line", line("City", 5, "x") + "\r\n" + line("City", 5, "y"),
       "Criteria 1: and(0) ends the filter, but a further criterion follows"},
      {"a lone closing parenthesis", line("Last Name", 5, "Smith)Jr"),
       "Criteria 1: expected \"casebox(\" where the line reads \"Jr) casebox(FALSE) yearbox(FAL...\"; a \")\" in a "
       "value needs its \"(\""},
      {"a lone opening parenthesis", line("Last Name", 5, "Smith (Jr"),
       "Criteria 1: the value \"Smith (Jr) casebox(FALSE) year...\" has a \"(\" without its \")\""},
      {"a flag in lower case", line("City", 5, "x", "0", "0", "0", "true"),
       "Criteria 1: casebox(true) is neither TRUE nor FALSE"},
      {"a NUL byte", line("City", 5, std::string("a\0b", 3)), "Criteria 1: the line holds a control character (code 0)"},
      {"bytes that are not UTF-8", line("City", 5, "Z\xFCrich"),
       "Criteria 1: the line holds a byte that is not UTF-8 text (0xFC)"},
      {"81 characters", line("City", 5, std::string(81, 'a')),
       "Criteria 1: the condition for City is longer than 80 characters"},
      {"an unknown field is named", line("Shoe Size", 5, "9"), "Criteria 1: there is no field \"Shoe Size\""},
      {"a relation the field does not offer", line("State", 18, "TX"),
       "Criteria 1: the relation \"is on or before\" is not offered for State"},
      {"no relation", line("State", 0, "TX"), "A field and a condition are necessary for criteria 1"},
      {"no value", line("State", 5, ""), "The condition for criteria 1 requires a value"},
      {"not a number", line("Num 1", 5, "ten"), "Criteria 1: the condition \"ten\" for Num 1 is not a number"},
      {"a word TODAY cannot read", line("Date 1", 18, "TODAY garbage"),
       "The date of criteria 1 cannot be read: TODAY garbage (\"garbage\" is no offset, day, month or year)"},
      {"an offset of unknown unit", line("Date 1", 18, "TODAY +1qq"),
       "The date of criteria 1 cannot be read: TODAY +1qq (\"+1qq\" is no offset, day, month or year)"},
      {"a category expression with a doubled and", line("Category", 11, "A and and B"),
       "Criteria 1: Syntax error, check expression"},
  };
  const host::FixedClock clock(45427.0);
  for (const auto& c : cases) {
    const DefinitionVerdict v = judgeDefinition(c.text, clock, host::Locale::unitedStates());
    if (c.message.empty()) {
      EXPECT_TRUE(v.ok()) << c.name << ": " << faultLines(v.faults);
      EXPECT_EQ(v.storedText(), joinMemoLines(splitMemoLines(c.text))) << c.name;
    } else {
      ASSERT_FALSE(v.ok()) << c.name;
      EXPECT_EQ(v.faults[0].message.substr(0, c.message.size()), c.message) << c.name;
    }
  }
}

TEST(FilterDefinitionTest, NamesAndUserIdsAreRefusedNotCut) {
  const struct {
    const char* name;
    std::optional<std::string> fault;
    std::optional<std::string> expected;
  } cases[] = {
      {"a plain name", descriptionFault("Texans"), std::nullopt},
      {"100 characters", descriptionFault(std::string(99, 'a') + "\xC3\xA9"), std::nullopt},
      {"101 characters", descriptionFault(std::string(101, 'a')), "The description is longer than 100 characters."},
      {"a line break", descriptionFault("Tex\nans"), "The description holds a line break."},
      {"a tab", descriptionFault("Tex\tans"), "The description holds a control character (code 9)."},
      {"bytes that are not UTF-8", descriptionFault("Z\xFCrich"),
       "The description holds a byte that is not UTF-8 text (0xFC)."},
      {"blank", descriptionFault("   "), "The description is blank.  Use it to describe the filter."},
      {"a user id of 3", whoFault("DEM"), std::nullopt},
      {"a user id of 4", whoFault("DEMO"), "The user id \"DEMO\" is longer than 3 characters."},
  };
  for (const auto& c : cases) EXPECT_EQ(c.fault, c.expected) << c.name;
}

}  // namespace
}  // namespace vistrel::filter
