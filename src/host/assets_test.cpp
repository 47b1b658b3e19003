// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/assets.h"

#include <gtest/gtest.h>

#include "testing.h"

namespace vistrel::host {
namespace {

TEST(AssetsTest, ReadsFilesOfTheDataFolderOnlyAndNothingOutsideIt) {
  ASSERT_TRUE(checkAssetFolder().ok()) << checkAssetFolder().message();
  const auto zips = asset("zipcodes.csv");
  ASSERT_TRUE(zips.has_value());
  EXPECT_EQ(*zips, testing::readFile(testing::sourceDir() / "assets/zipcodes.csv"));
  EXPECT_EQ(asset("zipcodes.csv")->data(), zips->data()) << "read once, the same bytes for the whole run";

  struct Row {
    const char* name;
    const char* why;
  };
  const Row refused[] = {
      {"no/such/file.bmp", "missing"},
      {"maps", "a folder"},
      {"", "empty"},
      {"/etc/passwd", "absolute"},
      {"../assets/zipcodes.csv", "climbs out"},
      {"help/../../assets/zipcodes.csv", "climbs out halfway"},
      {"help/..", "ends climbing"},
      {"help/../zipcodes.csv", "a step back, even one that stays inside"},
  };
  for (const Row& row : refused) EXPECT_FALSE(asset(row.name).has_value()) << row.why << ": " << row.name;
}

}  // namespace
}  // namespace vistrel::host
