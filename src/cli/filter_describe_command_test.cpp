// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <sstream>

#include "cli/command.h"
#include "fixture_data.h"
#include "testing.h"

namespace vistrel::cli {
namespace {

TEST(FilterDescribeCommandTest, PrintsTheGeneratedDescription) {
  vistrel::testing::TempDir dir;
  vistrel::testing::makeFixtureDataDir(dir / "data");
  const std::string category =
      "database(Contact) field(Category) condition(11) value(b) casebox(FALSE) yearbox(FALSE) daybox(FALSE) "
      "punctbox(FALSE) openpara(0) closepara(0) and(0)\r\n";
  vistrel::testing::writeFile(dir / "category.txt", category);
  vistrel::testing::writeFile(dir / "empty.txt", "");
  std::string unknown = category;
  unknown.replace(unknown.find("Category"), 8, "Shoe Size");
  vistrel::testing::writeFile(dir / "unknown.txt", unknown);
  const struct {
    const char* name;
    std::vector<std::string> args;
    int code;
    std::string out;
    std::string err;
  } cases[] = {
      {"named category", {"--database", "Sales", "--definition", (dir / "category.txt").string()}, kExitOk,
       "Category matches \"b\" (Buyer)\n", ""},
      {"database without names", {"--database", "Clients", "--definition", (dir / "category.txt").string()},
       kExitOk, "Category matches \"b\"\n", ""},
      {"nothing filled", {"--database", "Sales", "--definition", (dir / "empty.txt").string()}, kExitFailure, "",
       "vistrel-cli filter describe: The definition holds no criteria\n"},
      {"no filter that could be stored", {"--database", "Sales", "--definition", (dir / "unknown.txt").string()},
       kExitFailure, "", "vistrel-cli filter describe: Criteria 1: there is no field \"Shoe Size\"\n"},
      {"unknown database", {"--database", "Nope", "--definition", (dir / "category.txt").string()}, kExitFailure,
       "", "vistrel-cli filter describe: unknown database 'Nope'\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> argv = {"filter", "describe", "--data", (dir / "data").string()};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runCli(argv, out, err), c.code) << c.name;
    EXPECT_EQ(out.str(), c.out) << c.name;
    EXPECT_EQ(err.str(), c.err) << c.name;
  }
}

}  // namespace
}  // namespace vistrel::cli
