// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "filter/filter_store.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <functional>

#include "fixture_data.h"
#include "host/tallis_schema.h"
#include "testing.h"

namespace vistrel::filter {
namespace {

bool contains(const std::string& text, std::string_view part) { return text.find(part) != std::string::npos; }

// A duplicate description has its own code and message; every other failure
// of a write (here a store another program is writing) passes through with
// its own reason and writes nothing.
TEST(FilterStoreTest, WritesTellADuplicateFromOtherFailures) {
  testing::TempDir dir;
  testing::makeFixtureDataDir(dir.path());
  host::Engine engine;
  engine.setBusyTimeout(std::chrono::milliseconds(0));
  engine.setAlias(host::kTallisAlias, dir.path());
  engine.addPassword(host::tallisTablePassword(host::TablePassword::kFilters));
  const host::FixedClock clock(45427.0);
  const StoredFilter texas{"Texas", "Sales", "DEM", "CONTACT", "text", ""};
  ASSERT_TRUE(addFilter(engine, texas, clock).ok());

  const struct {
    const char* name;
    bool busy;  // another connection holds the write lock meanwhile
    std::function<host::Status()> write;
    host::StatusCode code;
    const char* message;
  } cases[] = {
      {"add a duplicate", false, [&] { return addFilter(engine, texas, clock); }, host::StatusCode::kAlreadyExists,
       "Description already exists in system.  Try a different one."},
      {"copy onto a duplicate", false, [&] { return copyFilter(engine, "Texas", "Texas", clock); },
       host::StatusCode::kAlreadyExists, "Unable to copy filter: Description already exists in system."},
      {"add while busy", true, [&] { return addFilter(engine, {"Ohio", "Sales", "DEM", "CONTACT", "t", ""}, clock); },
       host::StatusCode::kBusy, "the store is busy: another program is writing; try again"},
      {"copy while busy", true, [&] { return copyFilter(engine, "Texas", "Ohio", clock); }, host::StatusCode::kBusy,
       "Unable to copy filter: " },
      {"change while busy", true,
       [&] {
         StoredFilter changed = *findFilter(engine, "Texas");
         changed.db = "Clients";
         return saveFilter(engine, changed, clock).status();
       },
       host::StatusCode::kBusy, "the store is busy: another program is writing; try again"},
  };
  for (const auto& c : cases) {
    sqlite3* holder = nullptr;
    if (c.busy) {
      ASSERT_EQ(sqlite3_open((dir.path() / host::kDataFileName).c_str(), &holder), SQLITE_OK);
      ASSERT_EQ(sqlite3_exec(holder, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    }
    const host::Status s = c.write();
    if (holder != nullptr) {
      sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr);
      sqlite3_close(holder);
    }
    EXPECT_EQ(s.code(), c.code) << c.name << ": " << s.ToString();
    EXPECT_TRUE(contains(s.message(), c.message)) << c.name << ": " << s.message();
    if (c.busy) EXPECT_FALSE(contains(s.message(), "already exists")) << c.name << ": " << s.message();
  }
  auto rows = listFilters(engine);
  ASSERT_TRUE(rows.ok());
  ASSERT_EQ(rows->size(), 1u) << "nothing was written";
  EXPECT_EQ((*rows)[0].db, "Sales");
}

}  // namespace
}  // namespace vistrel::filter
