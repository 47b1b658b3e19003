// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/table.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <string>
#include <vector>

#include "host/engine.h"
#include "testing.h"

namespace vistrel::host {
namespace {

// A data directory with one small table of people, in two layouts: a plain
// table with a secondary index, and one stored in the order of that index.
class TableTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    engine_.setAlias("TALDB", dir_.path());
    engine_.setBusyTimeout(std::chrono::milliseconds(50));
    ASSERT_TRUE(Engine::createDataDirectory(dir_.path()).ok());
    TableDef def;
    def.name = "PEOPLE.DB";
    def.columns = {{"Id", ColumnType::kText, 10},     {"DB", ColumnType::kText, 9},
                   {"Name", ColumnType::kText, 20},   {"City", ColumnType::kText, 0},
                   {"Born", ColumnType::kDate, 0},    {"Score", ColumnType::kNumber, 0},
                   {"Visits", ColumnType::kInteger, 0}, {"Active", ColumnType::kLogical, 0}};
    def.primaryKey = {"Id"};
    def.indexes = {{"ByName", {"DB", "Name"}, false}};
    if (GetParam()) def.clusteredIndex = "ByName";
    ASSERT_TRUE(engine_.createTable("TALDB", def).ok());
    Table t(engine_, "TALDB", "people.db");
    ASSERT_TRUE(t.open().ok());
    add(t, "1", "Sales", "smith", "Boston");
    add(t, "2", "Sales", "Adams", "Chicago");
    add(t, "3", "Clients", "Brown", "Denver");
    add(t, "4", "SALES", "Clark", "");
    add(t, "5", "Sales", "Young", "Austin");
  }

  static void add(Table& t, const std::string& id, const std::string& db, const std::string& name,
                  const std::string& city) {
    ASSERT_TRUE(t.insert().ok());
    ASSERT_TRUE(t.fieldByName("Id")->setText(id).ok());
    ASSERT_TRUE(t.fieldByName("db")->setText(db).ok());
    ASSERT_TRUE(t.fieldByName("NAME")->setText(name).ok());
    ASSERT_TRUE(t.fieldByName("City")->setText(city).ok());
    ASSERT_TRUE(t.post().ok());
  }

  // The values of `field` from first to eof.
  static std::vector<std::string> walk(Table& t, const char* field = "Id") {
    std::vector<std::string> out;
    EXPECT_TRUE(t.first().ok());
    while (!t.eof()) {
      out.push_back(t.fieldByName(field)->asText());
      EXPECT_TRUE(t.next().ok());
    }
    return out;
  }

  testing::TempDir dir_;
  Engine engine_;
};

using Ids = std::vector<std::string>;

TEST_P(TableTest, WalksInIndexOrderBothWays) {
  Table t(engine_, "TALDB", "People");
  ASSERT_TRUE(t.open().ok());
  EXPECT_EQ(walk(t), (Ids{"1", "2", "3", "4", "5"})) << "primary index";
  ASSERT_TRUE(t.setIndexName("byname").ok());
  // DB then name, ignoring case: Clients, then SALES and Sales as one key.
  EXPECT_EQ(walk(t), (Ids{"3", "2", "4", "1", "5"}));
  ASSERT_TRUE(t.last().ok());
  EXPECT_TRUE(t.eof());
  Ids back;
  while (!t.bof()) {
    back.push_back(t.fieldByName("Id")->asText());
    ASSERT_TRUE(t.prior().ok());
  }
  EXPECT_EQ(back, (Ids{"5", "1", "4", "2", "3"}));
  // Turning round in the middle.
  ASSERT_TRUE(t.first().ok());
  ASSERT_TRUE(t.next().ok());
  ASSERT_TRUE(t.next().ok());
  ASSERT_TRUE(t.prior().ok());
  EXPECT_EQ(t.fieldByName("Id")->asText(), "2");
  ASSERT_TRUE(t.next().ok());
  EXPECT_EQ(t.fieldByName("Id")->asText(), "4");
}

TEST_P(TableTest, RangeIsInclusiveAndCancels) {
  Table t(engine_, "TALDB", "PEOPLE.DB");
  t.setIndexName("ByName");
  ASSERT_TRUE(t.open().ok());
  ASSERT_TRUE(t.setRange({"sales"}, {"sales"}).ok());
  EXPECT_EQ(walk(t), (Ids{"2", "4", "1", "5"}));
  EXPECT_EQ(*t.recordCount(), 4);
  ASSERT_TRUE(t.setRange({"Sales", "B"}, {"Sales", "Smith"}).ok());
  EXPECT_EQ(walk(t), (Ids{"4", "1"}));
  ASSERT_TRUE(t.setRange({"Nobody"}, {"Nobody"}).ok());
  EXPECT_TRUE(t.eof() && t.bof() && !t.hasRecord());
  EXPECT_EQ(*t.recordCount(), 0);
  ASSERT_TRUE(t.cancelRange().ok());
  EXPECT_EQ(*t.recordCount(), 5);
  EXPECT_FALSE(t.setRange({"a", "b", "c"}, {"a"}).ok()) << "more values than index fields";
}

TEST_P(TableTest, FindKeyStandsOnFirstMatchOrStays) {
  Table t(engine_, "TALDB", "PEOPLE.DB");
  t.setIndexName("ByName");
  ASSERT_TRUE(t.open().ok());
  auto found = t.findKey({"SALES"});
  ASSERT_TRUE(found.ok());
  EXPECT_TRUE(*found);
  EXPECT_EQ(t.fieldByName("Id")->asText(), "2");
  ASSERT_TRUE(t.next().ok());
  EXPECT_EQ(t.fieldByName("Id")->asText(), "4") << "next goes on from the found record";
  found = t.findKey({"Sales", "young"});
  ASSERT_TRUE(found.ok() && *found);
  EXPECT_EQ(t.fieldByName("Name")->asText(), "Young");
  found = t.findKey({"Sales", "Zed"});
  ASSERT_TRUE(found.ok());
  EXPECT_FALSE(*found);
  EXPECT_EQ(t.fieldByName("Name")->asText(), "Young") << "a failed find stays";
  ASSERT_TRUE(t.setIndexFieldNames("Id").ok());
  found = t.findKey({"3"});
  ASSERT_TRUE(found.ok() && *found);
  EXPECT_EQ(t.fieldByName("Name")->asText(), "Brown");
}

TEST_P(TableTest, EditPostDeleteAndRefresh) {
  Table t(engine_, "TALDB", "PEOPLE.DB");
  t.setIndexName("ByName");
  ASSERT_TRUE(t.open().ok());
  ASSERT_TRUE(*t.findKey({"Sales", "Adams"}));
  ASSERT_TRUE(t.edit().ok());
  ASSERT_TRUE(t.fieldByName("Name")->setText("Zimmer").ok());
  ASSERT_TRUE(t.post().ok());
  EXPECT_EQ(t.fieldByName("Id")->asText(), "2") << "the record keeps its place after a key change";
  ASSERT_TRUE(t.next().ok());
  EXPECT_TRUE(t.eof()) << "Zimmer is now last in the index";
  EXPECT_EQ(walk(t), (Ids{"3", "4", "1", "5", "2"}));

  ASSERT_TRUE(*t.findKey({"Sales", "Smith"}));
  ASSERT_TRUE(t.remove().ok());
  EXPECT_EQ(t.fieldByName("Id")->asText(), "5") << "after a delete the next record is current";
  ASSERT_TRUE(*t.findKey({"Sales", "Zimmer"}));
  ASSERT_TRUE(t.remove().ok());
  EXPECT_EQ(t.fieldByName("Id")->asText(), "5") << "deleting the last record stands on the one before";
  EXPECT_EQ(*t.recordCount(), 3);

  // Another table object changes the record; refresh shows it.
  Table other(engine_, "TALDB", "PEOPLE.DB");
  ASSERT_TRUE(other.open().ok());
  ASSERT_TRUE(*other.findKey({"5"}));
  ASSERT_TRUE(other.edit().ok());
  ASSERT_TRUE(other.fieldByName("City")->setText("Waco").ok());
  ASSERT_TRUE(other.post().ok());
  ASSERT_TRUE(t.refresh().ok());
  EXPECT_EQ(t.fieldByName("City")->asText(), "Waco");

  ASSERT_TRUE(t.edit().ok());
  ASSERT_TRUE(t.fieldByName("City")->setText("Lost").ok());
  t.cancel();
  EXPECT_EQ(t.fieldByName("City")->asText(), "Waco");
  EXPECT_FALSE(t.fieldByName("City")->setText("x").ok()) << "not in edit mode";
}

TEST_P(TableTest, GotoCurrentFollowsAnotherObject) {
  Table byName(engine_, "TALDB", "PEOPLE.DB");
  byName.setIndexName("ByName");
  Table byId(engine_, "TALDB", "PEOPLE.DB");
  ASSERT_TRUE(byName.open().ok());
  ASSERT_TRUE(byId.open().ok());
  ASSERT_TRUE(*byId.findKey({"4"}));
  ASSERT_TRUE(byName.gotoCurrent(byId).ok());
  EXPECT_EQ(byName.fieldByName("Name")->asText(), "Clark");
  ASSERT_TRUE(byName.next().ok());
  EXPECT_EQ(byName.fieldByName("Name")->asText(), "smith") << "next follows the object's own index";
}

TEST_P(TableTest, FieldsConvertByTypeAndKeepNullApartFromEmpty) {
  Table t(engine_, "TALDB", "PEOPLE.DB");
  ASSERT_TRUE(t.open().ok());
  ASSERT_TRUE(*t.findKey({"1"}));
  ASSERT_TRUE(t.edit().ok());
  EXPECT_TRUE(t.fieldByName("Born")->setText("2/29/1996").ok());
  EXPECT_TRUE(t.fieldByName("Score")->setText("3.5").ok());
  EXPECT_TRUE(t.fieldByName("Visits")->setInteger(12).ok());
  EXPECT_TRUE(t.fieldByName("Active")->setBoolean(true).ok());
  EXPECT_FALSE(t.fieldByName("Born")->setText("2/30/1996").ok());
  EXPECT_FALSE(t.fieldByName("Visits")->setText("twelve").ok());
  EXPECT_TRUE(t.fieldByName("Name")->setText("A name much longer than twenty").ok());
  ASSERT_TRUE(t.post().ok());

  Table r(engine_, "TALDB", "PEOPLE.DB");
  ASSERT_TRUE(r.open().ok());
  ASSERT_TRUE(*r.findKey({"1"}));
  EXPECT_EQ(r.fieldByName("Born")->asText(), "2/29/1996");
  EXPECT_EQ(r.fieldByName("born")->asDateTime(), *encodeDate(1996, 2, 29));
  EXPECT_EQ(r.fieldByName("Score")->asText(), "3.5");
  EXPECT_EQ(r.fieldByName("Visits")->asInteger(), 12);
  EXPECT_EQ(r.fieldByName("Visits")->asText(), "12");
  EXPECT_TRUE(r.fieldByName("Active")->asBoolean());
  EXPECT_EQ(r.fieldByName("Active")->asText(), "True");
  EXPECT_EQ(r.fieldByName("Name")->asText(), "A name much longer t") << "cut to the field's size";
  EXPECT_EQ(r.field(0)->name(), "Id");
  EXPECT_EQ(r.fieldCount(), 8);
  EXPECT_EQ(r.fieldByName("NoSuchField"), nullptr);

  ASSERT_TRUE(*r.findKey({"4"}));
  EXPECT_FALSE(r.fieldByName("City")->isNull()) << "an empty text was written";
  EXPECT_EQ(r.fieldByName("City")->asText(), "");
  EXPECT_TRUE(r.fieldByName("Score")->isNull()) << "never written";
  EXPECT_EQ(r.fieldByName("Score")->asFloat(), 0);

  // Key fields never hold null: null reads back as empty.
  ASSERT_TRUE(r.insert().ok());
  ASSERT_TRUE(r.fieldByName("Id")->setText("9").ok());
  ASSERT_TRUE(r.fieldByName("City")->setNull().ok());
  ASSERT_TRUE(r.post().ok());
  EXPECT_FALSE(r.fieldByName("Name")->isNull());
  EXPECT_TRUE(r.fieldByName("City")->isNull());
}

TEST_P(TableTest, RecordFilterSeesTheRecordUnderTestAndFilterLinesBind) {
  Table t(engine_, "TALDB", "PEOPLE.DB");
  t.setIndexName("ByName");
  ASSERT_TRUE(t.open().ok());
  std::vector<std::string> tested;
  t.setOnFilterRecord([&](Table& table) {
    const std::string city = table.fieldByName("City")->asText();
    tested.push_back(table.fieldByName("Id")->asText());
    return !city.empty() && city != "Chicago";
  });
  t.setFilterLines({"DB = \"Sales\""});
  ASSERT_TRUE(t.setFiltered(true).ok());
  EXPECT_EQ(walk(t), (Ids{"1", "5"}));
  EXPECT_EQ(*t.recordCount(), 2);
  EXPECT_EQ(t.fieldByName("Id")->asText(), "5") << "count comes back to the current record";
  EXPECT_EQ(std::count(tested.begin(), tested.end(), "3"), 0) << "the filter line came first";
  Ids visited;
  ASSERT_TRUE(t.visitRecords([&] {
                 visited.push_back(t.fieldByName("Id")->asText() + t.fieldByName("Name")->asText());
                 return visited.size() < 5;
               }).ok());
  EXPECT_EQ(visited.size(), 2u) << "visitRecords passes what the filter accepts";
  EXPECT_EQ(visited[0].substr(0, 1), "1");
  EXPECT_EQ(t.fieldByName("Id")->asText(), "5") << "and comes back to the current record";
  visited.clear();
  ASSERT_TRUE(t.visitRecords([&] { visited.push_back(t.fieldByName("Id")->asText()); return false; }).ok());
  EXPECT_EQ(visited, (Ids{"1"})) << "false stops it";

  // A value holding quotes or SQL is only ever a value.
  t.setOnFilterRecord(nullptr);
  for (const char* line : {"DB = \"Sales\" OR 1=1 --\"", "DB = \"x\"\"; DROP TABLE people; --\"",
                           "DB = Sales' OR '1'='1"}) {
    t.setFilterLines({line});
    ASSERT_TRUE(t.setFiltered(true).ok()) << line;
    EXPECT_EQ(*t.recordCount(), 0) << line;
  }
  t.setFilterLines({"Who = 1"});
  EXPECT_FALSE(t.setFiltered(true).ok()) << "a line naming no field is refused";
  t.setFilterLines({"DB = \"O\"Neil\""});
  ASSERT_TRUE(t.setFiltered(true).ok());
  ASSERT_TRUE(t.setFiltered(false).ok());
  EXPECT_EQ(*t.recordCount(), 5);
}

TEST_P(TableTest, RecordFilterThatStopsEndsTheWalkWithItsStatus) {
  Table t(engine_, "TALDB", "PEOPLE.DB");
  ASSERT_TRUE(t.open().ok());
  ASSERT_TRUE(t.findKey({Value("2")}).ok());
  int asked = 0;
  t.setOnFilterRecord([&](Table& table) {
    ++asked;
    if (table.fieldByName("Id")->asText() == "3") table.stopFiltering(Status::IoError("the rule cannot be read"));
    return true;
  });
  ASSERT_TRUE(t.setFiltered(true).ok());
  asked = 0;
  auto n = t.recordCount();
  ASSERT_FALSE(n.ok());
  EXPECT_EQ(n.status().message(), "the rule cannot be read");
  EXPECT_EQ(asked, 3) << "no record after the stop is asked about";
  Field* id = t.fieldByName("Id");
  std::vector<std::string> seen;
  Status s = t.visitTexts({id}, [&](const std::vector<std::string_view>& texts) {
    seen.emplace_back(texts[0]);
    return true;
  });
  EXPECT_EQ(s.code(), StatusCode::kIoError);
  EXPECT_EQ(seen, (Ids{"1", "2"}));
  t.setOnFilterRecord(nullptr);
  EXPECT_EQ(*t.recordCount(), 5) << "the next walk starts afresh";
}

TEST_P(TableTest, RangeAfterRangeOnOneIndexPreparesNothingNew) {
  Table t(engine_, "TALDB", "PEOPLE.DB");
  t.setIndexName("ByName");
  ASSERT_TRUE(t.open().ok());
  Field* name = t.fieldByName("Name");
  ASSERT_TRUE(t.setRange({Value("Sales")}, {Value("Sales")}).ok());
  walk(t, "Name");
  const std::int64_t prepared = t.preparedStatements();
  const std::pair<const char*, Ids> ranges[] = {
      {"Clients", {"Brown"}}, {"Sales", {"Adams", "Clark", "smith", "Young"}}, {"None", {}}};
  for (int round = 0; round < 3; ++round) {
    for (const auto& [db, names] : ranges) {
      ASSERT_TRUE(t.setRange({Value(db)}, {Value(db)}).ok());
      EXPECT_EQ(walk(t, "Name"), names) << db;
      EXPECT_EQ(name->asText(), names.empty() ? "" : names.back());
    }
  }
  EXPECT_EQ(t.preparedStatements(), prepared);
}

TEST_P(TableTest, VisitTextsReadsWhatTheWalkReadsAndLeavesTheRecordAlone) {
  Table t(engine_, "TALDB", "PEOPLE.DB");
  t.setIndexName("ByName");
  ASSERT_TRUE(t.open().ok());
  ASSERT_TRUE(*t.findKey({"Sales", "Adams"}));
  ASSERT_TRUE(t.edit().ok());
  ASSERT_TRUE(t.fieldByName("Score")->setFloat(1.5).ok());
  ASSERT_TRUE(t.fieldByName("Born")->setText("7/4/1976").ok());
  ASSERT_TRUE(t.fieldByName("Active")->setBoolean(true).ok());
  ASSERT_TRUE(t.post().ok());
  ASSERT_TRUE(t.setRange({"sales"}, {"SALES"}).ok());

  const std::vector<const char*> names = {"Id", "City", "Score", "Born", "Active", "Visits"};
  std::vector<Field*> fields;
  for (const char* n : names) fields.push_back(t.fieldByName(n));
  std::vector<std::vector<std::string>> walked;
  for (Status s = t.first(); s.ok() && !t.eof(); s = t.next()) {
    walked.emplace_back();
    for (Field* f : fields) walked.back().push_back(f->asText());
  }

  ASSERT_TRUE(t.first().ok());
  ASSERT_TRUE(t.next().ok());
  const std::string current = t.fieldByName("Id")->asText();
  std::vector<std::vector<std::string>> visited;
  ASSERT_TRUE(t.visitTexts(fields, [&](const std::vector<std::string_view>& texts) {
                 visited.emplace_back(texts.begin(), texts.end());
                 return true;
               }).ok());
  EXPECT_EQ(visited, walked);
  EXPECT_EQ(t.fieldByName("Id")->asText(), current);
  ASSERT_TRUE(t.next().ok());
  EXPECT_EQ(t.fieldByName("Id")->asText(), walked[2][0]) << "the walk goes on from the record it stood on";

  int calls = 0;
  ASSERT_TRUE(t.visitTexts(fields, [&](const std::vector<std::string_view>&) { return ++calls < 2; }).ok());
  EXPECT_EQ(calls, 2) << "false stops the visit";

  // With a record filter, the filter decides and the record still stays.
  t.setOnFilterRecord([](Table& table) { return !table.fieldByName("City")->asText().empty(); });
  ASSERT_TRUE(t.setFiltered(true).ok());
  ASSERT_TRUE(t.next().ok());
  const std::string filteredCurrent = t.fieldByName("Id")->asText();
  Ids ids;
  ASSERT_TRUE(t.visitTexts({t.fieldByName("Id")}, [&](const std::vector<std::string_view>& texts) {
                 ids.emplace_back(texts[0]);
                 return true;
               }).ok());
  EXPECT_EQ(ids, (Ids{"2", "1", "5"}));
  EXPECT_EQ(t.fieldByName("Id")->asText(), filteredCurrent);
}

TEST_P(TableTest, ObserversAreToldOnceAroundDisabledLoops) {
  struct Counter : TableObserver {
    int calls = 0;
    void tableChanged(Table&) override { ++calls; }
  } counter;
  Table t(engine_, "TALDB", "PEOPLE.DB");
  ASSERT_TRUE(t.open().ok());
  t.addObserver(&counter);
  t.disableControls();
  walk(t);
  EXPECT_EQ(counter.calls, 0);
  t.enableControls();
  EXPECT_EQ(counter.calls, 1);
  ASSERT_TRUE(t.next().ok());
  EXPECT_EQ(counter.calls, 2);
  t.removeObserver(&counter);
}

TEST_P(TableTest, FailedPostLeavesStoredRecordAsItWas) {
  Table t(engine_, "TALDB", "PEOPLE.DB");
  ASSERT_TRUE(t.open().ok());
  ASSERT_TRUE(*t.findKey({"2"}));
  ASSERT_TRUE(t.edit().ok());
  ASSERT_TRUE(t.fieldByName("Id")->setText("1").ok());  // the key of another record
  ASSERT_TRUE(t.fieldByName("City")->setText("Nowhere").ok());
  const Status s = t.post();
  EXPECT_TRUE(s.IsAlreadyExists()) << s.ToString();
  EXPECT_NE(s.message().find("PEOPLE.DB"), std::string::npos);
  EXPECT_EQ(t.state(), TableState::kEdit) << "the edit stays open to be mended or cancelled";
  t.cancel();
  Table r(engine_, "TALDB", "PEOPLE.DB");
  ASSERT_TRUE(r.open().ok());
  ASSERT_TRUE(*r.findKey({"2"}));
  EXPECT_EQ(r.fieldByName("City")->asText(), "Chicago");
  EXPECT_EQ(*r.recordCount(), 5);
}

TEST_P(TableTest, LockedDatabaseGivesBusyAndNothingChanges) {
  // Another program holds the write lock.
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open((dir_ / "tallis.db").c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE; UPDATE people SET City = 'held';", nullptr, nullptr, nullptr),
            SQLITE_OK);
  Table t(engine_, "TALDB", "PEOPLE.DB");
  ASSERT_TRUE(t.open().ok()) << "readers are not blocked by a writer";
  ASSERT_TRUE(*t.findKey({"3"}));
  ASSERT_TRUE(t.edit().ok());
  ASSERT_TRUE(t.fieldByName("City")->setText("Mine").ok());
  const Status s = t.post();
  EXPECT_TRUE(s.IsBusy()) << s.ToString();
  EXPECT_NE(s.message().find("PEOPLE.DB"), std::string::npos);
  t.cancel();
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  t.close();
  engine_.closeStores();

  // A program that took the file for itself keeps even readers out.
  ASSERT_EQ(sqlite3_open((dir_ / "tallis.db").c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; UPDATE people SET City='x';",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  Engine fresh;
  fresh.setAlias("TALDB", dir_.path());
  fresh.setBusyTimeout(std::chrono::milliseconds(50));
  Table blocked(fresh, "TALDB", "PEOPLE.DB");
  const Status open = blocked.open();
  EXPECT_TRUE(open.IsBusy()) << open.ToString();
  EXPECT_FALSE(blocked.isOpen());
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  ASSERT_TRUE(t.open().ok());
  ASSERT_TRUE(*t.findKey({"3"}));
  EXPECT_EQ(t.fieldByName("City")->asText(), "Denver");
}

TEST_P(TableTest, SecondProgramSeesCommittedWrites) {
  Engine second;
  second.setAlias("TALDB", dir_.path());
  Table reader(second, "TALDB", "PEOPLE.DB");
  ASSERT_TRUE(reader.open().ok());
  EXPECT_EQ(*reader.recordCount(), 5);
  Table writer(engine_, "TALDB", "PEOPLE.DB");
  ASSERT_TRUE(writer.open().ok());
  add(writer, "6", "Sales", "Nobel", "Oslo");
  ASSERT_TRUE(reader.refresh().ok());
  EXPECT_EQ(*reader.recordCount(), 6);
}

INSTANTIATE_TEST_SUITE_P(Layouts, TableTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& p) { return p.param ? "Clustered" : "Plain"; });

TEST(TableFaultTest, MissingTablesFilesAndAliasesAreCleanErrors) {
  testing::TempDir dir;
  Engine engine;
  engine.setAlias("TALDB", dir.path());
  Table t(engine, "TALDB", "CONTACT.DB");
  Status s = t.open();
  EXPECT_TRUE(s.IsNotFound()) << s.ToString();
  EXPECT_NE(s.message().find("CONTACT.DB"), std::string::npos);

  ASSERT_TRUE(Engine::createDataDirectory(dir.path()).ok());
  EXPECT_FALSE(Engine::createDataDirectory(dir.path()).ok()) << "never over existing data";
  s = t.open();
  EXPECT_TRUE(s.IsNotFound()) << s.ToString();
  EXPECT_NE(s.message().find("no such table"), std::string::npos);

  Table unknownAlias(engine, "NOALIAS", "x.db");
  EXPECT_TRUE(unknownAlias.open().IsNotFound());
}

TEST(TableFaultTest, NotADatabaseAndDamagedFilesAreCorrupt) {
  testing::TempDir dir;
  testing::writeFile(dir / "tallis.db", std::string(8192, 'x'));
  Engine engine;
  engine.setAlias("TALDB", dir.path());
  Table t(engine, "TALDB", "CONTACT.DB");
  const Status s = t.open();
  EXPECT_TRUE(s.IsCorrupt()) << s.ToString();

  // A real database whose pages were overwritten in the middle.
  testing::TempDir dir2;
  Engine e2;
  e2.setAlias("TALDB", dir2.path());
  ASSERT_TRUE(Engine::createDataDirectory(dir2.path()).ok());
  TableDef def{"BIG.DB", {{"Id", ColumnType::kInteger, 0}, {"Text", ColumnType::kText, 0}}, {"Id"}, {}, "", ""};
  ASSERT_TRUE(e2.createTable("TALDB", def).ok());
  {
    Table w(e2, "TALDB", "BIG.DB");
    ASSERT_TRUE(w.open().ok());
    ASSERT_TRUE(e2.inTransaction("TALDB", [&]() -> Status {
                    for (int i = 0; i < 3000; ++i) {
                      VISTREL_RETURN_IF_ERROR(w.insert());
                      VISTREL_RETURN_IF_ERROR(w.fieldByName("Id")->setInteger(i));
                      VISTREL_RETURN_IF_ERROR(w.fieldByName("Text")->setText(std::string(100, 'a' + i % 26)));
                      VISTREL_RETURN_IF_ERROR(w.post());
                    }
                    return Status::OK();
                  }).ok());
  }
  e2.closeStores();
  {
    // Fold the write-ahead log into the file, then damage it.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open((dir2 / "tallis.db").c_str(), &db), SQLITE_OK);
    sqlite3_exec(db, "PRAGMA wal_checkpoint(TRUNCATE); PRAGMA journal_mode=DELETE;", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    std::fstream f(dir2 / "tallis.db", std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(8192 * 10);
    const std::string junk(8192 * 20, '\x5a');
    f.write(junk.data(), static_cast<std::streamsize>(junk.size()));
  }
  Engine e3;
  e3.setAlias("TALDB", dir2.path());
  Table r(e3, "TALDB", "BIG.DB");
  Status st = r.open();
  int rows = 0;
  while (st.ok() && !r.eof() && rows < 10000) {
    ++rows;
    st = r.next();
  }
  EXPECT_FALSE(st.ok()) << "a walk over damaged pages must report it";
  EXPECT_TRUE(st.IsCorrupt()) << st.ToString();
}

TEST(TableFaultTest, ProtectedTableOpensOnlyAfterItsPassword) {
  testing::TempDir dir;
  Engine engine;
  engine.setAlias("TALDB", dir.path());
  ASSERT_TRUE(Engine::createDataDirectory(dir.path()).ok());
  TableDef def{"USERS.DB", {{"Who", ColumnType::kText, 3}}, {"Who"}, {}, "", "s3cret"};
  ASSERT_TRUE(engine.createTable("TALDB", def).ok());
  Table t(engine, "TALDB", "users.db");
  const Status s = t.open();
  EXPECT_TRUE(s.IsAccessDenied()) << s.ToString();
  EXPECT_NE(s.message().find("password"), std::string::npos);
  engine.addPassword("wrong");
  EXPECT_FALSE(t.open().ok());
  engine.addPassword("s3cret");
  EXPECT_TRUE(t.open().ok());
  // The password itself is not in the data file.
  EXPECT_EQ(testing::readFile(dir / "tallis.db").find("s3cret"), std::string::npos);
}

TEST(TableFaultTest, DirectoriesAreSetOnceBeforeTheFirstOpen) {
  testing::TempDir dir;
  Engine engine;
  EXPECT_TRUE(engine.setNetDir(dir / "net").ok());
  EXPECT_FALSE(engine.setNetDir(dir / "other").ok());
  EXPECT_TRUE(engine.setPrivateDir(dir.path()).ok());
  EXPECT_FALSE(engine.setPrivateDir(dir.path()).ok());
  EXPECT_EQ(engine.privateDir(), dir.path());
  ASSERT_NE(sqlite3_temp_directory, nullptr);
  EXPECT_EQ(std::string(sqlite3_temp_directory), dir.path().string());

  // A private directory that could not be made: temporary files go to the
  // system's temporary folder.
  Engine second;
  EXPECT_TRUE(second.setPrivateDir(dir / "missing" / "priv").ok());
  EXPECT_EQ(sqlite3_temp_directory, nullptr);
}

}  // namespace
}  // namespace vistrel::host
