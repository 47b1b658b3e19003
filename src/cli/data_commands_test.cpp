// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <sstream>

#include "cli/command.h"
#include "cli_testing.h"
#include "cli/data_dir.h"
#include "host/table.h"
#include "testing.h"

namespace vistrel::cli {
namespace {

using testing::CliRun;
using testing::runTool;

std::int64_t contactsIn(const std::filesystem::path& dir, const std::string& db) {
  host::Engine engine;
  useDataDirectory(engine, dir);
  host::Table t(engine, "TALDB", "CONTACT.DB");
  t.setIndexName("LastFirst");
  if (!t.open().ok() || !t.setRange({db}, {db}).ok()) return -1;
  return *t.recordCount();
}

TEST(InitCommandTest, DemoDataIsDeterministicAndSpreadOverThreeDatabases) {
  testing::TempDir dir;
  const CliRun a = runTool({"init", "--data", (dir / "a").string(), "--demo", "--contacts", "2000", "--seed", "7"});
  ASSERT_EQ(a.code, 0) << a.err;
  const CliRun b = runTool({"init", "--data", (dir / "b").string(), "--demo", "--contacts", "2000", "--seed", "7"});
  ASSERT_EQ(b.code, 0) << b.err;
  const std::int64_t sales = contactsIn(dir / "a", "Sales");
  const std::int64_t clients = contactsIn(dir / "a", "Clients");
  const std::int64_t prospects = contactsIn(dir / "a", "Prospects");
  EXPECT_EQ(sales + clients + prospects, 2000);
  EXPECT_GT(sales, clients);
  EXPECT_GT(clients, prospects);
  EXPECT_GT(prospects, 0);
  EXPECT_EQ(contactsIn(dir / "b", "Sales"), sales) << "the same seed gives the same data";

  host::Engine engine;
  useDataDirectory(engine, dir / "a");
  host::Table t(engine, "TALDB", "CONTACT.DB");
  ASSERT_TRUE(t.open().ok());
  int zipPlus4 = 0, lowerState = 0, foreign = 0, blankZip = 0;
  for (auto s = t.first(); s.ok() && !t.eof(); s = t.next()) {
    const std::string zip = t.fieldByName("Zip")->asText();
    const std::string state = t.fieldByName("State")->asText();
    const std::string country = t.fieldByName("Country")->asText();
    zipPlus4 += zip.size() == 10 && zip[5] == '-';
    blankZip += zip.empty();
    lowerState += !state.empty() && state[0] >= 'a' && state[0] <= 'z';
    foreign += country == "Canada" || country == "Germany" || country == "Japan";
  }
  EXPECT_GT(zipPlus4, 0);
  EXPECT_GT(lowerState, 0);
  EXPECT_GT(foreign, 0);
  EXPECT_GT(blankZip, 0);
}

TEST(InitCommandTest, RefusesExistingDataAndBadOptions) {
  testing::TempDir dir;
  EXPECT_EQ(runTool({"init", "--data", dir.path().string()}).code, 0);
  const CliRun again = runTool({"init", "--data", dir.path().string()});
  EXPECT_EQ(again.code, 1);
  EXPECT_NE(again.err.find("already holds Tallis data"), std::string::npos);
  EXPECT_EQ(runTool({"init"}).code, 2);
  EXPECT_EQ(runTool({"init", "--data", "x", "--contacts", "many"}).code, 2);
  EXPECT_EQ(runTool({"init", "--data", "x", "--bogus"}).code, 2);
}

TEST(ImportCommandTest, AppendsAllOrNothing) {
  testing::TempDir dir;
  ASSERT_EQ(runTool({"init", "--data", dir.path().string()}).code, 0);
  testing::writeFile(dir / "good.csv",
                     "lastname,FIRSTNAME,City,State,Zip,Date1\r\n"
                     "Smith,Ann,Boston,MA,02134,3/1/1980\r\n"
                     "\"O'Neil, Jr\",Bob,\"Chicago\",IL,60614-1234,\r\n");
  const CliRun ok =
      runTool({"import", "--data", dir.path().string(), "--database", "Mail", (dir / "good.csv").string()});
  ASSERT_EQ(ok.code, 0) << ok.err;
  EXPECT_EQ(contactsIn(dir.path(), "Mail"), 2);

  struct Bad {
    const char* name;
    const char* csv;
    const char* message;
  };
  const Bad bad[] = {
      {"unknown column", "LastName,Shoe Size\nX,9\n", "unknown column 'Shoe Size'"},
      {"wrong field count", "LastName,City\nA,B\nC\n", "line 3"},
      {"unclosed quote", "LastName,City\nA,\"B\n", "not closed"},
      {"bad date", "LastName,Date1\nA,1/1/2000\nB,31/31/2000\n", "line 3, column Date1"},
      {"duplicate recno", "Recno,LastName\nR1,A\nR1,B\n", "line 3"},
      {"other database", "LastName,DB\nA,Sales\n", "column DB"},
  };
  for (const Bad& b : bad) {
    testing::writeFile(dir / "bad.csv", b.csv);
    const CliRun r =
        runTool({"import", "--data", dir.path().string(), "--database", "Mail", (dir / "bad.csv").string()});
    EXPECT_EQ(r.code, 1) << b.name;
    EXPECT_NE(r.err.find(b.message), std::string::npos) << b.name << ": " << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << b.name << ": one line";
    EXPECT_EQ(contactsIn(dir.path(), "Mail"), 2) << b.name << ": nothing added";
  }
  EXPECT_EQ(runTool({"import", "--data", dir.path().string(), "--database", "Mail", (dir / "none.csv").string()}).code,
            1);
}

}  // namespace
}  // namespace vistrel::cli
