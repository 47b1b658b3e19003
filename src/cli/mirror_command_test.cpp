// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <sstream>

#include "cli/command.h"
#include "testing.h"

namespace vistrel::cli {
namespace {

struct CliResult {
  int code;
  std::string out;
  std::string err;
};

CliResult run(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int code = runCli(args, out, err);
  return {code, out.str(), err.str()};
}

TEST(MirrorCommandTest, AnalysesOfAMirroredExportMatchTheOriginal) {
  testing::TempDir dir;
  const std::string original = (dir / "original").string();
  const std::string host = (dir / "tallis").string();
  const std::string copy = (dir / "copy").string();
  ASSERT_EQ(run({"init", "--data", original, "--demo", "--contacts", "1500"}).code, 0);
  const CliResult exported = run({"export-paradox", "--data", original, "--to", host});
  ASSERT_EQ(exported.code, 0) << exported.err;
  EXPECT_NE(exported.out.find("CONTACT.DB  1500 rows"), std::string::npos) << exported.out;

  const CliResult mirrored = run({"mirror", "--data", copy, "--from", host});
  ASSERT_EQ(mirrored.code, 0) << mirrored.err;
  EXPECT_NE(mirrored.out.find("CONTACT.DB    1500 rows copied in"), std::string::npos) << mirrored.out;
  for (const char* by : {"state", "zip"}) {
    const CliResult want = run({"analyse", "--data", original, "--database", "Sales", "--by", by, "--count"});
    const CliResult got = run({"analyse", "--data", copy, "--database", "Sales", "--by", by, "--count"});
    ASSERT_EQ(got.code, 0) << got.err;
    EXPECT_EQ(got.out, want.out) << by;
  }

  const CliResult again = run({"mirror", "--data", copy, "--from", host, "--tables", "contact,EVENT.DB"});
  EXPECT_EQ(again.code, 0);
  EXPECT_EQ(again.out, "CONTACT.DB    unchanged\nevent.db      unchanged\n");
  EXPECT_EQ(run({"mirror", "--data", copy}).code, kExitUsage);
  EXPECT_EQ(run({"mirror", "--data", copy, "--from", host, "--tables", "nosuch"}).code, kExitUsage);
  EXPECT_EQ(run({"mirror", "--data", copy, "--from", original}).code, kExitFailure) << "no Paradox table there";
}

}  // namespace
}  // namespace vistrel::cli
