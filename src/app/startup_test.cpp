// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "app/startup.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

#include "host/tallis_schema.h"
#include "testing.h"

namespace vistrel::app {
namespace {

namespace fs = std::filesystem;

// Records what would have been started.
struct FakeStarter {
  std::vector<fs::path> started;
  host::Status result;
  ProgramStarter starter() {
    return [this](const fs::path& p) {
      started.push_back(p);
      return result;
    };
  }
};

TEST(ReadNetDirTest, ValuesAndWhenThereIsNone) {
  struct Row {
    const char* name;
    const char* ini;  // nullptr: no NETDIR.INI
    bool ok;
    const char* directory;
  };
  const Row rows[] = {
      {"no file", nullptr, false, ""},
      {"three spaces", "[Options]\nNetDir=   \n", false, ""},
      {"the default written out", "[Options]\nNetDir=xx\n", false, ""},
      {"a lone slash leaves nothing", "[Options]\nNetDir=/\n", false, ""},
      {"trailing slash dropped", "[Options]\nNetDir=/srv/net/\n", true, "/srv/net"},
      {"only one slash dropped", "[Options]\nNetDir=/srv/net//\n", true, "/srv/net/"},
      {"trailing backslash kept", "[Options]\nNetDir=N:\\TALLIS\\NET\\\n", true, "N:\\TALLIS\\NET\\"},
      {"not tested for existence", "[Options]\nNetDir=/no/such/folder\n", true, "/no/such/folder"},
  };
  for (const Row& row : rows) {
    testing::TempDir home;
    if (row.ini != nullptr) testing::writeFile(home / "NETDIR.INI", row.ini);
    std::string dir = "unchanged";
    EXPECT_EQ(ReadNetDir(dir, home.path()), row.ok) << row.name;
    EXPECT_EQ(dir, row.ok ? row.directory : "unchanged") << row.name;
  }
}

TEST(ReadNetDirTest, NetdirStartsFromTheProgramFolderOrSaysWhyNot) {
  testing::TempDir home;
  FakeStarter fake;
  EXPECT_TRUE(startNetDirProgram({home.path(), "pat", {}, fake.starter()}).ok());
  ASSERT_EQ(fake.started.size(), 1u);
  EXPECT_EQ(fake.started[0], home.path() / "netdir");

  // The real starter; there is no netdir.
  const host::Status s = startNetDirProgram({home.path(), "pat", {}});
  EXPECT_FALSE(s.ok());
  EXPECT_EQ(s.message().rfind("Could not start the NETDIR command: ", 0), 0u) << s.message();
  EXPECT_NE(s.message().find((home / "netdir").string()), std::string::npos) << s.message();
}

TEST(StartProgramTest, StartsWithoutWaiting) {
  testing::TempDir home;
  const fs::path script = home / "netdir";
  // The program waits for a word from this test before it answers. Had the
  // start waited for the program, it would never return to give the word.
  const fs::path go = home / "netdir.go";
  const fs::path answer = home / "netdir.answer";
  ASSERT_EQ(mkfifo(go.c_str(), 0600), 0);
  ASSERT_EQ(mkfifo(answer.c_str(), 0600), 0);
  testing::writeFile(script, "#!/bin/sh\nread word < \"$0.go\"\necho \"ran after $word\" > \"$0.answer\"\n");
  fs::permissions(script, fs::perms::owner_all);
  ASSERT_TRUE(startProgramDetached(script).ok());
  {
    std::ofstream(go) << "go\n";  // opening waits for the program to listen
  }
  std::ifstream in(answer);
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "ran after go");
}

TEST(PrivateDirectoryTest, PathByUserNameAndFirstArgument) {
  struct Row {
    const char* name;
    const char* user;
    std::vector<std::string> args;
    const char* expected;
  };
  const Row rows[] = {
      {"no argument: whole name", "Administrator", {}, "/opt/v/priv/Vistrel/Administrator"},
      {"/N cuts to six", "Administrator", {"/N"}, "/opt/v/priv/Vistrel/Admini"},
      {"/n cuts to six", "Administrator", {"/n"}, "/opt/v/priv/Vistrel/Admini"},
      {"other argument ignored", "Administrator", {"ABC"}, "/opt/v/priv/Vistrel/Administrator"},
      {"/N only as the first argument", "Administrator", {"ABC", "/N"}, "/opt/v/priv/Vistrel/Administrator"},
      {"/N with a blank is another argument", "Administrator", {"/N "}, "/opt/v/priv/Vistrel/Administrator"},
      {"no name", "", {}, "/opt/v/priv/Vistrel/"},
      {"six characters, not bytes", "J\xC3\xBCrgenM\xC3\xBCller", {"/n"}, "/opt/v/priv/Vistrel/J\xC3\xBCrgen"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(privateDirectoryPath("/opt/v", row.user, row.args), row.expected) << row.name;
  }
  EXPECT_EQ(privateDirectoryPath("/opt/v/", "pat", {}), "/opt/v/priv/Vistrel/pat") << "no doubled slash";
}

TEST(PrivateDirectoryTest, CreatesEveryMissingFolderOrSaysItCouldNot) {
  testing::TempDir home;
  const std::string path = (home / "priv/Vistrel/pat").string();
  EXPECT_TRUE(createPrivateDirectory(path).ok());
  EXPECT_TRUE(fs::is_directory(path));
  EXPECT_TRUE(createPrivateDirectory(path).ok()) << "an existing folder is fine";

  testing::writeFile(home / "file", "x");
  const std::string blocked = (home / "file/Vistrel/pat").string();
  EXPECT_EQ(createPrivateDirectory(blocked).message(), "Could not create the private directory " + blocked);
}

TEST(PrepareEngineTest, WithoutNetworkDirectoryTheProgramEnds) {
  testing::TempDir home;
  host::Engine engine;
  const StartupReport report = prepareEngine(engine, {home.path(), "pat", {}, FakeStarter().starter()});
  EXPECT_FALSE(report.ready);
  EXPECT_TRUE(report.netDirMissing) << "the program offers to run netdir";
  EXPECT_TRUE(engine.netDir().empty());
  EXPECT_TRUE(engine.privateDir().empty());
  EXPECT_FALSE(fs::exists(home / "priv")) << "nothing made before the program ends";
}

TEST(PrepareEngineTest, SetsPasswordsAndBothDirectories) {
  testing::TempDir home;
  testing::writeFile(home / "NETDIR.INI", "[Options]\nNetDir=/srv/net/\n");
  host::Engine engine;
  const StartupReport report = prepareEngine(engine, {home.path(), "Administrator", {"/N"}, FakeStarter().starter()});
  ASSERT_TRUE(report.ready);
  EXPECT_TRUE(report.errors.empty());
  EXPECT_EQ(engine.netDir(), fs::path("/srv/net"));
  EXPECT_EQ(engine.privateDir(), home / "priv/Vistrel/Admini");
  EXPECT_TRUE(fs::is_directory(home / "priv/Vistrel/Admini"));
  EXPECT_TRUE(engine.knowsPassword(host::tallisTablePassword(host::TablePassword::kUsers)));
  EXPECT_TRUE(engine.knowsPassword(host::tallisTablePassword(host::TablePassword::kContacts)));
  EXPECT_FALSE(engine.knowsPassword(host::tallisTablePassword(host::TablePassword::kFilters)))
      << "the main window adds the third";
}

TEST(PrepareEngineTest, InstalledSetupReadsTheUsersThenTheMachinesNetdirAndKeepsThePrivateDirectoryWithTheUser) {
  struct Row {
    const char* name;
    const char* user;    // the user's NETDIR.INI, or nullptr
    const char* shared;  // the machine's, or nullptr
    const char* netDir;  // nullptr: the user is asked and the program ends
  };
  const Row rows[] = {
      {"the user's file first", "[Options]\nNetDir=/home/net\n", "[Options]\nNetDir=/srv/net\n", "/home/net"},
      {"the machine's when the user has none", nullptr, "[Options]\nNetDir=/srv/net\n", "/srv/net"},
      {"the user's file decides even when blank", "[Options]\nNetDir=\n", "[Options]\nNetDir=/srv/net\n", nullptr},
      {"neither", nullptr, nullptr, nullptr},
  };
  for (const Row& row : rows) {
    testing::TempDir dir;
    host::ProgramFolders folders;
    folders.portable = false;
    folders.program = dir / "usr/bin";
    folders.settings = dir / "config/vistrel";
    folders.sharedSettings = {dir / "etc/xdg/vistrel", dir / "etc/other/vistrel"};
    folders.privateDirectory = dir / "data/vistrel";
    if (row.user != nullptr) testing::writeFile(folders.settings / "NETDIR.INI", row.user);
    if (row.shared != nullptr) testing::writeFile(folders.sharedSettings[1] / "NETDIR.INI", row.shared);
    host::Engine engine;
    StartupContext context{folders.program, "Administrator", {"/N"}, FakeStarter().starter()};
    context.folders = folders;
    const StartupReport report = prepareEngine(engine, context);
    EXPECT_EQ(report.ready, row.netDir != nullptr) << row.name;
    EXPECT_EQ(report.netDirMissing, row.netDir == nullptr) << row.name;
    EXPECT_TRUE(report.errors.empty()) << row.name;
    if (row.netDir == nullptr) {
      EXPECT_FALSE(fs::exists(folders.privateDirectory)) << row.name;
      continue;
    }
    EXPECT_EQ(engine.netDir(), fs::path(row.netDir)) << row.name;
    EXPECT_EQ(engine.privateDir(), folders.privateDirectory) << row.name << ": no user name, /N changes nothing";
    EXPECT_TRUE(fs::is_directory(folders.privateDirectory)) << row.name;
  }
}

}  // namespace
}  // namespace vistrel::app
