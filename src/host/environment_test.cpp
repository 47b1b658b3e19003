// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/environment.h"

#include <gtest/gtest.h>

#include <cstdlib>

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

}  // namespace
}  // namespace vistrel::host
