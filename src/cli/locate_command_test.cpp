// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli_testing.h"

namespace vistrel::cli {
namespace {

using testing::CliRun;

CliRun locate(std::vector<std::string> args) {
  args.insert(args.begin(), "locate");
  return testing::runTool(args);
}

constexpr const char* kHeader = "zip,latitude,longitude,x,y,state\n";

TEST(LocateCommandTest, PrintsPositionPixelAndStateOfEachZip) {
  struct Case {
    const char* name;
    const char* zip;
    const char* line;
  };
  const Case cases[] = {
      {"inside a state", "98101", "98101,47.6114,-122.3305,58,21,Washington"},
      {"on a border pixel", "33101", "33101,25.7791,-80.1978,359,220,"},
      {"cut to five digits", "98101-1234", "98101-1234,47.6114,-122.3305,58,21,Washington"},
      {"off the map", "99501", "99501,61.2116,-149.8761,-138,-101,"},
      {"abroad", "96205", "96205,37.5339,126.9775,,,"},
  };
  for (const Case& c : cases) {
    const CliRun r = locate({c.zip});
    EXPECT_EQ(r.code, kExitOk) << c.name;
    EXPECT_EQ(r.out, std::string(kHeader) + c.line + "\n") << c.name;
    EXPECT_EQ(r.err, "") << c.name;
  }
}

TEST(LocateCommandTest, UnknownZipsGetEmptyFieldsAndFailTheRun) {
  const CliRun r = locate({"98101", "00000", "12,3"});
  EXPECT_EQ(r.code, kExitFailure);
  EXPECT_EQ(r.out, std::string(kHeader) +
                       "98101,47.6114,-122.3305,58,21,Washington\n"
                       "00000,,,,,\n"
                       "\"12,3\",,,,,\n");
  EXPECT_NE(r.err.find("unknown zip code '00000'"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("unknown zip code '12,3'"), std::string::npos) << r.err;
}

TEST(LocateCommandTest, BadUsageExitsTwo) {
  for (const auto& args : {std::vector<std::string>{}, std::vector<std::string>{"--big", "98101"}}) {
    const CliRun r = locate(args);
    EXPECT_EQ(r.code, kExitUsage);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("Usage: vistrel-cli locate"), std::string::npos);
  }
  const CliRun help = locate({"--help"});
  EXPECT_EQ(help.code, kExitOk);
  EXPECT_NE(help.out.find("zip,latitude,longitude,x,y,state"), std::string::npos);
}

}  // namespace
}  // namespace vistrel::cli
