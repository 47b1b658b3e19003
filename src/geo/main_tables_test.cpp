// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/main_tables.h"

#include <gtest/gtest.h>

#include "fixture_data.h"
#include "host/tallis_schema.h"
#include "testing.h"

namespace vistrel::geo {
namespace {

TEST(MainTablesTest, ATableThatDoesNotOpenLeavesTheOthersOpen) {
  testing::TempDir dir;
  testing::makeFixtureDataDir(dir.path());
  host::Engine engine;  // without the contacts' password
  engine.setAlias("TALDB", dir.path());
  MainTables tables(engine);
  const host::Status s = tables.open();
  EXPECT_NE(s.message().find("CONTACT.DB"), std::string::npos) << s.ToString();
  EXPECT_TRUE(tables.marks().isOpen() && tables.databases().isOpen() && tables.settings().isOpen());
  EXPECT_EQ(tables.currentDatabase(), "Clients");
  EXPECT_TRUE(engine.knowsPassword(host::tallisTablePassword(host::TablePassword::kFilters)));
  const TallyOutcome failed = tallyForWindow(tables, "Sales", Analysis::kState);
  EXPECT_EQ(failed.step, TallyStep::kFailed);
  EXPECT_EQ(failed.status.message(),
            "CONTACT.DB: the table is not open (CONTACT.DB: the table is protected and its password was not given)");
}

TEST(MainTablesTest, WhatAnAnalysisClickComesTo) {
  testing::TempDir dir;
  testing::makeFixtureDataDir(dir.path());
  host::Engine engine;
  engine.setAlias("TALDB", dir.path());
  engine.addPassword(host::tallisTablePassword(host::TablePassword::kContacts));
  MainTables tables(engine);
  ASSERT_TRUE(tables.open().ok());
  struct Row {
    const char* name;
    const char* database;
    TallyStep step;
  };
  const Row rows[] = {
      {"values: a window", "Sales", TallyStep::kOpenWindow},
      {"no contacts: told", "Empty", TallyStep::kNoRecords},
      {"another database than the filter list's: its values", "Clients", TallyStep::kOpenWindow},
  };
  // As the filter list leaves them.
  tables.contacts().setFilterLines(databaseFilterLines("Sales"));
  ASSERT_TRUE(tables.contacts().setFiltered(true).ok());
  for (const Row& row : rows) {
    EXPECT_EQ(tallyForWindow(tables, row.database, Analysis::kZipCode).step, row.step) << row.name;
    EXPECT_TRUE(tables.contacts().hasRange()) << row.name << ": the range stays for the count";
  }
}

}  // namespace
}  // namespace vistrel::geo
