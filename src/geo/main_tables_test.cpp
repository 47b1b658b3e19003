// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/main_tables.h"

#include <gtest/gtest.h>

#include "fixture_data.h"
#include "host/tallis_schema.h"
#include "testing.h"

namespace vistrel::geo {
namespace {

class MainTablesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::makeFixtureDataDir(dir_.path());
    engine_.setAlias("TALDB", dir_.path());
    engine_.addPassword(host::tallisTablePassword(host::TablePassword::kUsers));
  }

  testing::TempDir dir_;
  host::Engine engine_;
};

TEST_F(MainTablesTest, OpensAllFiveAndStartsOnTheFirstDatabase) {
  engine_.addPassword(host::tallisTablePassword(host::TablePassword::kContacts));
  MainTables tables(engine_);
  const host::Status s = tables.open();
  ASSERT_TRUE(s.ok()) << s.ToString();
  for (host::Table* t : {&tables.marks(), &tables.databases(), &tables.contacts(), &tables.popup(),
                         &tables.settings()}) {
    EXPECT_TRUE(t->isOpen()) << t->tableName();
  }
  EXPECT_EQ(tables.contacts().indexName(), "LastFirst");
  EXPECT_EQ(tables.currentDatabase(), "Clients");
  EXPECT_TRUE(engine_.knowsPassword(host::tallisTablePassword(host::TablePassword::kFilters)));
}

TEST_F(MainTablesTest, ATableThatDoesNotOpenLeavesTheOthersOpen) {
  // The contacts' password was never given.
  MainTables tables(engine_);
  const host::Status s = tables.open();
  EXPECT_FALSE(s.ok());
  EXPECT_NE(s.message().find("CONTACT.DB"), std::string::npos) << s.message();
  EXPECT_FALSE(tables.contacts().isOpen());
  EXPECT_TRUE(tables.databases().isOpen());
  EXPECT_TRUE(tables.settings().isOpen());
  EXPECT_EQ(tables.currentDatabase(), "Clients");

  const TallyOutcome t = tallyForWindow(tables.contacts(), "Sales", Analysis::kState, true);
  EXPECT_EQ(t.step, TallyStep::kFailed);
  EXPECT_FALSE(t.status.message().empty());
}

TEST_F(MainTablesTest, WhatAnAnalysisClickComesTo) {
  engine_.addPassword(host::tallisTablePassword(host::TablePassword::kContacts));
  MainTables tables(engine_);
  ASSERT_TRUE(tables.open().ok());
  struct Row {
    const char* name;
    const char* database;
    Analysis kind;
    bool openWindow;
    TallyStep step;
    std::size_t values;
  };
  const Row rows[] = {
      {"values: a window", "Sales", Analysis::kState, true, TallyStep::kOpenWindow, 7},
      {"switch off: lists only", "Sales", Analysis::kZipCode, false, TallyStep::kListsOnly, 7},
      {"no contacts", "Empty", Analysis::kCountry, true, TallyStep::kNoRecords, 0},
      {"no contacts, switch off: still told", "Empty", Analysis::kCountry, false, TallyStep::kNoRecords, 0},
      {"one contact", "Clients", Analysis::kCountry, true, TallyStep::kOpenWindow, 1},
      {"unknown database", "Nowhere", Analysis::kState, true, TallyStep::kNoRecords, 0},
  };
  for (const Row& row : rows) {
    const TallyOutcome t = tallyForWindow(tables.contacts(), row.database, row.kind, row.openWindow);
    EXPECT_EQ(t.step, row.step) << row.name;
    EXPECT_EQ(t.result.values.size(), row.values) << row.name;
    EXPECT_TRUE(tables.contacts().hasRange()) << row.name << ": the range stays for the count";
  }
}

}  // namespace
}  // namespace vistrel::geo
