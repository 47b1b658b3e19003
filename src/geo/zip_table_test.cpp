// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/zip_table.h"

#include <gtest/gtest.h>

namespace vistrel::geo {
namespace {

TEST(ZipTableTest, BuiltInTableKnowsEveryStateAndFindsByZip) {
  const ZipTable& t = ZipTable::builtIn();
  ASSERT_GT(t.records().size(), 40000u);
  const ZipRecord* miami = t.find("33101");
  ASSERT_NE(miami, nullptr);
  EXPECT_EQ(miami->city, "Miami");
  EXPECT_EQ(miami->state, "FL");
  EXPECT_NEAR(miami->latitude, 25.78, 0.01);
  EXPECT_NEAR(miami->longitude, -80.20, 0.01);
  EXPECT_EQ(t.find("00000"), nullptr);
  EXPECT_EQ(t.find("3310"), nullptr);
  EXPECT_EQ(t.find(""), nullptr);
}

TEST(ZipTableTest, ParseRefusesMalformedLinesAndReadsQuotedCities) {
  auto ok = ZipTable::parse("zip,city,state,latitude,longitude\n02134,\"Boston, Allston\",MA,42.35,-71.13\n");
  ASSERT_TRUE(ok.ok());
  EXPECT_EQ(ok->find("02134")->city, "Boston, Allston");
  EXPECT_FALSE(ZipTable::parse("h\n02134,Boston,MA,north,-71\n").ok());
  EXPECT_FALSE(ZipTable::parse("h\n0213,Boston,MA,42,-71\n").ok());
}

}  // namespace
}  // namespace vistrel::geo
