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
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <functional>
#include <sstream>

#include "cli/command.h"
#include "cli_testing.h"
#include "host/file_write.h"
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
  struct Bad {
    const char* name;
    std::string csv;
    const char* message;
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
  };
  for (const Bad& b : bad) {
    const CliRun r = runTool({"import", "--data", dir.string(), "--database", "Sales", csv(b.csv)});
    EXPECT_EQ(r.code, 1) << b.name;
    EXPECT_TRUE(contains(r.err, b.message)) << b.name << ": " << r.err;
    EXPECT_EQ(contactCount(dir), before) << b.name;
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

  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"import", "--data", "a", "--data", "b", "--database", "X", "f.csv"},
        std::vector<std::string>{"analyse", "--data", "a", "--database", "X", "--by", "zip", "--count", "--count"}}) {
    r = runTool(args);
    EXPECT_EQ(r.code, 2) << args[0];
    EXPECT_TRUE(contains(r.err, "is given twice") && contains(r.err, "Usage:")) << r.err;
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
        std::vector<std::string>{"--contacts", "10"}}) {
    std::vector<std::string> args{"init", "--data", (tmp_ / "new").string()};
    args.insert(args.end(), extra.begin(), extra.end());
    const CliRun r = runTool(args);
    EXPECT_EQ(r.code, 2) << extra[1];
    EXPECT_TRUE(contains(r.err, extra[0] == "--demo" ? "--contacts takes at most 10000000" : "Usage:")) << r.err;
    EXPECT_FALSE(fs::exists(tmp_ / "new" / "tallis.db"));
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
  const ChildRun again = runChild(init);
  EXPECT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(std::distance(fs::directory_iterator(fresh), fs::directory_iterator()), 1) << "the killed run's build is gone";
  EXPECT_EQ(integrity(fresh), "ok");
  EXPECT_EQ(contactCount(fresh), "300");
}

}  // namespace
}  // namespace vistrel
