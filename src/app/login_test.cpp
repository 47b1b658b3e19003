// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "app/login.h"

#include <gtest/gtest.h>

#include "fixture_data.h"
#include "host/environment.h"
#include "host/tallis_schema.h"
#include "testing.h"

namespace vistrel::app {
namespace {

TEST(LoginPrefillTest, FirstArgumentOrTheLastTallisUser) {
  struct Row {
    const char* name;
    std::vector<std::string> args;
    const char* registry;
    const char* expected;
  };
  const Row rows[] = {
      {"upper-case id", {"ABC"}, "DEM", "ABC"},
      {"lower case changes on upper-casing", {"abc"}, "DEM", "DEM"},
      {"four characters are too many", {"ABCD"}, "DEM", "DEM"},
      {"/N is unchanged by upper-casing", {"/N"}, "DEM", "/N"},
      {"registry value cut to three", {}, "PLNX", "PLN"},
      {"nothing anywhere", {}, "", ""},
      {"three characters, not bytes", {"\xC3\x89" "AB"}, "DEM", "\xC3\x89" "AB"},
      {"registry cut never splits a character", {}, "A\xC3\x89" "BC", "A\xC3\x89" "B"},
  };
  for (const Row& row : rows) EXPECT_EQ(loginPrefill(row.args, row.registry), row.expected) << row.name;
}

class LoginTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::makeFixtureDataDir(dir_.path());
    engine_.setAlias("TALDB", dir_.path());
    engine_.addPassword(host::tallisTablePassword(host::TablePassword::kUsers));
    session_.start("");
  }

  testing::TempDir dir_;
  host::Engine engine_;
  host::Session current_;
  LoginSession session_{engine_, current_};
};

TEST_F(LoginTest, CheckOfUserAndPassword) {
  struct Row {
    const char* name;
    const char* user;
    std::string password;
    bool accepted;
    std::string message;  // empty: none
    int tries;
    LoginBox clear;
    LoginBox focus;
  };
  const Row rows[] = {
      {"no stored password, none typed", "DEM", "", true, "", 1, LoginBox::kNone, LoginBox::kNone},
      {"stored scrambled", "ABC", "secret", true, "", 1, LoginBox::kNone, LoginBox::kNone},
      {"stored as typed", "PLN", "tallis", true, "", 1, LoginBox::kNone, LoginBox::kNone},
      {"the stored text typed as it is", "ABC", host::ScramblePassword("secret"), true, "", 1, LoginBox::kNone,
       LoginBox::kNone},
      {"wrong password is a try", "ABC", "secrets", false, "Invalid password for user ABC.  Try again.", 2,
       LoginBox::kPassword, LoginBox::kPassword},
      {"empty password for a user who has one", "PLN", "", false, "Invalid password for user PLN.  Try again.", 2,
       LoginBox::kPassword, LoginBox::kPassword},
      {"unknown user is no try", "XYZ", "secret", false, "User XYZ was not found in Tallis.", 1, LoginBox::kUser,
       LoginBox::kUser},
      {"blank user box is no try", " \r\n", "secret", false,
       "Fill in the user field with the user id in order to log in.", 1, LoginBox::kNone, LoginBox::kUser},
  };
  for (const Row& row : rows) {
    session_.start("");
    LoginRejection r;
    EXPECT_EQ(session_.verifyUser(row.user, row.password, &r), row.accepted) << row.name;
    EXPECT_EQ(r.message, row.message) << row.name;
    EXPECT_EQ(session_.tries(), row.tries) << row.name;
    EXPECT_EQ(r.clear, row.clear) << row.name;
    EXPECT_EQ(r.focus, row.focus) << row.name;
    EXPECT_EQ(current_.CurrentWho, row.accepted ? row.user : "") << row.name;
    EXPECT_EQ(session_.who(), row.accepted ? row.user : "") << row.name;
  }
}

TEST(LoginFaultTest, AUserTableThatCannotBeReadIsToldNotCrashedOn) {
  struct Row {
    const char* name;
    bool makeData;
    const char* fileText;  // replaces tallis.db when set
    bool password;
  };
  const Row rows[] = {
      {"password not registered", true, nullptr, false},
      {"no data file", false, nullptr, true},
      {"data file is garbage", false, "this is not a database file at all, not even close.....", true},
  };
  for (const Row& row : rows) {
    testing::TempDir dir;
    if (row.makeData) testing::makeFixtureDataDir(dir.path());
    if (row.fileText != nullptr) testing::writeFile(dir / "tallis.db", row.fileText);
    host::Engine engine;
    engine.setAlias("TALDB", dir.path());
    if (row.password) engine.addPassword(host::tallisTablePassword(host::TablePassword::kUsers));
    host::Session current;
    LoginSession session(engine, current);
    session.start("");
    LoginRejection r;
    EXPECT_FALSE(session.ok("DEM", "", &r)) << row.name;
    EXPECT_EQ(r.message, kUserTableMessage) << row.name;
    EXPECT_EQ(session.tries(), 1) << row.name;
    EXPECT_FALSE(session.mayClose()) << row.name;
  }
}

}  // namespace
}  // namespace vistrel::app
