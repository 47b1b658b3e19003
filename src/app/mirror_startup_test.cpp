// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "app/mirror_startup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/demo_data.h"
#include "host/host_mirror.h"
#include "host/table.h"
#include "host/tallis_schema.h"
#include "testing.h"

namespace vistrel::app {
namespace {

namespace fs = std::filesystem;

void usePasswords(host::Engine& engine) {
  for (auto which : {host::TablePassword::kUsers, host::TablePassword::kContacts, host::TablePassword::kFilters}) {
    engine.addPassword(host::tallisTablePassword(which));
  }
}

// A Tallis directory made from demo data.
void makeHostDirectory(const fs::path& demo, const fs::path& host) {
  host::Engine engine;
  usePasswords(engine);
  engine.setAlias("D", demo);
  ASSERT_TRUE(host::Engine::createDataDirectory(demo).ok());
  ASSERT_TRUE(host::createTallisTables(engine, "D").ok());
  DemoOptions options;
  options.contacts = 200;
  ASSERT_TRUE(fillDemoData(engine, "D", options).ok());
  ASSERT_TRUE(host::exportParadoxTables(engine, "D", host).ok());
}

TEST(MirrorStartupTest, TallisDirectoryIsCopiedAndTaldbPointsAtTheCopy) {
  testing::TempDir dir;
  makeHostDirectory(dir / "demo", dir / "tallis");
  host::Engine engine;
  usePasswords(engine);
  engine.setAlias(host::kTallisAlias, dir / "tallis");
  ASSERT_TRUE(engine.setPrivateDir(dir / "priv").ok());
  std::int64_t lastDone = -1, lastTotal = -1;
  std::vector<std::string> copied;
  const MirrorStartup first = mirrorHostTablesAtStartup(
      engine,
      [&](std::int64_t done, std::int64_t total) {
        lastDone = done;
        lastTotal = total;
      },
      [&](const std::string& table) { copied.push_back(table); });
  ASSERT_TRUE(first.haveCopy);
  EXPECT_EQ(lastDone, lastTotal);
  EXPECT_NE(std::find(copied.begin(), copied.end(), "CONTACT.DB"), copied.end());
  EXPECT_GT(lastTotal, 200);
  EXPECT_EQ(*engine.aliasDirectory(host::kTallisAlias), dir / "priv" / "TALDB");
  host::Table users(engine, std::string(host::kTallisAlias), "USERPREF.DB");
  ASSERT_TRUE(users.open().ok());
  EXPECT_TRUE(*users.findKey({"DEM"}));
  EXPECT_EQ(first.error + first.warning, "");
  users.close();
  engine.closeStores();

  // A damaged table is named; the program goes on with its previous copy.
  const std::string contact = testing::readFile(dir / "tallis" / "CONTACT.DB");
  testing::writeFile(dir / "tallis" / "CONTACT.DB", contact.substr(0, 1000));
  host::Engine second;
  second.setAlias(host::kTallisAlias, dir / "tallis");
  ASSERT_TRUE(second.setPrivateDir(dir / "priv").ok());
  const MirrorStartup damaged = mirrorHostTablesAtStartup(second, nullptr);
  EXPECT_TRUE(damaged.haveCopy);
  EXPECT_NE(damaged.warning.find("CONTACT.DB: the file is cut short"), std::string::npos) << damaged.warning;

  // A data directory of this program is used as it is.
  host::Engine third;
  third.setAlias(host::kTallisAlias, dir / "demo");
  EXPECT_TRUE(mirrorHostTablesAtStartup(third, nullptr).haveCopy);
  EXPECT_EQ(*third.aliasDirectory(host::kTallisAlias), dir / "demo");
}

}  // namespace
}  // namespace vistrel::app
