// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <sstream>

#include "cli/command.h"
#include "cli_testing.h"
#include "filter/filter_store.h"
#include "fixture_data.h"
#include "testing.h"

namespace vistrel::cli {
namespace {

using testing::CliRun;
using testing::runTool;

std::string line(const char* field, int condition, const char* value, int connector) {
  return std::string("database(Contact) field(") + field + ") condition(" + std::to_string(condition) + ") value(" +
         value + ") casebox(FALSE) yearbox(FALSE) daybox(FALSE) punctbox(FALSE) openpara(0) closepara(0) and(" +
         std::to_string(connector) + ")\n";
}

class FilterCommandTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::makeFixtureDataDir(data_); }
  CliRun filter(std::vector<std::string> args) {
    args.insert(args.begin(), "filter");
    args.insert(args.begin() + 2, {"--data", data_.string()});
    return runTool(args);
  }
  CliRun add(const std::string& name, const std::string& definition) {
    const auto file = dir_ / (name + ".txt");
    testing::writeFile(file, definition);
    return filter({"add", "--database", "Sales", "--name", name, "--who", "DEM", "--definition", file.string()});
  }
  testing::TempDir dir_;
  std::filesystem::path data_ = dir_ / "data";
};

TEST_F(FilterCommandTest, SavedFiltersAreAddedShownCopiedAndDeleted) {
  const std::string texas = line("State", 5, "tx", 2) + line("State", 5, "Texas", 0);
  ASSERT_EQ(add("Texas", texas).code, 0);
  EXPECT_EQ(filter({"show", "--name", "Texas"}).out, texas);

  const CliRun again = add("Texas", texas);
  EXPECT_EQ(again.code, 1);
  EXPECT_NE(again.err.find("Description already exists in system.  Try a different one."), std::string::npos);

  const CliRun refused = add("Broken", line("Last Name", 5, "", 0));
  EXPECT_EQ(refused.code, 1);
  EXPECT_NE(refused.err.find("The condition for Last Name is blank."), std::string::npos) << refused.err;

  EXPECT_EQ(filter({"copy", "--name", "Texas", "--as", "Texas 2"}).code, 0);
  const CliRun twice = filter({"copy", "--name", "Texas", "--as", "Texas 2"});
  EXPECT_EQ(twice.code, 1);
  EXPECT_NE(twice.err.find("Unable to copy filter"), std::string::npos);
  EXPECT_EQ(filter({"delete", "--name", "Texas 2"}).code, 0);
  EXPECT_EQ(filter({"list", "--format", "csv"}).out, "description,db,who\r\nTexas,Sales,DEM\r\n");
  EXPECT_EQ(filter({"list", "--who", "ABC", "--format", "json"}).out, "[]\n");
}

// A definition is stored as written or refused with the line and the
// reason; a refused one stores nothing.
TEST_F(FilterCommandTest, AddRefusesWhatItCannotStoreAsWritten) {
  const struct {
    const char* name;
    std::string definition;
    const char* message;
  } cases[] = {
      {"category expression that does not compile", line("Category", 11, "A AND(B)", 0),
       "Criteria 1: A was unexpected in A AND(B)"},
      {"category expression without its last operand", line("Category", 11, "A or", 0),
       "Criteria 1: O was unexpected in A OR"},
  };
  for (const auto& c : cases) {
    const CliRun r = add("Refused", c.definition);
    EXPECT_EQ(r.code, 1) << c.name;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.name << ": " << r.err;
  }
  EXPECT_EQ(filter({"list", "--format", "csv"}).out, "description,db,who\r\n") << "nothing was stored";
}

TEST_F(FilterCommandTest, CountsContactsAndEvents) {
  ASSERT_EQ(add("Texas", line("State", 5, "tx", 2) + line("State", 5, "Texas", 0)).code, 0);
  const CliRun count = filter({"count", "--database", "sales", "--name", "Texas", "--format", "json"});
  ASSERT_EQ(count.code, 0) << count.err;
  EXPECT_EQ(count.out,
            "{\"database\": \"Sales\", \"filter\": \"Texas\", \"reverse\": false, \"table\": \"contact\", "
            "\"matches\": 2, \"nonMatches\": 11, \"total\": 13}\n");
  const CliRun reverse = filter({"count", "--database", "Sales", "--name", "Texas", "--reverse", "--format", "csv"});
  EXPECT_NE(reverse.out.find("Sales,Texas,true,contact,11,2,13"), std::string::npos) << reverse.out;

  const auto events = dir_ / "events.csv";
  testing::writeFile(events, "recno,TYPE,Completed\nR8,CALL,True\nR8,LETTER,False\nR9,CALL,False\n");
  const CliRun imported =
      runTool({"import", "--data", data_.string(), "--database", "Sales", "--events", events.string()});
  ASSERT_EQ(imported.code, 0) << imported.err;
  ASSERT_EQ(add("Calls", "database(Event) field(Event Type) condition(21) value(CALL) casebox(FALSE) yearbox(FALSE) "
                         "daybox(FALSE) punctbox(FALSE) openpara(0) closepara(0) and(0)\n")
                .code,
            0);
  const CliRun onEvents =
      filter({"count", "--database", "Sales", "--name", "Calls", "--table", "event", "--format", "csv"});
  EXPECT_NE(onEvents.out.find("Sales,Calls,false,event,2,1,3"), std::string::npos) << onEvents.out << onEvents.err;
}

TEST_F(FilterCommandTest, AnalyseSeesOnlyTheSelectedContacts) {
  ASSERT_EQ(add("Texas", line("State", 5, "tx", 2) + line("State", 5, "Texas", 0)).code, 0);
  const CliRun r = runTool({"analyse", "--data", data_.string(), "--database", "Sales", "--by", "state", "--count",
                        "--format", "json", "--filter", "Texas"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out,
            "{\"database\": \"Sales\", \"filter\": \"Texas\", \"analysis\": \"state\", \"values\": "
            "[{\"key\": \"TX\", \"count\": 2}], \"others\": [], \"total\": 2, \"complete\": true}\n");
  const CliRun missing = runTool({"analyse", "--data", data_.string(), "--database", "Sales", "--by", "state",
                              "--filter", "Nothing"});
  EXPECT_EQ(missing.code, 1);
  EXPECT_NE(missing.err.find("no filter 'Nothing'"), std::string::npos) << missing.err;
}

TEST_F(FilterCommandTest, EventImportIsAllOrNothing) {
  const struct {
    const char* name;
    const char* csv;
    const char* message;
  } cases[] = {
      {"unknown contact", "Recno,Type\nR8,CALL\nR99,CALL\n", "line 3, column Recno: no contact 'R99' in database 'Sales'"},
      {"contact of another database", "Recno,Type\nR14,CALL\n", "line 2, column Recno: no contact 'R14'"},
      {"no Recno column", "Type\nCALL\n", "the column Recno"},
      {"unknown column", "Recno,Shoe\nR8,9\n", "line 1: unknown column 'Shoe'"},
      {"bad logical", "Recno,Completed\nR8,maybe\n", "line 2, column Completed"},
  };
  for (const auto& c : cases) {
    const auto file = dir_ / "events.csv";
    testing::writeFile(file, c.csv);
    const CliRun r = runTool({"import", "--data", data_.string(), "--database", "Sales", "--events", file.string()});
    EXPECT_EQ(r.code, 1) << c.name;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.name << ": " << r.err;
  }
  ASSERT_EQ(add("Any event", line("Event Type", 10, "", 0)).code, 0);
  const CliRun count = filter({"count", "--database", "Sales", "--name", "Any event", "--format", "csv"});
  EXPECT_NE(count.out.find(",0,13,13"), std::string::npos) << "nothing was imported: " << count.out;
}

}  // namespace
}  // namespace vistrel::cli
