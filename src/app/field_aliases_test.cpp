// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "app/field_aliases.h"

#include <gtest/gtest.h>

#include "fixture_data.h"
#include "host/field_catalog.h"
#include "host/table.h"
#include "host/tallis_schema.h"
#include "testing.h"

namespace vistrel::app {
namespace {

std::string aliasOf(std::string_view name) {
  for (const auto& e : host::FieldCatalog()) {
    if (e.name == name) return e.alias;
  }
  return "?";
}

TEST(FieldAliasesTest, StoredAliasesAndNamesForTheRest) {
  testing::TempDir dir;
  testing::makeFixtureDataDir(dir.path());
  host::Engine engine;
  engine.setAlias(host::kTallisAlias, dir.path());
  {
    host::Table settings(engine, std::string(host::kTallisAlias), std::string(host::kSettingsTableName));
    ASSERT_TRUE(settings.open().ok());
    ASSERT_TRUE(settings.insert().ok());
    ASSERT_TRUE(settings.fieldByName("Name")->setText("Date1").ok());
    ASSERT_TRUE(settings.fieldByName("Value")->setText("Birthday").ok());
    ASSERT_TRUE(settings.post().ok());
  }
  ASSERT_TRUE(loadFieldAliases(engine).ok());
  EXPECT_EQ(aliasOf("Date1"), "Birthday");
  EXPECT_EQ(aliasOf("Num1"), "Num1");
  EXPECT_EQ(host::fieldDisplayText(host::FindFieldByAlias("Birthday")), "Date 1 : Birthday");

  host::Engine nowhere;
  nowhere.setAlias(host::kTallisAlias, dir.path() / "missing");
  EXPECT_FALSE(loadFieldAliases(nowhere).ok());
  EXPECT_EQ(aliasOf("Date1"), "Date1");
}

}  // namespace
}  // namespace vistrel::app
