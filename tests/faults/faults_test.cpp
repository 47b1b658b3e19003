// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
//
// The reliability suite: what a careful user throws at vistrel-cli. Each case
// checks the refusal names its reason and that nothing was lost or silently
// changed (contact count, integrity check). Cases that need a real process
// (stdout on a full device, kill -9) run the built tool as a child.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <fstream>
#include <functional>
#include <sstream>

#include "cli/command.h"
#include "cli_testing.h"
#include "host/file_write.h"
#include "host/paradox.h"
#include "testing.h"

namespace vistrel {
namespace {

namespace fs = std::filesystem;

using testing::CliRun;
using testing::runTool;

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The tool as a child process, stdout to `stdoutPath`, extra environment
// `env` ("NAME=value"). Returns the exit code, or minus the signal that ended it.
struct ChildRun {
  int status;
  std::string err;
};

ChildRun runChild(const std::vector<std::string>& args, const std::vector<std::string>& env = {},
                  const std::string& stdoutPath = "/dev/null") {
  testing::TempDir tmp;
  const std::string errPath = (tmp / "stderr").string();
  const pid_t pid = fork();
  if (pid == 0) {
    for (const std::string& e : env) putenv(const_cast<char*>(e.c_str()));
    if (!freopen(stdoutPath.c_str(), "w", stdout) || !freopen(errPath.c_str(), "w", stderr)) _exit(127);
    std::vector<char*> argv{const_cast<char*>(VISTREL_CLI_PATH)};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  const int result = WIFEXITED(status) ? WEXITSTATUS(status) : WIFSIGNALED(status) ? -WTERMSIG(status) : -1000;
  return {result, testing::readFile(errPath)};
}

// One answer of SQLite on the store of `dir`, read-only; "" when it cannot.
std::string query(const fs::path& dir, const std::string& sql) {
  sqlite3* db = nullptr;
  std::string result;
  if (sqlite3_open_v2((dir / "tallis.db").c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW) {
      const unsigned char* t = sqlite3_column_text(st, 0);
      result = t ? reinterpret_cast<const char*>(t) : "";
    }
    sqlite3_finalize(st);
  }
  sqlite3_close(db);
  return result;
}

void execute(const fs::path& dir, const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open((dir / "tallis.db").c_str(), &db), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  sqlite3_close(db);
}

std::string contactCount(const fs::path& dir) { return query(dir, "SELECT count(*) FROM contact"); }
std::string integrity(const fs::path& dir) { return query(dir, "PRAGMA integrity_check"); }
std::string eventCount(const fs::path& dir) { return query(dir, "SELECT count(*) FROM event"); }

// The names in a folder, sorted.
std::vector<std::string> listing(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Rewrites a Paradox table without its encryption, so that its blocks can
// be damaged byte by byte.
void writeUnencrypted(const fs::path& db) {
  auto reader = host::ParadoxReader::open(db);
  ASSERT_TRUE(reader.ok()) << reader.status().message();
  const std::vector<host::ParadoxField> fields = (*reader)->info().fields;
  std::vector<int> wanted;
  for (std::size_t i = 0; i < fields.size(); ++i) wanted.push_back(static_cast<int>(i));
  std::vector<std::vector<host::Value>> rows;
  ASSERT_TRUE((*reader)->read(wanted, [&](const std::vector<host::Value>& v) {
    rows.push_back(v);
    return host::Status::OK();
  }).ok());
  reader->reset();
  std::size_t next = 0;
  const host::Status written = host::writeParadoxTable(
      db, fields,
      [&](std::vector<host::Value>* row) -> host::StatusOr<bool> {
        if (next == rows.size()) return false;
        *row = rows[next++];
        return true;
      },
      {});
  ASSERT_TRUE(written.ok()) << written.message();
}

int u16(const std::string& b, std::size_t at) {
  return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8;
}
void put16(std::string& b, std::size_t at, int v) {
  b[at] = static_cast<char>(v & 0xFF);
  b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}
// Where block `n` (1-based) of a Paradox table starts.
std::size_t blockAt(const std::string& b, int n) {
  return static_cast<std::size_t>(u16(b, 2)) + static_cast<std::size_t>(n - 1) * static_cast<unsigned char>(b[5]) * 1024;
}
void patchFile(const fs::path& file, const std::function<void(std::string&)>& edit) {
  std::string bytes = testing::readFile(file);
  edit(bytes);
  testing::writeFile(file, bytes);
}

// A small demo store made once; cases that change a store work on a copy.
class FaultsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    base_ = new testing::TempDir();
    const CliRun r = runTool({"init", "--data", store().string(), "--demo", "--contacts", "300"});
    ASSERT_EQ(r.code, 0) << r.err;
  }
  static void TearDownTestSuite() {
    delete base_;
    base_ = nullptr;
  }
  static fs::path store() { return base_->path() / "demo"; }
  // The demo store written as a Tallis directory, its contact table
  // unencrypted; and a mirror of it.
  static fs::path hostDir() {
    const fs::path host = base_->path() / "host";
    if (!fs::exists(host)) {
      const CliRun r = runTool({"export-paradox", "--data", store().string(), "--to", host.string()});
      EXPECT_EQ(r.code, 0) << r.err;
      writeUnencrypted(host / "CONTACT.DB");
      const CliRun m = runTool({"mirror", "--data", (base_->path() / "mirrored").string(), "--from", host.string()});
      EXPECT_EQ(m.code, 0) << m.err;
    }
    return host;
  }
  static fs::path mirrored() {
    hostDir();
    return base_->path() / "mirrored";
  }
  fs::path copyOfStore() {
    const fs::path to = tmp_ / "copy";
    fs::copy(store(), to, fs::copy_options::recursive);
    return to;
  }
  std::string csv(const std::string& text) {
    testing::writeFile(tmp_ / "in.csv", text);
    return (tmp_ / "in.csv").string();
  }

  static testing::TempDir* base_;
  testing::TempDir tmp_;
};

testing::TempDir* FaultsTest::base_ = nullptr;

// A name longer than its field would be cut to another database's name.
TEST_F(FaultsTest, NamesLongerThanTheirFieldAreRefusedNotCut) {
  const fs::path dir = copyOfStore();
  const std::string before = contactCount(dir);
  const std::string file = csv("LastName,City\nA,B\nC,D\n");
  CliRun r = runTool({"import", "--data", dir.string(), "--database", "ProspectsEurope", file});
  EXPECT_EQ(r.code, 1);
  EXPECT_TRUE(contains(r.err, "a database name has at most 9 characters")) << r.err;
  r = runTool({"analyse", "--data", dir.string(), "--database", "ProspectsXYZ", "--by", "state"});
  EXPECT_EQ(r.code, 1);
  EXPECT_TRUE(contains(r.err, "at most 9 characters")) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(contactCount(dir), before);
}

// Each bad CSV is refused with its reason, and the store keeps its contacts.
TEST_F(FaultsTest, BadCsvIsRefusedWithItsReasonAndNothingAdded) {
  const fs::path dir = copyOfStore();
  const std::string before = contactCount(dir);
  const std::string recno = query(dir, "SELECT Recno FROM contact WHERE DB = 'Sales' LIMIT 1");
  const std::string events = eventCount(dir);
  struct Bad {
    const char* name;
    std::string csv;
    const char* message;
    bool events = false;
  };
  const Bad bad[] = {
      {"recno longer than its field", "Recno,LastName\nC1,A\nC123456789012345678901,B\n",
       "line 3, column Recno: 'C123456789012345678901' has 22 characters, the field holds at most 20"},
      {"value longer than its field", "LastName,WhoAdded\nA,DEM\nB,DEMO\n", "line 3, column WhoAdded"},
      {"Latin-1 byte in a value", "LastName,City\nA,Caf\xE9\n", "line 2, column City: byte 4 (0xE9) is not UTF-8"},
      {"bad byte in the header", "LastName,Ci\xFFty\nA,B\n", "line 1, column 2: byte 3 (0xFF) is not UTF-8"},
      {"empty file", "", "the file is empty"},
      {"quote inside a field", "LastName,City\nA,Bo\"ston\n", "line 2: a quote inside an unquoted field"},
      {"text in a number field", "LastName,Num1\nA,1\nB,many\n", "line 3, column Num1"},
      // The events go through the same checks.
      {"event: Latin-1 byte", "Recno,Type,Summary\n" + recno + ",CALL,Caf\xE9\n",
       "line 2, column Summary: byte 4 (0xE9) is not UTF-8", true},
      {"event: user longer than its field", "Recno,Type,Who\n" + recno + ",CALL,DEMO\n",
       "line 2, column Who: 'DEMO' has 4 characters, the field holds at most 3", true},
      {"event: adder longer than its field", "Recno,Type,WhoAdded\n" + recno + ",CALL,ABCDEFG\n",
       "line 2, column WhoAdded: 'ABCDEFG' has 7 characters", true},
      {"event: number longer than its field", "ERecno,Recno,Type\nE12345678901234567890123," + recno + ",CALL\n",
       "line 2, column ERecno: 'E12345678901234567890123' has 24 characters", true},
  };
  for (const Bad& b : bad) {
    std::vector<std::string> args{"import", "--data", dir.string(), "--database", "Sales"};
    if (b.events) args.push_back("--events");
    args.push_back(csv(b.csv));
    const CliRun r = runTool(args);
    EXPECT_EQ(r.code, 1) << b.name;
    EXPECT_TRUE(contains(r.err, b.message)) << b.name << ": " << r.err;
    EXPECT_EQ(contactCount(dir), before) << b.name;
    EXPECT_EQ(eventCount(dir), events) << b.name;
  }
}

// Output that does not reach its destination fails the run and says why,
// for every command, in this process and on a full device.
TEST_F(FaultsTest, OutputThatCannotBeWrittenFailsTheRun) {
  struct Refusing : std::streambuf {};  // every write fails
  Refusing refusing;
  std::ostream out(&refusing);
  std::ostringstream err;
  EXPECT_EQ(cli::runCli({"analyse", "--data", store().string(), "--database", "Sales", "--by", "state"}, out, err), 1);
  EXPECT_TRUE(contains(err.str(), "cannot write the output")) << err.str();
  err.str("");
  EXPECT_EQ(cli::runCli({"--version"}, out, err), 1);

  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"analyse", "--data", store().string(), "--database", "Sales", "--by", "zip", "--count"},
        std::vector<std::string>{"--help"}}) {
    const ChildRun r = runChild(args, {}, "/dev/full");
    EXPECT_EQ(r.status, 1) << args[0];
    EXPECT_TRUE(contains(r.err, "cannot write the output: No space left on device")) << r.err;
  }
}

// A byte-order mark is no part of the first column's name; JSON stays valid
// UTF-8 whatever bytes the store holds.
TEST_F(FaultsTest, ByteOrderMarkIsSkippedAndJsonStaysUtf8) {
  const fs::path dir = copyOfStore();
  const std::string before = contactCount(dir);
  const CliRun r = runTool({"import", "--data", dir.string(), "--database", "Sales",
                        csv("\xEF\xBB\xBFLastName,City,State\nBom,Austin,TX\n")});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(contactCount(dir), std::to_string(std::stoi(before) + 1));

  execute(dir, "UPDATE contact SET City = 'Bad' || x'FF' || 'Town' WHERE LastName = 'Bom'");
  const CliRun json =
      runTool({"analyse", "--data", dir.string(), "--database", "Sales", "--by", "city", "--format", "json"});
  EXPECT_EQ(json.code, 0) << json.err;
  EXPECT_TRUE(contains(json.out, "\"Bad\xEF\xBF\xBDTown")) << "U+FFFD stands for the byte";
  EXPECT_FALSE(contains(json.out, "\xFF"));
}

// Damaged stores are refused with their reason and left exactly as they
// were: no write, no -wal or -shm file beside them, and init does not take
// them for its own.
TEST_F(FaultsTest, DamagedStoresAreRefusedAndLeftAsTheyWere) {
  const std::string whole = testing::readFile(store() / "tallis.db");
  std::string random(8192, '\0');
  for (std::size_t i = 0; i < random.size(); ++i) random[i] = static_cast<char>(i * 7919 % 251);
  struct Damage {
    const char* name;
    std::function<void(const fs::path&)> make;
    const char* message;
  };
  const Damage damages[] = {
      {"truncated", [&](const fs::path& d) { testing::writeFile(d / "tallis.db", whole.substr(0, whole.size() / 2)); },
       "damaged"},
      {"random bytes", [&](const fs::path& d) { testing::writeFile(d / "tallis.db", random); }, "not a database"},
      {"empty", [](const fs::path& d) { testing::writeFile(d / "tallis.db", ""); }, "is not a Tallis store"},
      {"foreign SQLite file",
       [](const fs::path& d) { execute(d, "PRAGMA journal_mode=WAL; CREATE TABLE notes (text TEXT)"); },
       "is not a Tallis store"},
      {"missing table",
       [&](const fs::path& d) {
         testing::writeFile(d / "tallis.db", whole);
         execute(d, "DROP TABLE contact");
       },
       "CONTACT.DB: no such table"},
  };
  for (const Damage& damage : damages) {
    const fs::path dir = tmp_ / damage.name;
    fs::create_directories(dir);
    damage.make(dir);
    const std::string bytes = testing::readFile(dir / "tallis.db");
    const CliRun analyse = runTool({"analyse", "--data", dir.string(), "--database", "Sales", "--by", "state"});
    EXPECT_EQ(analyse.code, 1) << damage.name;
    EXPECT_TRUE(contains(analyse.err, damage.message)) << damage.name << ": " << analyse.err;
    const CliRun import = runTool({"import", "--data", dir.string(), "--database", "Sales", csv("LastName\nA\n")});
    EXPECT_EQ(import.code, 1) << damage.name;
    const CliRun init = runTool({"init", "--data", dir.string()});
    EXPECT_EQ(init.code, 1) << damage.name;
    if (std::string(damage.name) != "missing table") {
      EXPECT_TRUE(contains(init.err, "is not a Tallis store")) << damage.name << ": " << init.err;
    }
    EXPECT_TRUE(testing::readFile(dir / "tallis.db") == bytes) << damage.name << ": the file is unchanged";
    EXPECT_FALSE(fs::exists(dir / "tallis.db-wal") || fs::exists(dir / "tallis.db-shm")) << damage.name;
  }
  const CliRun missing = runTool({"analyse", "--data", (tmp_ / "none").string(), "--database", "Sales", "--by", "zip"});
  EXPECT_TRUE(contains(missing.err, "tallis.db is missing")) << missing.err;
  EXPECT_FALSE(fs::exists(tmp_ / "none"));
}

// What cannot be read or written says why, in the system's words.
TEST_F(FaultsTest, RefusalsGiveTheSystemsReason) {
  const fs::path dir = copyOfStore();
  CliRun r = runTool({"import", "--data", dir.string(), "--database", "Sales", (tmp_ / "absent.csv").string()});
  EXPECT_TRUE(contains(r.err, "absent.csv: No such file or directory")) << r.err;
  r = runTool({"import", "--data", dir.string(), "--database", "Sales", tmp_.path().string()});
  EXPECT_TRUE(contains(r.err, "is a directory, not a CSV file")) << r.err;

  // A data file that cannot be looked at is not "missing" (as root, a link
  // loop stands in for a folder without read permission).
  const fs::path loop = tmp_ / "loop";
  fs::create_directories(loop);
  fs::create_symlink("tallis.db", loop / "tallis.db");
  r = runTool({"analyse", "--data", loop.string(), "--database", "Sales", "--by", "zip"});
  EXPECT_EQ(r.code, 1);
  EXPECT_TRUE(contains(r.err, "cannot read") && !contains(r.err, "missing")) << r.err;

  // A write that fails inside the one file-writing routine.
  host::setWriteFaultForTesting([](const fs::path&) { return ENOSPC; });
  r = runTool({"analyse", "--data", dir.string(), "--database", "Sales", "--by", "state", "--map",
           (tmp_ / "map.bmp").string()});
  host::setWriteFaultForTesting(nullptr);
  EXPECT_EQ(r.code, 1);
  EXPECT_TRUE(contains(r.err, "map.bmp: No space left on device")) << r.err;
  for (const auto& entry : fs::directory_iterator(tmp_.path())) {
    EXPECT_NE(entry.path().filename().string().rfind("map.bmp", 0), 0u) << "no map, no temporary: " << entry.path();
  }

  struct Usage {
    std::vector<std::string> args;
    const char* message;
  };
  const Usage usages[] = {
      {{"import", "--data", "a", "--data", "b", "--database", "X", "f.csv"}, "is given twice"},
      {{"analyse", "--data", "a", "--database", "X", "--by", "zip", "--count", "--count"}, "is given twice"},
      {{"analyse", "--data", "a", "--database", "X", "--by", "zip", "--reverse"}, "--reverse goes with --filter"},
      {{"analyse", "--data", "a", "--database", "X", "--by", "zip", "--today", "2026-01-01"},
       "--today goes with --filter"},
  };
  for (const Usage& u : usages) {
    r = runTool(u.args);
    EXPECT_EQ(r.code, 2) << u.message;
    EXPECT_TRUE(contains(r.err, u.message)) << r.err;
  }
}

// Another program holding the write lock: the import waits, then fails
// saying so, and adds nothing.
TEST_F(FaultsTest, AHeldWriteLockFailsTheImportClearly) {
  const fs::path dir = copyOfStore();
  const std::string before = contactCount(dir);
  sqlite3* holder = nullptr;
  ASSERT_EQ(sqlite3_open((dir / "tallis.db").c_str(), &holder), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(holder, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
  const CliRun r = runTool({"import", "--data", dir.string(), "--database", "Sales", csv("LastName\nA\n")});
  sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(holder);
  EXPECT_EQ(r.code, 1);
  EXPECT_TRUE(contains(r.err, "the store is busy: another program is writing; try again")) << r.err;
  EXPECT_EQ(contactCount(dir), before);
  EXPECT_EQ(integrity(dir), "ok");
}

// A demo count beyond the maximum is refused before anything is written
// (it once ended in bad_alloc, or grew to 16 GB), and so are options that
// belong to --demo without it and an option given twice.
TEST_F(FaultsTest, InitRefusesBadCountsBeforeWritingAnything) {
  for (const std::vector<std::string>& extra :
       {std::vector<std::string>{"--demo", "--contacts", "100000000000"},
        std::vector<std::string>{"--demo", "--contacts", "2147483648"},
        std::vector<std::string>{"--demo", "--contacts", "99999999999999999999999"},
        std::vector<std::string>{"--contacts", "10"}}) {
    std::vector<std::string> args{"init", "--data", (tmp_ / "new").string()};
    args.insert(args.end(), extra.begin(), extra.end());
    const CliRun r = runTool(args);
    EXPECT_EQ(r.code, 2) << extra[1];
    EXPECT_TRUE(contains(r.err, extra[0] == "--demo" ? "--contacts takes at most 10000000, not " + extra[2] : "Usage:"))
        << r.err;
    EXPECT_FALSE(fs::exists(tmp_ / "new" / "tallis.db"));
  }
  // Nor is the root of the file system a data directory.
  const bool rootHadOne = fs::exists("/tallis.db");
  const CliRun root = runTool({"init", "--data", "/"});
  EXPECT_EQ(root.code, 2);
  EXPECT_TRUE(contains(root.err, "/ is the root of the file system")) << root.err;
  if (!rootHadOne && fs::exists("/tallis.db")) {
    ADD_FAILURE() << "init wrote /tallis.db";
    fs::remove("/tallis.db");
  }
}

// kill -9 in the middle of a long write loses nothing: an import leaves the
// store as it was, init --demo leaves no data file, and both run again.
TEST_F(FaultsTest, KilledWritesLeaveTheStoreWholeOrAbsent) {
  const fs::path dir = copyOfStore();
  const std::string before = contactCount(dir);
  std::string rows = "LastName,City\n";
  for (int i = 0; i < 50; ++i) rows += "Name" + std::to_string(i) + ",Boston\n";
  const std::string file = csv(rows);
  const std::vector<std::string> import{"import", "--data", dir.string(), "--database", "Sales", file};
  EXPECT_EQ(runChild(import, {"VISTREL_TEST_KILL_AFTER_ROWS=20"}).status, -SIGKILL);
  EXPECT_EQ(integrity(dir), "ok");
  EXPECT_EQ(contactCount(dir), before);
  EXPECT_EQ(runChild(import).status, 0);
  EXPECT_EQ(contactCount(dir), std::to_string(std::stoi(before) + 50));

  const fs::path fresh = tmp_ / "fresh";
  const std::vector<std::string> init{"init", "--data", fresh.string(), "--demo", "--contacts", "300"};
  EXPECT_EQ(runChild(init, {"VISTREL_TEST_KILL_AFTER_ROWS=150"}).status, -SIGKILL);
  EXPECT_FALSE(fs::exists(fresh / "tallis.db")) << "no half store";
  // Whatever runs next on the folder clears the killed run's build.
  runTool({"analyse", "--data", fresh.string(), "--database", "Sales", "--by", "zip"});
  EXPECT_TRUE(listing(fresh).empty()) << listing(fresh).front();
  const ChildRun again = runChild(init);
  EXPECT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(std::distance(fs::directory_iterator(fresh), fs::directory_iterator()), 1) << "the killed run's build is gone";
  EXPECT_EQ(integrity(fresh), "ok");
  EXPECT_EQ(contactCount(fresh), "300");
}

// A mirror killed half-way leaves the copy as the last whole run left it:
// not new contacts beside old events, and in its usual journal mode.
TEST_F(FaultsTest, AKilledMirrorLeavesTheCopyAsItWas) {
  const fs::path copy = tmp_ / "mirror";
  fs::copy(mirrored(), copy, fs::copy_options::recursive);
  const std::string contacts = contactCount(copy);
  const std::string events = eventCount(copy);
  // The host's tables change: a contact more.
  const fs::path changed = copyOfStore();
  ASSERT_EQ(runTool({"import", "--data", changed.string(), "--database", "Sales", csv("LastName\nNew\n")}).code, 0);
  const fs::path host = tmp_ / "host";
  ASSERT_EQ(runTool({"export-paradox", "--data", changed.string(), "--to", host.string()}).code, 0);

  const std::vector<std::string> mirror{"mirror", "--data", copy.string(), "--from", host.string()};
  const int eventRows = std::stoi(events);
  ASSERT_GT(eventRows, std::stoi(contacts) + 1) << "the kill falls in the copy of the events";
  EXPECT_EQ(runChild(mirror, {"VISTREL_TEST_KILL_AFTER_ROWS=" + std::to_string(std::stoi(contacts) + 10)}).status,
            -SIGKILL);
  EXPECT_EQ(integrity(copy), "ok");
  EXPECT_EQ(query(copy, "PRAGMA journal_mode"), "wal");
  EXPECT_EQ(contactCount(copy), contacts);
  EXPECT_EQ(eventCount(copy), events);
  EXPECT_EQ(runChild(mirror).status, 0);
  EXPECT_EQ(contactCount(copy), std::to_string(std::stoi(contacts) + 1));
}

// Damaged or odd host tables are refused, saying which and why, and the
// copy of that table stays as it was: no crash, no hang, no short copy,
// and nothing of the Paradox library's own output.
TEST_F(FaultsTest, DamagedHostTablesAreRefusedAndTheirCopyKept) {
  const auto memoField = [](std::string& b) {
    // The field list: (type, width) pairs from 0x78. The memo shrinks to 1
    // byte, a text field takes the rest, so that the record keeps its size.
    const int fields = u16(b, 0x21);
    int memo = -1, text = -1;
    for (int i = 0; i < fields; ++i) {
      const auto type = static_cast<unsigned char>(b[0x78 + 2 * i]);
      if (type == 0x0C && memo < 0) memo = i;
      if (type == 0x01 && static_cast<unsigned char>(b[0x79 + 2 * i]) < 200 && text < 0) text = i;
    }
    ASSERT_TRUE(memo >= 0 && text >= 0);
    const int width = static_cast<unsigned char>(b[0x79 + 2 * memo]);
    b[0x79 + 2 * memo] = 1;
    b[0x79 + 2 * text] = static_cast<char>(static_cast<unsigned char>(b[0x79 + 2 * text]) + width - 1);
  };
  struct Damage {
    const char* name;
    std::function<void(const fs::path& host)> make;
    const char* message;
  };
  const Damage damages[] = {
      {"a memo field shorter than its pointer", [&](const fs::path& h) { patchFile(h / "CONTACT.DB", memoField); },
       "CONTACT.DB: damaged header (memo field Memo is 1 byte long, shorter than its 10-byte pointer)"},
      {"the memo file is a folder",
       [](const fs::path& h) {
         fs::remove(h / "CONTACT.MB");
         fs::create_directory(h / "CONTACT.MB");
       },
       "CONTACT.MB is a directory, not a memo file"},
      {"the memo file is a named pipe",
       [](const fs::path& h) {
         fs::remove(h / "CONTACT.MB");
         ASSERT_EQ(mkfifo((h / "CONTACT.MB").c_str(), 0600), 0);
       },
       "CONTACT.MB is a named pipe, not a memo file"},
      {"the memo file is a link to an endless device",
       [](const fs::path& h) {
         fs::remove(h / "CONTACT.MB");
         fs::create_symlink("/dev/zero", h / "CONTACT.MB");
       },
       "CONTACT.MB is a device, not a memo file"},
      {"the first block is none",
       [](const fs::path& h) { patchFile(h / "CONTACT.DB", [](std::string& b) { put16(b, 0x0E, 0); }); },
       "CONTACT.DB: damaged header or block chain (the header counts 300 records, the blocks hold 0)"},
      {"the chain ends after its first block",
       [](const fs::path& h) { patchFile(h / "CONTACT.DB", [](std::string& b) { put16(b, blockAt(b, 1), 0); }); },
       "CONTACT.DB: damaged header or block chain (the header counts 300 records, the blocks hold 2"},
      {"a block's last record before its start",
       [](const fs::path& h) {
         patchFile(h / "CONTACT.DB", [](std::string& b) { put16(b, blockAt(b, 3) + 4, 0xFFFD); });
       },
       "CONTACT.DB: damaged block 3"},
      {"the table is a folder",
       [](const fs::path& h) {
         fs::remove(h / "CONTACT.DB");
         fs::create_directory(h / "CONTACT.DB");
       },
       "CONTACT.DB is a directory, not a Paradox table"},
      {"the table is a named pipe",
       [](const fs::path& h) {
         fs::remove(h / "CONTACT.DB");
         ASSERT_EQ(mkfifo((h / "CONTACT.DB").c_str(), 0600), 0);
       },
       "CONTACT.DB is a named pipe, not a Paradox table"},
      {"the table is a link to itself",
       [](const fs::path& h) {
         fs::remove(h / "CONTACT.DB");
         fs::create_symlink("CONTACT.DB", h / "CONTACT.DB");
       },
       "CONTACT.DB: Too many levels of symbolic links"},
  };
  for (const Damage& d : damages) {
    const fs::path host = tmp_ / d.name / "host";
    const fs::path copy = tmp_ / d.name / "copy";
    fs::create_directories(tmp_ / d.name);
    fs::copy(hostDir(), host, fs::copy_options::recursive);
    fs::copy(mirrored(), copy, fs::copy_options::recursive);
    d.make(host);
    const ChildRun r = runChild({"mirror", "--data", copy.string(), "--from", host.string(), "--force"});
    EXPECT_EQ(r.status, 1) << d.name;
    EXPECT_TRUE(contains(r.err, d.message)) << d.name << ": " << r.err;
    EXPECT_FALSE(contains(r.err, "Number of records") || contains(r.err, "has no records")) << d.name << ": " << r.err;
    EXPECT_EQ(contactCount(copy), "300") << d.name;
  }
}

// The mirror only ever reads the Tallis directory: a data directory there
// or inside it is refused.
TEST_F(FaultsTest, TheMirrorNeverWritesIntoTheTallisDirectory) {
  const fs::path host = tmp_ / "host";
  fs::copy(hostDir(), host, fs::copy_options::recursive);
  const std::vector<std::string> before = listing(host);
  for (const fs::path& data : {host, host / "copy", host / ".." / "host"}) {
    const CliRun r = runTool({"mirror", "--data", data.string(), "--from", host.string()});
    EXPECT_EQ(r.code, 2) << data;
    EXPECT_TRUE(contains(r.err, "lies in the Tallis directory")) << r.err;
    EXPECT_EQ(listing(host), before) << data;
  }
}

// Writing Paradox tables: over a Tallis directory only when asked, in the
// names that are there, all or nothing, and never losing characters silently.
TEST_F(FaultsTest, ExportParadoxReplacesOnlyWhenAskedAndAllOrNothing) {
  const fs::path host = tmp_ / "host";
  fs::copy(hostDir(), host, fs::copy_options::recursive);
  const std::vector<std::string> names = listing(host);
  const std::string contacts = testing::readFile(host / "CONTACT.DB");
  const std::vector<std::string> exportTo{"export-paradox", "--data", store().string(), "--to", host.string()};
  CliRun r = runTool(exportTo);
  EXPECT_EQ(r.code, 1);
  EXPECT_TRUE(contains(r.err, "already holds Tallis tables (CONTACT.DB") && contains(r.err, "--force")) << r.err;
  EXPECT_TRUE(testing::readFile(host / "CONTACT.DB") == contacts);

  // The device fills up at the events: nothing is replaced, nothing is left.
  std::vector<std::string> force = exportTo;
  force.push_back("--force");
  host::setWriteFaultForTesting([](const fs::path& p) { return p.filename() == "event.db" ? ENOSPC : 0; });
  r = runTool(force);
  host::setWriteFaultForTesting(nullptr);
  EXPECT_EQ(r.code, 1);
  EXPECT_TRUE(contains(r.err, "event.db: No space left on device")) << r.err;
  EXPECT_TRUE(testing::readFile(host / "CONTACT.DB") == contacts) << "the contacts are not replaced alone";
  EXPECT_EQ(listing(host), names);

  // Lower-case names are written as they are, not beside.
  const fs::path lower = tmp_ / "lower";
  fs::create_directories(lower);
  for (const std::string& n : names) {
    std::string low = n;
    for (char& c : low) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    fs::copy(host / n, lower / low);
  }
  const std::vector<std::string> lowerNames = listing(lower);
  r = runTool({"export-paradox", "--data", store().string(), "--to", lower.string(), "--force"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(listing(lower), lowerNames);

  // Characters code page 1252 lacks.
  const fs::path dir = copyOfStore();
  execute(dir, "UPDATE contact SET City = '\xC5\x81\xC3\xB3\x64\xC5\xBA' WHERE Recno = (SELECT min(Recno) FROM contact)");
  const std::string first = query(dir, "SELECT min(Recno) FROM contact");
  const fs::path fresh = tmp_ / "fresh";
  r = runTool({"export-paradox", "--data", dir.string(), "--to", fresh.string()});
  EXPECT_EQ(r.code, 1);
  EXPECT_TRUE(contains(r.err, "(Recno " + first + "), field City: '\xC5\x81\xC3\xB3\x64\xC5\xBA'")) << r.err;
  EXPECT_FALSE(fs::exists(fresh / "CONTACT.DB"));
  r = runTool({"export-paradox", "--data", dir.string(), "--to", fresh.string(), "--replace-unmappable"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(contains(r.err, "field City")) << r.err;
}

// A name that looks like another database's makes no new database.
TEST_F(FaultsTest, DatabaseNamesThatOnlyLookLikeAnotherAreRefused) {
  const fs::path dir = copyOfStore();
  const std::string contacts = contactCount(dir);
  const std::string databases = query(dir, "SELECT count(*) FROM database");
  const std::string recno = query(dir, "SELECT Recno FROM contact WHERE DB = 'Sales' LIMIT 1");
  const std::string people = csv("LastName\nLookalike\n");
  const fs::path events = tmp_ / "events.csv";
  testing::writeFile(events, "Recno,Type\n" + recno + ",CALL\n");
  struct Name {
    std::string name;
    const char* message;
  };
  const Name names[] = {
      {"Sales ", "does not begin or end with a blank"},
      {"   ", "does not begin or end with a blank"},
      {"Sa\nles", "holds no line break or other control character"},
      {"Sa\xFFles", "byte 3 (0xFF) is not"},
  };
  for (const Name& n : names) {
    for (const bool withEvents : {false, true}) {
      std::vector<std::string> args{"import", "--data", dir.string(), "--database", n.name};
      if (withEvents) args.push_back("--events");
      args.push_back(withEvents ? events.string() : people);
      const CliRun r = runTool(args);
      EXPECT_EQ(r.code, 1) << n.message;
      EXPECT_TRUE(contains(r.err, n.message)) << r.err;
    }
  }
  EXPECT_EQ(contactCount(dir), contacts);
  EXPECT_EQ(query(dir, "SELECT count(*) FROM database"), databases);
}

// New record numbers never take one that is there, whatever its form.
TEST_F(FaultsTest, RecordNumbersOfOtherFormsDoNotBlockLaterImports) {
  struct Row {
    const char* name;
    std::string first;  // gives a number of its own
    std::string then;   // leaves the numbers to the import
    bool events;
  };
  const Row rows[] = {
      {"short contact number", "Recno,LastName\nC5,Short\n", "LastName\nNext\n", false},
      {"long contact number", "Recno,LastName\nC5000000000000000000,Long\n", "LastName\nNext\n", false},
      {"short event number", "ERecno,Recno,Type\nE5,@,CALL\n", "Recno,Type\n@,CALL\n", true},
  };
  for (const Row& row : rows) {
    const fs::path dir = tmp_ / row.name;
    fs::copy(store(), dir, fs::copy_options::recursive);
    const std::string recno = query(dir, "SELECT Recno FROM contact WHERE DB = 'Sales' LIMIT 1");
    for (std::string text : {row.first, row.then, row.then}) {
      if (const auto at = text.find('@'); at != std::string::npos) text.replace(at, 1, recno);
      std::vector<std::string> args{"import", "--data", dir.string(), "--database", "Sales"};
      if (row.events) args.push_back("--events");
      args.push_back(csv(text));
      const CliRun r = runTool(args);
      EXPECT_EQ(r.code, 0) << row.name << ": " << r.err;
    }
  }
}

// Input files are read only when they are regular files of a size that fits
// their kind: a device, a pipe or a folder is named and refused at once.
TEST_F(FaultsTest, InputFilesMustBeRegularFilesOfTheirSize) {
  const fs::path dir = copyOfStore();
  const fs::path pipe = tmp_ / "pipe";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  const fs::path big = tmp_ / "big.txt";
  testing::writeFile(big, std::string(100000, 'x'));
  const std::string data = dir.string();
  using Args = std::function<std::vector<std::string>(const std::string& file)>;
  struct Command {
    const char* name;
    Args args;
    const char* noun;
  };
  const Command commands[] = {
      {"import", [&](const std::string& f) { return std::vector<std::string>{"import", "--data", data, "--database", "Sales", f}; },
       "a CSV file"},
      {"import --events",
       [&](const std::string& f) {
         return std::vector<std::string>{"import", "--data", data, "--database", "Sales", "--events", f};
       },
       "a CSV file"},
      {"filter add",
       [&](const std::string& f) {
         return std::vector<std::string>{"filter", "add", "--data", data, "--database", "Sales", "--who", "DEM",
                                         "--name", "Odd", "--definition", f};
       },
       "a filter definition"},
      {"filter describe",
       [&](const std::string& f) {
         return std::vector<std::string>{"filter", "describe", "--data", data, "--database", "Sales", "--definition", f};
       },
       "a filter definition"},
  };
  const std::string contacts = contactCount(dir);
  for (const Command& c : commands) {
    for (const auto& [file, what] : {std::pair<std::string, std::string>{"/dev/zero", "is a device"},
                                     {pipe.string(), "is a named pipe"},
                                     {tmp_.path().string(), "is a directory"}}) {
      const CliRun r = runTool(c.args(file));
      EXPECT_EQ(r.code, 1) << c.name << " " << file;
      EXPECT_TRUE(contains(r.err, file + " " + what + ", not " + c.noun)) << c.name << ": " << r.err;
    }
  }
  const CliRun r = runTool(commands[2].args(big.string()));
  EXPECT_EQ(r.code, 1);
  EXPECT_TRUE(contains(r.err, "is too large for a filter definition (97.7 KB, at most 64 KB)")) << r.err;
  EXPECT_EQ(contactCount(dir), contacts);
}

// A map is written to a regular file only: what stands there otherwise is
// left as it is, and a link is written through to its file.
TEST_F(FaultsTest, MapsReplaceOnlyRegularFiles) {
  const fs::path pipe = tmp_ / "pipe.bmp";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  fs::create_directory(tmp_ / "folder.bmp");
  fs::create_symlink(tmp_ / "missing.bmp", tmp_ / "dangling.bmp");
  testing::writeFile(tmp_ / "target.bmp", "old");
  fs::create_symlink("target.bmp", tmp_ / "link.bmp");
  const auto analyse = [&](const fs::path& map) {
    return runTool({"analyse", "--data", store().string(), "--database", "Sales", "--by", "state", "--count", "--map",
                    map.string()});
  };
  const std::pair<const char*, const char*> refused[] = {{"pipe.bmp", "it is a named pipe, not a regular file"},
                                                         {"folder.bmp", "it is a directory, not a regular file"},
                                                         {"dangling.bmp", "it is a link to a missing file"}};
  for (const auto& [name, message] : refused) {
    const CliRun r = analyse(tmp_ / name);
    EXPECT_EQ(r.code, 1) << name;
    EXPECT_TRUE(contains(r.err, message)) << r.err;
  }
  struct stat st {};
  ASSERT_EQ(lstat(pipe.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "the pipe is still a pipe";
  EXPECT_TRUE(fs::is_directory(tmp_ / "folder.bmp"));
  EXPECT_TRUE(fs::is_symlink(tmp_ / "dangling.bmp"));

  const CliRun r = analyse(tmp_ / "link.bmp");
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(fs::is_symlink(tmp_ / "link.bmp"));
  EXPECT_EQ(testing::readFile(tmp_ / "target.bmp").substr(0, 2), "BM");
}

}  // namespace
}  // namespace vistrel
