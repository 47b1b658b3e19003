// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "app/startup.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

#include "host/messages.h"
#include "host/tallis_schema.h"
#include "testing.h"

namespace vistrel::app {
namespace {

namespace fs = std::filesystem;
using host::MessageAnswer;

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

TEST(ReadNetDirTest, ValuesAndWhenTheUserIsAsked) {
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
    host::ScopedMessageRecorder messages;
    messages.setNextAnswer(MessageAnswer::kNo);
    FakeStarter fake;
    std::string dir = "unchanged";
    EXPECT_EQ(ReadNetDir(dir, home.path(), fake.starter()), row.ok) << row.name;
    if (row.ok) {
      EXPECT_EQ(dir, row.directory) << row.name;
      EXPECT_TRUE(messages.messages().empty()) << row.name;
    } else {
      ASSERT_EQ(messages.messages().size(), 1u) << row.name;
      const host::Message& m = messages.messages()[0];
      EXPECT_EQ(m.text, kNetDirPrompt) << row.name;
      EXPECT_EQ(m.icon, host::MessageIcon::kInformation) << row.name;
      EXPECT_EQ(m.buttons, host::MessageButtons::kYesNo) << row.name;
      EXPECT_TRUE(fake.started.empty()) << row.name << ": answered No";
    }
  }
}

TEST(ReadNetDirTest, YesStartsNetdirFromTheProgramFolderAndStillEnds) {
  testing::TempDir home;
  host::ScopedMessageRecorder messages;
  messages.setNextAnswer(MessageAnswer::kYes);
  FakeStarter fake;
  std::string dir;
  EXPECT_FALSE(ReadNetDir(dir, home.path(), fake.starter()));
  ASSERT_EQ(fake.started.size(), 1u);
  EXPECT_EQ(fake.started[0], home.path() / "netdir");
  EXPECT_EQ(messages.messages().size(), 1u) << "nothing said after a successful start";
}

TEST(ReadNetDirTest, AProgramThatCannotStartIsReported) {
  testing::TempDir home;
  host::ScopedMessageRecorder messages;
  messages.setNextAnswer(MessageAnswer::kYes);
  std::string dir;
  EXPECT_FALSE(ReadNetDir(dir, home.path()));  // the real starter; there is no netdir
  ASSERT_EQ(messages.messages().size(), 2u);
  EXPECT_EQ(messages.messages()[1].icon, host::MessageIcon::kError);
  EXPECT_NE(messages.messages()[1].text.find((home / "netdir").string()), std::string::npos)
      << messages.messages()[1].text;
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
  host::ScopedMessageRecorder messages;
  const std::string path = (home / "priv/Vistrel/pat").string();
  EXPECT_TRUE(createPrivateDirectory(path));
  EXPECT_TRUE(fs::is_directory(path));
  EXPECT_TRUE(createPrivateDirectory(path)) << "an existing folder is fine";
  EXPECT_TRUE(messages.messages().empty());

  testing::writeFile(home / "file", "x");
  const std::string blocked = (home / "file/Vistrel/pat").string();
  EXPECT_FALSE(createPrivateDirectory(blocked));
  EXPECT_EQ(messages.lastText(), "Could not create the private directory " + blocked);
}

TEST(PrepareEngineTest, WithoutNetworkDirectoryTheProgramEnds) {
  testing::TempDir home;
  host::ScopedMessageRecorder messages;
  messages.setNextAnswer(MessageAnswer::kNo);
  host::Engine engine;
  EXPECT_FALSE(prepareEngine(engine, {home.path(), "pat", {}, FakeStarter().starter()}));
  EXPECT_TRUE(engine.netDir().empty());
  EXPECT_TRUE(engine.privateDir().empty());
  EXPECT_FALSE(fs::exists(home / "priv")) << "nothing made before the program ends";
}

TEST(PrepareEngineTest, SetsPasswordsAndBothDirectories) {
  testing::TempDir home;
  testing::writeFile(home / "NETDIR.INI", "[Options]\nNetDir=/srv/net/\n");
  host::ScopedMessageRecorder messages;
  host::Engine engine;
  ASSERT_TRUE(prepareEngine(engine, {home.path(), "Administrator", {"/N"}, FakeStarter().starter()}));
  EXPECT_EQ(engine.netDir(), fs::path("/srv/net"));
  EXPECT_EQ(engine.privateDir(), home / "priv/Vistrel/Admini");
  EXPECT_TRUE(fs::is_directory(home / "priv/Vistrel/Admini"));
  EXPECT_TRUE(engine.knowsPassword(host::tallisTablePassword(host::TablePassword::kUsers)));
  EXPECT_TRUE(engine.knowsPassword(host::tallisTablePassword(host::TablePassword::kContacts)));
  EXPECT_FALSE(engine.knowsPassword(host::tallisTablePassword(host::TablePassword::kFilters)))
      << "the main window adds the third";
  EXPECT_TRUE(messages.messages().empty());
}

}  // namespace
}  // namespace vistrel::app
