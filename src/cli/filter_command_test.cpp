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

std::string line(const char* field, int condition, const std::string& value, int connector) {
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
  EXPECT_NE(refused.err.find("The condition for criteria 1 requires a value"), std::string::npos) << refused.err;

  EXPECT_EQ(filter({"copy", "--name", "Texas", "--as", "Texas 2"}).code, 0);
  const CliRun twice = filter({"copy", "--name", "Texas", "--as", "Texas 2"});
  EXPECT_EQ(twice.code, 1);
  EXPECT_NE(twice.err.find("Unable to copy filter"), std::string::npos);
  EXPECT_EQ(filter({"delete", "--name", "Texas 2"}).code, 0);
  EXPECT_EQ(filter({"list", "--format", "csv"}).out, "description,db,who\r\nTexas,Sales,DEM\r\n");
  EXPECT_EQ(filter({"list", "--who", "ABC", "--format", "json"}).out, "[]\n");
}

// A definition is stored as written or refused with the criterion and the
// reason, and so are the name and the user id; a refused one stores nothing.
TEST_F(FilterCommandTest, AddRefusesWhatItCannotStoreAsWritten) {
  std::string eleven;
  for (int i = 1; i <= 11; ++i) eleven += line("City", 5, "x", i < 11 ? 1 : 0);
  const auto with = [](std::string text, const char* from, const char* to) {
    text.replace(text.find(from), std::string_view(from).size(), to);
    return text;
  };
  const std::string city = line("City", 5, "Boston", 0);
  const struct {
    const char* name;
    std::string definition;
    const char* message;
    std::string shortname = "Refused";
    std::string who = "DEM";
  } cases[] = {
      {"category expression that does not compile", line("Category", 11, "A AND(B)", 0),
       "Criteria 1: A was unexpected in A AND(B)"},
      {"category expression without its last operand", line("Category", 11, "A or", 0),
       "Criteria 1: O was unexpected in A OR"},
      {"eleven lines", eleven, "Criteria 11: a filter holds at most 10 criteria"},
      {"seven parentheses", with(city, "openpara(0)", "openpara(7)"), "Criteria 1: openpara(7)"},
      {"connector 7", with(city, "and(0)", "and(7)"), "Criteria 1: and(7)"},
      {"connector -1 before a further line", with(city, "and(0)", "and(-1)") + city, "Criteria 1: and(-1)"},
      {"a lone closing parenthesis", line("Last Name", 5, "Smith)Jr", 0), "a \")\" in a value needs its \"(\""},
      {"a lone opening parenthesis", line("Last Name", 5, "Smith (Jr", 0), "has a \"(\" without its \")\""},
      {"a word TODAY cannot read", line("Date 1", 18, "TODAY garbage", 0), "\"garbage\" is no offset"},
      {"an offset of unknown unit", line("Date 1", 18, "TODAY +1qq", 0), "\"+1qq\" is no offset"},
      {"a NUL byte", line("City", 5, std::string("Bos\0ton", 7), 0), "control character (code 0)"},
      {"bytes that are not UTF-8", line("City", 5, "Z\xFCrich", 0), "not UTF-8"},
      {"an unknown field", line("Shoe Size", 5, "9", 0), "Criteria 1: there is no field \"Shoe Size\""},
      {"a relation State does not offer", line("State", 18, "TX", 0),
       "Criteria 1: the relation \"is on or before\" is not offered for State"},
      {"a name with a line break", city, "The description holds a line break.", "Tex\nans"},
      {"a name with a control character", city, "The description holds a control character", "Tex\x01"},
      {"a name that is not UTF-8", city, "The description holds a byte that is not UTF-8", "Z\xFCrich"},
      {"a name longer than its column", city, "The description is longer than 100 characters.",
       std::string(101, 'n')},
      {"a user id of four", city, "The user id \"DEMO\" is longer than 3 characters.", "Refused", "DEMO"},
  };
  for (const auto& c : cases) {
    const auto file = dir_ / "definition.txt";
    testing::writeFile(file, c.definition);
    const CliRun r = filter({"add", "--database", "Sales", "--name", c.shortname, "--who", c.who, "--definition",
                             file.string()});
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
  const CliRun longWho = filter({"count", "--database", "Sales", "--name", "Texas", "--who", "DEMO"});
  EXPECT_EQ(longWho.code, 1) << "a user id is refused, not cut";
  EXPECT_NE(longWho.err.find("The user id \"DEMO\" is longer than 3 characters."), std::string::npos) << longWho.err;

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
