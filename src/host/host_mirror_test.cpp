// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/host_mirror.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "host/date_time.h"
#include "host/store.h"
#include "host/table.h"
#include "host/tallis_schema.h"
#include "testing.h"

namespace vistrel::host {
namespace {

namespace fs = std::filesystem;
using Outcome = MirrorTableResult::Outcome;

void usePasswords(Engine& engine) {
  for (auto which : {TablePassword::kUsers, TablePassword::kContacts, TablePassword::kFilters}) {
    engine.addPassword(tallisTablePassword(which));
  }
}

void addRow(Engine& engine, const fs::path& dir, const std::string& table,
            const std::vector<std::pair<std::string, Value>>& values) {
  Engine e;
  usePasswords(e);
  e.setAlias("D", dir);
  Table t(e, "D", table);
  ASSERT_TRUE(t.open().ok());
  ASSERT_TRUE(t.insert().ok());
  for (const auto& [name, v] : values) {
    ASSERT_NE(t.fieldByName(name), nullptr) << name;
    ASSERT_TRUE(t.fieldByName(name)->setValue(v).ok()) << name;
  }
  ASSERT_TRUE(t.post().ok());
}

// A data directory with values at the edges of what the Paradox files hold.
void makeSource(const fs::path& dir) {
  Engine engine;
  ASSERT_TRUE(Engine::createDataDirectory(dir).ok());
  engine.setAlias("D", dir);
  ASSERT_TRUE(createTallisTables(engine, "D").ok());
  const std::string memo = std::string(400, 'w') + " Stra\xC3\x9F" "e";
  addRow(engine, dir, "CONTACT.DB",
         {{"Recno", "C000000001"}, {"DB", "Sales"}, {"FirstName", "Jos\xC3\xA9"}, {"LastName", "M\xC3\xBCller"},
          {"State", "CA"}, {"Date1", *encodeDate(1850, 3, 1)}, {"DateAdded", *encodeDate(2050, 1, 1)},
          {"TimeAdded", encodeTime(13, 14, 15)}, {"Num1", 0.0}, {"Money1", 12.5}, {"Marked", 1},
          {"LastLetterNo", 42}, {"Memo", memo}});
  addRow(engine, dir, "CONTACT.DB", {{"Recno", "C000000002"}, {"DB", "Sales"}, {"State", "NY"}});
  addRow(engine, dir, "event.db",
         {{"ERecno", "E000000001"}, {"Recno", "C000000001"}, {"DB", "Sales"}, {"Type", "CALL"},
          {"EventDate", *encodeDate(1999, 12, 31)}, {"EventTime", encodeTime(23, 59, 58)}, {"Completed", 0},
          {"Memo", memo}});
  addRow(engine, dir, "Select.DB",
         {{"Shortname", "California contacts"}, {"DB", "Sales"}, {"FRecno", "F1"}, {"Selection", memo}});
  addRow(engine, dir, "holiday.DB", {{"date", *encodeDate(2026, 7, 4)}, {"global", 1}, {"name", "Independence Day"}});
}

using Rows = std::vector<std::vector<Value>>;

// Every row of a table, ordered by all its columns; empty texts read as null,
// as Paradox keeps them.
Rows dump(const fs::path& dir, const std::string& table) {
  Engine engine;
  engine.setAlias("D", dir);
  auto store = engine.store("D");
  EXPECT_TRUE(store.ok());
  auto meta = (*store)->table(table);
  EXPECT_TRUE(meta.ok());
  std::string order;
  for (std::size_t i = 1; i <= (*meta)->columns.size(); ++i) order += (i > 1 ? "," : "") + std::to_string(i);
  auto st = (*store)->prepare("SELECT * FROM " + quoteIdent((*meta)->sqlName) + " ORDER BY " + order, table);
  Rows rows;
  while (sqlite3_step(*st) == SQLITE_ROW) {
    std::vector<Value> row;
    for (int c = 0; c < sqlite3_column_count(*st); ++c) {
      switch (sqlite3_column_type(*st, c)) {
        case SQLITE_INTEGER: row.emplace_back(static_cast<std::int64_t>(sqlite3_column_int64(*st, c))); break;
        case SQLITE_FLOAT: row.emplace_back(sqlite3_column_double(*st, c)); break;
        case SQLITE_TEXT: {
          const std::string t = reinterpret_cast<const char*>(sqlite3_column_text(*st, c));
          row.push_back(t.empty() ? Value() : Value(t));
          break;
        }
        default: row.emplace_back();
      }
    }
    rows.push_back(row);
  }
  sqlite3_finalize(*st);
  return rows;
}

Status exportTo(const fs::path& from, const fs::path& to, const std::vector<std::string>& tables = {}) {
  Engine engine;
  usePasswords(engine);
  engine.setAlias("D", from);
  ExportOptions options;
  options.tables = tables;
  options.force = true;
  return exportParadoxTables(engine, "D", to, options).status();
}

TEST(HostMirrorTest, ExportedDirectoryMirrorsBackToTheSameValues) {
  testing::TempDir dir;
  makeSource(dir / "src");
  ASSERT_TRUE(exportTo(dir / "src", dir / "host").ok());
  EXPECT_TRUE(isHostDirectory(dir / "host"));
  EXPECT_FALSE(isHostDirectory(dir / "src"));
  auto results = mirrorHostTables(dir / "host", dir / "copy");
  ASSERT_TRUE(results.ok()) << results.status().message();
  EXPECT_EQ(mirrorProblems(*results), "");
  for (const TableDef& def : tallisTableDefs()) {
    const Rows want = dump(dir / "src", def.name);
    const Rows got = dump(dir / "copy", def.name);
    ASSERT_EQ(got.size(), want.size()) << def.name;
    for (std::size_t r = 0; r < want.size(); ++r) {
      for (std::size_t c = 0; c < want[r].size(); ++c) {
        const bool same = want[r][c].kind() == Value::Kind::kReal && got[r][c].kind() == Value::Kind::kReal
                              ? std::abs(want[r][c].real() - got[r][c].real()) < 1e-9
                              : want[r][c] == got[r][c];
        EXPECT_TRUE(same) << def.name << " row " << r << " column " << def.columns[c].name << ": '"
                          << got[r][c].text() << "' " << got[r][c].real();
      }
    }
  }
}

TEST(HostMirrorTest, RefreshCopiesChangedTablesKeepsOwnFiltersAndSurvivesDamage) {
  testing::TempDir dir;
  makeSource(dir / "src");
  ASSERT_TRUE(exportTo(dir / "src", dir / "host").ok());
  ASSERT_TRUE(mirrorHostTables(dir / "host", dir / "copy").ok());
  auto again = mirrorHostTables(dir / "host", dir / "copy");
  ASSERT_TRUE(again.ok());
  for (const auto& r : *again) EXPECT_EQ(r.outcome, Outcome::kUnchanged) << r.table;

  // A filter saved here, then one saved in Tallis under the same description.
  Engine engine;
  addRow(engine, dir / "copy", "Select.DB", {{"Shortname", "Mine"}, {"FRecno", "V1"}, {"Selection", "x"}});
  addRow(engine, dir / "src", "Select.DB", {{"Shortname", "Mine"}, {"FRecno", "F2"}, {"Selection", "y"}});
  ASSERT_TRUE(exportTo(dir / "src", dir / "host", {"Select"}).ok());
  auto refreshed = mirrorHostTables(dir / "host", dir / "copy");
  ASSERT_TRUE(refreshed.ok());
  EXPECT_EQ((*refreshed)[5].outcome, Outcome::kCopied);
  EXPECT_EQ((*refreshed)[0].outcome, Outcome::kUnchanged);
  const Rows filters = dump(dir / "copy", "Select.DB");
  ASSERT_EQ(filters.size(), 3u);
  EXPECT_EQ(filters[1][0].text(), "Mine");
  EXPECT_EQ(filters[1][5].text(), "V1");
  EXPECT_EQ(filters[2][0].text(), "Mine (Tallis)");
  EXPECT_EQ(filters[2][5].text(), "F2");

  // An edit that keeps the file's size and modification time (a coarse
  // clock, or one set back) is seen all the same.
  const fs::path holidays = dir / "host" / "holiday.DB";
  const auto stamp = fs::last_write_time(holidays);
  std::string bytes = testing::readFile(holidays);
  const std::size_t at = bytes.find("Independence");
  ASSERT_NE(at, std::string::npos);
  bytes.replace(at, 12, "Independance");
  testing::writeFile(holidays, bytes);
  fs::last_write_time(holidays, stamp);
  auto edited = mirrorHostTables(dir / "host", dir / "copy");
  ASSERT_TRUE(edited.ok());
  EXPECT_EQ(edited->back().outcome, Outcome::kCopied);
  EXPECT_EQ(dump(dir / "copy", "holiday.DB").front()[3].text(), "Independance Day");
  ASSERT_TRUE(exportTo(dir / "src", dir / "host", {"holiday"}).ok());
  ASSERT_TRUE(mirrorHostTables(dir / "host", dir / "copy").ok());

  // Damage: each table says why, and its previous copy stays whole.
  const std::string contact = testing::readFile(dir / "host" / "CONTACT.DB");
  testing::writeFile(dir / "host" / "CONTACT.DB", contact.substr(0, contact.size() - 100));
  fs::remove(dir / "host" / "event.MB");
  fs::remove(dir / "host" / "POPUP.DB");
  std::string holiday = testing::readFile(dir / "host" / "holiday.DB");
  holiday[0x78] = 0x33;
  testing::writeFile(dir / "host" / "holiday.DB", holiday);
  auto damaged = mirrorHostTables(dir / "host", dir / "copy");
  ASSERT_TRUE(damaged.ok());
  const std::string problems = mirrorProblems(*damaged);
  for (const char* expected : {"CONTACT.DB: the file is cut short", "event.db: its memo file event.MB is missing",
                               "POPUP.DB is not in", "holiday.DB: field date has a type this program does not read"}) {
    EXPECT_NE(problems.find(expected), std::string::npos) << problems;
  }
  for (const char* table : {"CONTACT.DB", "event.db", "holiday.DB"}) {
    EXPECT_EQ(dump(dir / "copy", table), dump(dir / "src", table)) << table;
  }
}

}  // namespace
}  // namespace vistrel::host
