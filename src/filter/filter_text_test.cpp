// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "filter/filter_text.h"

#include "filter/filter_language.h"

#include <gtest/gtest.h>

namespace vistrel::filter {
namespace {

TEST(FilterTextTest, NextParenValueTakesTheNextPairAndDropsIt) {
  const struct {
    const char* name;
    const char* line;
    const char* value;
    const char* rest;
  } cases[] = {
      {"plain group", "field(Last Name) x", "Last Name", " x"},
      {"nested pair", "value(Smith (Jr)) casebox(TRUE)", "Smith (Jr)", " casebox(TRUE)"},
      {"doubly nested", "value(a(b(c))d) e", "a(b(c))d", " e"},
      {"empty pair", "and()", "", ""},
      {"no parenthesis loses one character", "abc", "", "bc"},
      {"empty line", "", "", ""},
      {"unclosed runs to the end", "value(a(b) casebox(FALSE)", "a(b) casebox(FALSE)", ""},
      {"lone closing ends early", "value(a)b) c(d)", "a", "b) c(d)"},
      {"closing before opening is skipped", "a)b(c) d", "c", " d"},
      {"unclosed at the end", "value(abc", "abc", ""},
  };
  for (const auto& c : cases) {
    std::string line = c.line;
    EXPECT_EQ(NextParenValue(line), c.value) << c.name;
    EXPECT_EQ(line, c.rest) << c.name;
  }
}

constexpr const char* kTallisLine =
    "database(Event) field(Event Status) condition(5) value(G) casebox(TRUE) yearbox(FALSE) "
    "daybox(TRUE) punctbox(TRUE) openpara(2) closepara(1) and(2)";

TEST(FilterTextTest, ReadsTheElevenGroupsOfALine) {
  const FilterLine f = readFilterLine(kTallisLine);
  EXPECT_EQ(f.database, "Event");
  EXPECT_EQ(f.field, "Event Status");
  EXPECT_EQ(f.condition, 5);
  EXPECT_EQ(f.value, "G");
  EXPECT_TRUE(f.caseSensitive);
  EXPECT_FALSE(f.noYear);
  EXPECT_TRUE(f.noDay);
  EXPECT_TRUE(f.ignorePunctuation);
  EXPECT_EQ(f.open, 2);
  EXPECT_EQ(f.close, 1);
  EXPECT_EQ(f.connector, 2);
  EXPECT_TRUE(f.connectorGiven);
  EXPECT_EQ(writeFilterLine(f), kTallisLine);
}

TEST(FilterTextTest, DamagedGroupsReadAsEmptyZeroOrFalse) {
  const FilterLine letters = readFilterLine(
      "database(Contact) field(City) condition(five) value(x) casebox(true) yearbox() daybox(TRUE ) "
      "punctbox(FALSE) openpara(1.5) closepara() and(x)");
  EXPECT_EQ(letters.condition, 0);
  EXPECT_FALSE(letters.caseSensitive) << "lower-case true";
  EXPECT_FALSE(letters.noDay) << "a trailing blank";
  EXPECT_EQ(letters.open, 0);
  EXPECT_EQ(letters.connector, 0);
  EXPECT_TRUE(letters.connectorGiven);

  const FilterLine cut = readFilterLine("database(Contact) field(City) condition(");
  EXPECT_EQ(cut.field, "City");
  EXPECT_EQ(cut.condition, 0);
  EXPECT_EQ(cut.value, "");
  EXPECT_FALSE(cut.connectorGiven);

  // An unbalanced "(" in a value swallows every later group.
  const FilterLine runOn = readFilterLine(
      "database(Contact) field(Last Name) condition(5) value(Smith (Jr) casebox(TRUE) yearbox(FALSE) "
      "daybox(FALSE) punctbox(TRUE) openpara(0) closepara(0) and(1)");
  EXPECT_EQ(runOn.value.substr(0, 20), "Smith (Jr) casebox(T");
  EXPECT_FALSE(runOn.caseSensitive);
  EXPECT_FALSE(runOn.ignorePunctuation);
  EXPECT_EQ(runOn.connector, 0);

  // A lone ")" cuts the value; the groups after it still read.
  const FilterLine cutShort = readFilterLine(
      "database(Contact) field(Last Name) condition(5) value(O)Neil) casebox(TRUE) yearbox(FALSE) "
      "daybox(FALSE) punctbox(FALSE) openpara(0) closepara(0) and(1)");
  EXPECT_EQ(cutShort.value, "O");
  EXPECT_TRUE(cutShort.caseSensitive);
  EXPECT_EQ(cutShort.connector, 1);
}

TEST(FilterTextTest, RelationNamesAndCodes) {
  for (const RelationInfo& r : relationTable()) {
    EXPECT_EQ(stringToRelation(r.name), r.code) << r.name;
    EXPECT_EQ(RelationToString(r.code), r.name);
  }
  EXPECT_EQ(stringToRelation("greater than"), RelationCode{1});
  EXPECT_EQ(stringToRelation("equals"), RelationCode{5});
  EXPECT_EQ(stringToRelation("is on or before"), RelationCode{18});
  EXPECT_EQ(stringToRelation("does not end with"), RelationCode{24});
  EXPECT_EQ(stringToRelation("Equals"), RelationCode::kNone);
  EXPECT_EQ(stringToRelation(""), RelationCode::kNone);
  EXPECT_EQ(RelationToString(RelationCode::kNone), "");
  EXPECT_EQ(RelationToString(RelationCode{25}), "");
  EXPECT_EQ(RelationToString(RelationCode{-1}), "");
}

TEST(FilterTextTest, FlagsAndAliases) {
  EXPECT_TRUE(strToBoolean("TRUE"));
  EXPECT_FALSE(strToBoolean("True"));
  EXPECT_EQ(stripUserAlias("Birthday : Bday"), "Birthday");
  EXPECT_EQ(stripRealField("Birthday : Bday"), "Bday");
  EXPECT_EQ(stripRealField("Last Name"), "Last Name");
  EXPECT_EQ(stripUserAlias("a : b : c"), "a");
  EXPECT_EQ(stripRealField("a : b : c"), "b : c");
}

TEST(FilterTextTest, MemoLines) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(splitMemoLines("a\r\nb\r\n"), (Lines{"a", "b"}));
  EXPECT_EQ(splitMemoLines("a\r\nb"), (Lines{"a", "b"}));
  EXPECT_EQ(splitMemoLines("a\n\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(splitMemoLines("a\rb"), (Lines{"a", "b"}));
  EXPECT_EQ(splitMemoLines(""), Lines{});
  EXPECT_EQ(joinMemoLines({"a", "b"}), "a\r\nb\r\n");
  EXPECT_EQ(splitMemoLines(joinMemoLines({"x", "y"})), (Lines{"x", "y"}));
}

}  // namespace
}  // namespace vistrel::filter
