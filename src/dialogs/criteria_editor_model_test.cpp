// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "dialogs/criteria_editor_model.h"

#include <gtest/gtest.h>


namespace vistrel::dialogs {
namespace {

using host::FieldKind;

std::string storedLine(const char* database, const char* field, int condition, const char* value,
                       const char* flags, int open = 0, int close = 0, int connector = 0) {
  return std::string("database(") + database + ") field(" + field + ") condition(" +
         std::to_string(condition) + ") value(" + value + ") " + flags + " openpara(" +
         std::to_string(open) + ") closepara(" + std::to_string(close) + ") and(" +
         std::to_string(connector) + ")";
}

constexpr const char* kNoFlags = "casebox(FALSE) yearbox(FALSE) daybox(FALSE) punctbox(FALSE)";

TEST(CriteriaEditorModelTest, OneFilledLineWritesOneLineEndingInAndZero) {
  CriteriaEditorModel model;
  model.setFieldText(1, "Last Name");
  model.chooseRelation(1, "equals");
  model.line(1).conditionText = "Smith";
  const std::vector<std::string> memo = model.outputToMemo();
  ASSERT_EQ(memo.size(), 1u);
  EXPECT_EQ(memo[0], storedLine("Contact", "Last Name", 5, "Smith", kNoFlags));
}

TEST(CriteriaEditorModelTest, LineTenAlwaysWritesAndZero) {
  CriteriaEditorModel model;
  for (int n = 1; n <= 10; ++n) {
    model.setFieldText(n, "City");
    model.chooseRelation(n, "equals");
    model.line(n).conditionText = "Boston";
    model.line(n).connector = 2;
    model.TurnOnTagLine(n);
  }
  const std::vector<std::string> memo = model.outputToMemo();
  ASSERT_EQ(memo.size(), 10u);
  EXPECT_EQ(memo[8], storedLine("Contact", "City", 5, "Boston", kNoFlags, 0, 0, 2));
  EXPECT_EQ(memo[9], storedLine("Contact", "City", 5, "Boston", kNoFlags, 0, 0, 0));
}

TEST(CriteriaEditorModelTest, WritingStopsAtTheFirstLineNotInUse) {
  CriteriaEditorModel model;
  for (int n : {1, 3}) {
    model.setFieldText(n, "City");
    model.TurnOnTagLine(n);
  }
  EXPECT_EQ(model.outputToMemo().size(), 1u);
  EXPECT_EQ(model.outputLine(2), "");
}

struct RoundTrip {
  const char* name;
  const char* field;
  const char* relation;
  const char* condition;
  std::string stored;     // the line written
  const char* shownBack;  // the condition shown after reading it back
};

TEST(CriteriaEditorModelTest, EveryKindOfLineWritesAndReadsBack) {
  const char* year = "casebox(FALSE) yearbox(TRUE) daybox(FALSE) punctbox(FALSE)";
  const char* both = "casebox(FALSE) yearbox(TRUE) daybox(TRUE) punctbox(FALSE)";
  const char* day = "casebox(FALSE) yearbox(FALSE) daybox(TRUE) punctbox(FALSE)";
  const RoundTrip cases[] = {
      {"balanced parentheses in a value", "Last Name", "equals", "Smith (Jr)",
       storedLine("Contact", "Last Name", 5, "Smith (Jr)", kNoFlags), "Smith (Jr)"},
      {"date without its year", "Date 1 : Date1", "equals", "12/25/1998 (NoYear )",
       storedLine("Contact", "Date 1", 5, "12/25/1998 ", year), "12/25/1998 (NoYear )"},
      {"date without year and day", "Date 1 : Date1", "equals", "12/25/1998 (NoYear NoDay)",
       storedLine("Contact", "Date 1", 5, "12/25/1998 ", both), "12/25/1998 (NoYear NoDay)"},
      {"date without its day", "Date 1 : Date1", "equals", "12/25/1998 (NoDay)",
       storedLine("Contact", "Date 1", 5, "12/25/1998 ", day), "12/25/1998 (NoDay)"},
      {"relative date keeps its note", "Event Date", "equals", "TODAY +7dy (NoYear NoDay)",
       storedLine("Event", "Event Date", 5, "TODAY +7dy (NoYear NoDay)", both),
       "TODAY +7dy (NoYear NoDay)"},
      {"relative date, year note only", "Date 1 : Date1", "equals", "TODAY +7 (NoYear)",
       storedLine("Contact", "Date 1", 5, "TODAY +7 (NoYear)", year), "TODAY +7 (NoYear)"},
      {"date with a weekday note", "Event Date", "is on or before", "5/17/2024 (Fri)",
       storedLine("Event", "Event Date", 18, "5/17/2024 ", kNoFlags), "5/17/2024 "},
      {"status stored as its code", "Event Status", "equals", "Letter",
       storedLine("Event", "Event Status", 5, "G", kNoFlags), "Letter"},
      {"status not set", "Event Status", "equals", "Not Set",
       storedLine("Event", "Event Status", 5, "", kNoFlags), "Not Set"},
      {"letter type shows its code", "Letter Type", "equals", "Letter",
       storedLine("Event", "Letter Type", 5, "G", kNoFlags), "G"},
      {"category expression", "Category", "matches", "A and (B or !C)",
       storedLine("Contact", "Category", 11, "A and (B or !C)", kNoFlags), "A and (B or !C)"},
      {"logical field", "Completed", "is not true", "",
       storedLine("Event", "Completed", 15, "", kNoFlags), ""},
      {"user field by label and alias", "User 3 : User3", "contains", "gold",
       storedLine("Contact", "User 3", 7, "gold", kNoFlags), "gold"},
  };
  for (const RoundTrip& c : cases) {
    CriteriaEditorModel model;
    model.setFieldText(1, c.field);
    model.chooseRelation(1, c.relation);
    model.line(1).conditionText = c.condition;
    const std::vector<std::string> memo = model.outputToMemo();
    ASSERT_EQ(memo.size(), 1u) << c.name;
    EXPECT_EQ(memo[0], c.stored) << c.name;

    CriteriaEditorModel back;
    EXPECT_TRUE(back.loadfromMemo(filter::joinMemoLines(memo)).empty()) << c.name;
    EXPECT_EQ(back.line(1).fieldText, c.field) << c.name;
    EXPECT_EQ(back.line(1).relationText, c.relation) << c.name;
    EXPECT_EQ(back.line(1).conditionText, c.shownBack) << c.name;
    EXPECT_EQ(back.outputToMemo(), memo) << c.name << ": a second save changes nothing";
  }
}

TEST(CriteriaEditorModelTest, OptionsParenthesesAndConnectorsRoundTrip) {
  CriteriaEditorModel model;
  model.caseSensitive = true;
  model.ignorePunctuation = true;
  model.setFieldText(1, "Phone 1");
  model.chooseRelation(1, "equals");
  model.line(1).conditionText = "(555) 123-4567";
  model.line(1).openCount = 2;
  model.chooseConnector(1, 2);
  model.setFieldText(2, "City");
  model.chooseRelation(2, "is blank");
  model.line(2).closeCount = 2;
  const std::vector<std::string> memo = model.outputToMemo();
  const char* flags = "casebox(TRUE) yearbox(FALSE) daybox(FALSE) punctbox(TRUE)";
  ASSERT_EQ(memo.size(), 2u);
  EXPECT_EQ(memo[0], storedLine("Contact", "Phone 1", 5, "(555) 123-4567", flags, 2, 0, 2));
  EXPECT_EQ(memo[1], storedLine("Contact", "City", 9, "", flags, 0, 2, 0));

  CriteriaEditorModel back;
  back.loadfromMemo(filter::joinMemoLines(memo));
  EXPECT_TRUE(back.caseSensitive);
  EXPECT_TRUE(back.ignorePunctuation);
  EXPECT_TRUE(back.parenthesesInUse);
  EXPECT_EQ(back.line(1).openCount, 2);
  EXPECT_EQ(back.line(1).connector, 2);
  EXPECT_EQ(back.line(2).closeCount, 2);
  EXPECT_TRUE(back.line(2).inUse);
  EXPECT_FALSE(back.line(2).conditionShown);
  EXPECT_FALSE(back.line(3).inUse);
  EXPECT_EQ(back.outputToMemo(), memo);
}

TEST(CriteriaEditorModelTest, ReadsWhatTallisWrote) {
  const std::string memo =
      storedLine("Contact", "LAST NAME", 7, "smi", "casebox(FALSE) yearbox(FALSE) daybox(FALSE) punctbox(FALSE)",
                 1, 0, 1) + "\r\n" +
      storedLine("Contact", "Shoe Size", 5, "9", kNoFlags, 0, 0, 2) + "\r\n" +
      storedLine("Contact", "Date 2", 5, "3/1/2000 ", "casebox(FALSE) yearbox(FALSE) daybox(TRUE) punctbox(FALSE)",
                 0, 1, 7) + "\r\n" +
      "   \r\n" + storedLine("Contact", "City", 5, "Boston", kNoFlags) + "\r\n";
  CriteriaEditorModel model;
  EXPECT_EQ(model.loadfromMemo(memo), std::vector<std::string>{"problem with undefined field \"Shoe Size\" on line 2"});

  EXPECT_EQ(model.line(1).fieldText, "Last Name") << "labels match ignoring case";
  EXPECT_EQ(model.line(1).relationText, "contains");
  EXPECT_EQ(model.line(1).connector, 1);
  EXPECT_TRUE(model.parenthesesInUse);

  EXPECT_TRUE(model.line(2).inUse);
  EXPECT_EQ(model.line(2).fieldText, "") << "the undefined entry";
  EXPECT_TRUE(model.line(2).relations.empty());
  EXPECT_EQ(model.line(2).relationText, "");
  EXPECT_EQ(model.fieldtype(2), FieldKind::kTerminator);

  EXPECT_EQ(model.line(3).fieldText, "Date 2 : Date2");
  EXPECT_EQ(model.line(3).conditionText, "3/1/2000 (NoDay)");
  EXPECT_EQ(model.line(3).connector, 0) << "no And/Or item 7";

  EXPECT_FALSE(model.line(4).inUse) << "reading stops at a blank line";
  EXPECT_FALSE(model.line(5).inUse);

  CriteriaEditorModel state;
  EXPECT_EQ(state.loadfromMemo(storedLine("Contact", "State", 18, "TX", kNoFlags)),
            std::vector<std::string>{"Criteria 1: the relation \"is on or before\" is not offered for State"});
  EXPECT_EQ(state.line(1).relationText, "");
}

TEST(CriteriaEditorModelTest, ReadingIgnoresLinesBeyondTen) {
  std::vector<std::string> memo(12, storedLine("Contact", "City", 5, "Boston", kNoFlags, 0, 0, 1));
  CriteriaEditorModel model;
  model.loadfromMemo(memo);
  EXPECT_TRUE(model.line(10).inUse);
  EXPECT_EQ(model.line(10).connector, 0);
  EXPECT_EQ(model.outputToMemo().size(), 10u);
}

TEST(CriteriaEditorModelTest, RepeatedSavesDoNotGrowADateNote) {
  CriteriaEditorModel model;
  model.setFieldText(1, "Date 1 : Date1");
  model.chooseRelation(1, "equals");
  model.line(1).conditionText = "12/25/1998 (NoYear )";
  const std::vector<std::string> first = model.outputToMemo();
  // A value that holds the notes itself besides the flags (typed by hand).
  model.line(1).conditionText = "12/25/1998 NoYear";
  const std::vector<std::string> typed = model.outputToMemo();
  for (const auto& memo : {first, typed}) {
    std::vector<std::string> current = memo;
    for (int round = 0; round < 5; ++round) {
      CriteriaEditorModel again;
      again.loadfromMemo(current);
      current = again.outputToMemo();
    }
    EXPECT_EQ(current, memo);
  }
}

TEST(CriteriaEditorModelTest, RelationListsFollowTheFieldKind) {
  const struct {
    const char* field;
    FieldKind kind;
    std::size_t count;
    const char* first;
    const char* preselected;
    bool conditionShown;
  } cases[] = {
      {"Last Name", FieldKind::kText, 16, "equals", "", true},
      {"Mailing Address", FieldKind::kAddressBlock, 10, "equals", "", true},
      {"Num 1 : Num1", FieldKind::kNumber, 6, "less than", "", true},
      {"Date 1 : Date1", FieldKind::kDate, 5, "is on or before", "", true},
      {"Time Added", FieldKind::kTime, 4, "is on or before", "", true},
      {"Completed", FieldKind::kLogical, 2, "is true", "is true", false},
      {"Category", FieldKind::kCategory, 2, "matches", "matches", true},
      {"City State Zip", FieldKind::kCityStateZip, 0, "", "", true},
      {"no such field", FieldKind::kTerminator, 0, "", "", true},
  };
  for (const auto& c : cases) {
    CriteriaEditorModel model;
    model.line(1).conditionShown = true;
    model.line(1).relationText = "equals";
    model.line(1).conditionText = "old";
    model.setFieldText(1, c.field);
    EXPECT_EQ(model.fieldtype(1), c.kind) << c.field;
    EXPECT_EQ(model.line(1).relations.size(), c.count) << c.field;
    if (c.count > 0) {
      EXPECT_EQ(model.line(1).relations.front(), c.first) << c.field;
    }
    EXPECT_EQ(model.line(1).relationText, c.preselected) << c.field;
    EXPECT_EQ(model.line(1).conditionText, "") << c.field;
    EXPECT_EQ(model.line(1).conditionShown, c.conditionShown) << c.field;
  }
}

TEST(CriteriaEditorModelTest, RelationDecidesWhetherTheConditionShows) {
  CriteriaEditorModel model;
  model.setFieldText(1, "City");
  model.chooseRelation(1, "is blank");
  EXPECT_FALSE(model.line(1).conditionShown);
  model.chooseRelation(1, "contains");
  EXPECT_TRUE(model.line(1).conditionShown);
  model.chooseRelation(1, "is true");
  EXPECT_EQ(model.line(1).relationText, "") << "not offered for a text field";
}

TEST(CriteriaEditorModelTest, ConnectorTurnsFollowingLinesOnAndOff) {
  CriteriaEditorModel model;
  EXPECT_TRUE(model.line(1).inUse);
  EXPECT_FALSE(model.line(2).inUse);
  for (int n = 1; n <= 4; ++n) {
    model.setFieldText(n, "City");
    model.line(n).conditionText = "Town " + std::to_string(n);
    model.chooseConnector(n, 1);
  }
  EXPECT_TRUE(model.line(5).inUse);
  model.chooseConnector(3, 0);
  EXPECT_TRUE(model.line(3).inUse);
  EXPECT_FALSE(model.line(4).inUse);
  EXPECT_FALSE(model.line(5).inUse);
  EXPECT_EQ(model.line(4).connector, 0);
  model.chooseConnector(3, 1);
  EXPECT_TRUE(model.line(4).inUse);
  EXPECT_EQ(model.line(4).conditionText, "Town 4") << "texts stay while a line is off";
}

TEST(CriteriaEditorModelTest, EventTypeAlsoOffersFirstAndLast) {
  CriteriaEditorModel model;
  model.setFieldText(1, "Event Type");
  ASSERT_EQ(model.line(1).relations.size(), 19u);
  EXPECT_EQ(model.line(1).relations[16], "is a");
  EXPECT_EQ(model.line(1).relations[18], "is last");
  EXPECT_EQ(model.conditionPicker(1), ConditionPicker::kEventType);
  model.chooseRelation(1, "is first");
  model.line(1).conditionText = "Call";
  CriteriaEditorModel loaded;
  loaded.loadfromMemo(model.outputToMemo());
  EXPECT_EQ(loaded.line(1).relationText, "is first") << "a stored is first loads back";
}

TEST(CriteriaEditorModelTest, WarnsOfUserFieldsSavedForAnotherDatabase) {
  const struct {
    const char* name;
    const char* recordDb;
    std::vector<const char*> fields;  // lines 1, 2, ... joined by And
    bool warns;
  } cases[] = {
      {"user field, other database", "Clients", {"user 1 : User1"}, true},
      {"built-in date field", "Clients", {"DateCall"}, false},
      {"user date field", "Clients", {"Date 1 : Date1"}, true},
      {"numeric field on line 3", "Clients", {"City", "City", "NUM 2"}, true},
      {"same database", "Sales", {"User 1 : User1"}, false},
      {"database differs in case only", "SALES", {"Money 1 : Money1"}, true},
  };
  for (const auto& c : cases) {
    CriteriaEditorModel model;
    for (std::size_t i = 0; i < c.fields.size(); ++i) {
      if (i > 0) model.chooseConnector(static_cast<int>(i), 1);
      model.setFieldText(static_cast<int>(i) + 1, c.fields[i]);
    }
    const auto warning = model.otherDatabaseWarning(c.recordDb, "Sales");
    EXPECT_EQ(warning.has_value(), c.warns) << c.name;
  }
  CriteriaEditorModel model;
  model.setFieldText(1, "User 1 : User1");
  EXPECT_EQ(*model.otherDatabaseWarning("Clients", "Sales"),
            "Warning: The filter last modified for database Clients may contain user defined fields that do not "
            "match the current database Sales.  Filters may not work as expected.");
}

}  // namespace
}  // namespace vistrel::dialogs
