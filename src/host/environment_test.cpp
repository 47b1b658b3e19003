// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/environment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>

#include "testing.h"

namespace vistrel::host {
namespace {

TEST(EnvironmentTest, BlankTextsAreMadeOfSpaceCrLfAndBackspaceOnly) {
  EXPECT_TRUE(IsBlank(""));
  EXPECT_TRUE(IsBlank("\r\n"));
  EXPECT_TRUE(IsBlank(" \b "));
  EXPECT_FALSE(IsBlank("\t"));
  EXPECT_FALSE(IsBlank("  x "));
}

TEST(EnvironmentTest, JoinPathAddsOneSeparator) {
  EXPECT_EQ(JoinPath("", "a.ini"), "a.ini");
  EXPECT_EQ(JoinPath("  ", "a.ini"), "a.ini");
  EXPECT_EQ(JoinPath("/opt/v/", "a.ini"), "/opt/v/a.ini");
  EXPECT_EQ(JoinPath("/opt/v", "a.ini"), "/opt/v/a.ini");
}

TEST(EnvironmentTest, ScramblePairsFirstCharacterWithSecondKeyCharacter) {
  EXPECT_EQ(ScramblePassword(""), "");
  // 'a' ^ '5', then 'b' ^ '#'.
  EXPECT_EQ(ScramblePassword("ab"), std::string({static_cast<char>('a' ^ '5'), static_cast<char>('b' ^ '#')}));
  // The sixteenth character pairs with the first key character.
  const std::string s = ScramblePassword(std::string(16, 'x'));
  EXPECT_EQ(s[15], static_cast<char>('x' ^ '#'));
  EXPECT_EQ(s[14], static_cast<char>('x' ^ '0'));
  EXPECT_EQ(ScramblePassword(std::string(201, 'q')).size(), 200u);
  // Scrambling twice gives the typed text back.
  EXPECT_EQ(ScramblePassword(ScramblePassword("secret")), "secret");
}

TEST(EnvironmentTest, LastTallisUserReadsOptionsUserAndIsEmptyWithoutFile) {
  testing::TempDir dir;
  EXPECT_EQ(LastTallisUser(dir / "missing.ini"), "");
  testing::writeFile(dir / "reg.ini", "[options]\r\nuser=ABC\r\n");
  EXPECT_EQ(LastTallisUser(dir / "reg.ini"), "ABC");
}

TEST(EnvironmentTest, TaldbResolvesFromEnvironmentThenIniThenDataFolder) {
  testing::TempDir home;
  setenv("VISTREL_HOME", home.path().c_str(), 1);
  unsetenv("VISTREL_TALDB");
  EXPECT_EQ(resolveTaldbDirectory(), home.path() / "data");
  testing::writeFile(home / "vistrel.ini", "[Aliases]\nTALDB=/srv/tallis\n");
  EXPECT_EQ(resolveTaldbDirectory(), std::filesystem::path("/srv/tallis"));
  setenv("VISTREL_TALDB", "/elsewhere", 1);
  EXPECT_EQ(resolveTaldbDirectory(), std::filesystem::path("/elsewhere"));
  unsetenv("VISTREL_TALDB");
  unsetenv("VISTREL_HOME");
}

TEST(EnvironmentTest, PortableSetupsKeepTheProgramFolderInstalledOnesFollowTheDesktop) {
  testing::TempDir dir;
  const std::filesystem::path exe = dir / "bin";
  const std::filesystem::path home = dir / "home";
  std::filesystem::create_directories(exe);
  struct Row {
    const char* name;
    const char* beside;  // a file already in the program's folder, or nullptr
    std::map<std::string, std::string> env;
    bool portable;
    std::string settings;  // below `dir`
    std::vector<std::string> shared;
    std::string privateDirectory;  // below `dir`; empty when portable
    std::string taldb;             // below `dir`
  };
  const std::string h = home.string();
  const Row rows[] = {
      {"installed, nothing set", nullptr, {{"HOME", h}}, false, "home/.config/vistrel", {"/etc/xdg/vistrel"},
       "home/.local/share/vistrel", "home/.local/share/vistrel/data"},
      {"XDG folders honoured", nullptr,
       {{"HOME", h}, {"XDG_CONFIG_HOME", h + "/cfg"}, {"XDG_DATA_HOME", h + "/dat"},
        {"XDG_CONFIG_DIRS", "/site/xdg:relative/xdg::/etc/xdg"}},
       false, "home/cfg/vistrel", {"/site/xdg/vistrel", "/etc/xdg/vistrel"}, "home/dat/vistrel",
       "home/dat/vistrel/data"},
      {"relative XDG folders ignored", nullptr,
       {{"HOME", h}, {"XDG_CONFIG_HOME", "cfg"}, {"XDG_DATA_HOME", "dat"}, {"XDG_CONFIG_DIRS", "xdg"}}, false,
       "home/.config/vistrel", {}, "home/.local/share/vistrel", "home/.local/share/vistrel/data"},
      {"VISTREL_HOME names the program folder", nullptr, {{"HOME", h}, {"VISTREL_HOME", h + "/v"}}, true, "home/v",
       {}, "", "home/v/data"},
      {"vistrel.ini beside the program", "vistrel.ini", {{"HOME", h}}, true, "bin", {}, "", "bin/data"},
      {"NETDIR.INI beside the program", "NETDIR.INI", {{"HOME", h}}, true, "bin", {}, "", "bin/data"},
  };
  for (const Row& row : rows) {
    std::filesystem::remove_all(exe);
    std::filesystem::create_directories(exe);
    if (row.beside != nullptr) testing::writeFile(exe / row.beside, "[Options]\n");
    const auto env = [&row](const char* name) -> const char* {
      const auto it = row.env.find(name);
      return it == row.env.end() ? nullptr : it->second.c_str();
    };
    const ProgramFolders f = programFolders(exe, env);
    EXPECT_EQ(f.portable, row.portable) << row.name;
    EXPECT_EQ(f.settings, dir / row.settings) << row.name;
    EXPECT_EQ(f.sharedSettings, std::vector<std::filesystem::path>(row.shared.begin(), row.shared.end())) << row.name;
    EXPECT_EQ(f.privateDirectory, row.privateDirectory.empty() ? std::filesystem::path() : dir / row.privateDirectory)
        << row.name;
    EXPECT_EQ(f.defaultTaldb, dir / row.taldb) << row.name;
  }
}

}  // namespace
}  // namespace vistrel::host
