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
  EXPECT_EQ(tallyForWindow(tables.contacts(), "Sales", Analysis::kState, true).step, TallyStep::kFailed);
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
    bool openWindow;
    TallyStep step;
  };
  const Row rows[] = {
      {"values: a window", "Sales", true, TallyStep::kOpenWindow},
      {"switch off: lists only", "Sales", false, TallyStep::kListsOnly},
      {"no contacts, switch off: still told", "Empty", false, TallyStep::kNoRecords},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(tallyForWindow(tables.contacts(), row.database, Analysis::kZipCode, row.openWindow).step, row.step)
        << row.name;
    EXPECT_TRUE(tables.contacts().hasRange()) << row.name << ": the range stays for the count";
  }
}

}  // namespace
}  // namespace vistrel::geo
