// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/ranges.h"

#include <gtest/gtest.h>

#include "testing.h"

namespace vistrel::geo {
namespace {

constexpr Rgb kAqua{0, 255, 255};
constexpr Rgb kGray{128, 128, 128};

TEST(RangesTest, LabelsWithoutIniFile) {
  testing::TempDir dir;
  const RangeTable table = RangeTable::load(dir / "missing.ini");
  const char* expected[kRangeCount] = {"1 - 8 %",   "9 - 16 %",  "17 - 32 %", "33 - 40 %",
                                       "41 - 48 %", "49 - 56 %", "57 - 64 %", "65 - 72 %",
                                       "73 - 80 %", "81 - 88 %", "89 - 96 %", "97 - 100 %"};
  for (int i = 0; i < kRangeCount; ++i) EXPECT_EQ(table.label(i), expected[i]) << i;
  EXPECT_TRUE(table.check().ok());
}

TEST(RangesTest, LoadTakesEachKeyOrItsDefault) {
  testing::TempDir dir;
  testing::writeFile(dir / "v.ini",
                     "[Other]\nR1Lo=50\n"
                     "[ranges]\n"
                     "r2lo=10\n"        // key names match ignoring case
                     "R2Hi=15\n"
                     "R3Lo=abc\n"       // not a number: default
                     "R12Hi=99\n"
                     "R13Lo=5\n");      // no such range: ignored
  const RangeTable t = RangeTable::load(dir / "v.ini");
  EXPECT_EQ(t.range(0), (Range{1, 8}));  // R1Lo of another section is not read
  EXPECT_EQ(t.range(1), (Range{10, 15}));
  EXPECT_EQ(t.range(2), (Range{17, 32}));
  EXPECT_EQ(t.range(11), (Range{97, 99}));
}

TEST(RangesTest, SaveWritesEveryKeyAndKeepsOtherLines) {
  testing::TempDir dir;
  const auto path = dir / "vistrel.ini";
  testing::writeFile(path, "[Aliases]\nTALDB=/data/tallis\n[Ranges]\nR3Lo=1\n");
  RangeTable t;
  t.setRange(2, {18, 32});
  ASSERT_TRUE(t.save(path).ok());

  const std::string text = testing::readFile(path);
  EXPECT_NE(text.find("TALDB=/data/tallis"), std::string::npos);
  EXPECT_NE(text.find("R3Lo=18"), std::string::npos);
  EXPECT_NE(text.find("R12Hi=100"), std::string::npos);
  EXPECT_EQ(text.find("R3Lo=1\r"), std::string::npos);
  EXPECT_EQ(RangeTable::load(path), t);
}

TEST(RangesTest, SaveReportsAFileThatCannotBeWritten) {
  testing::TempDir dir;
  EXPECT_FALSE(RangeTable().save(dir / "no" / "such" / "folder.ini").ok());
}

TEST(RangesTest, RangeColorTakesTheLastContainingRange) {
  struct Case {
    const char* name;
    std::vector<std::pair<int, Range>> changes;  // index, new bounds
    int percent;
    Rgb colour;
  };
  const Case cases[] = {
      {"0 lies in no range", {}, 0, kAqua},
      {"100 is white", {}, 100, kWhite},
      {"20 is gray", {}, 20, kGray},
      {"first of range 2", {}, 9, kRangeColors[1]},
      {"beyond 100", {}, 101, kAqua},
      {"overlap: higher range wins", {{0, {1, 20}}}, 12, kRangeColors[1]},
      {"range 12 over everything", {{11, {1, 100}}}, 5, kWhite},
      {"gap is aqua", {{2, {18, 32}}}, 17, kAqua},
      {"low above high holds nothing", {{11, {100, 97}}}, 98, kAqua},
  };
  for (const Case& c : cases) {
    RangeTable t;
    for (const auto& [index, r] : c.changes) t.setRange(index, r);
    EXPECT_EQ(t.RangeColor(c.percent), c.colour) << c.name;
  }
}

TEST(RangesTest, CheckNamesTheFirstOffendingPercentage) {
  struct Case {
    const char* name;
    std::vector<std::pair<int, Range>> changes;
    std::string message;
  };
  const Case cases[] = {
      {"defaults", {}, ""},
      {"range 3 moved up", {{2, {18, 32}}}, "17 percentile not represented. Repair ranges."},
      {"range 1 reaches into 2", {{0, {1, 9}}},
       "9 representated in multple ranges. Repair ranges."},
      {"gap before overlap", {{0, {2, 8}}, {5, {40, 56}}},
       "1 percentile not represented. Repair ranges."},
      {"100 missing", {{11, {97, 99}}}, "100 percentile not represented. Repair ranges."},
      {"range inside another", {{4, {41, 48}}, {3, {33, 45}}},
       "41 representated in multple ranges. Repair ranges."},
  };
  for (const Case& c : cases) {
    RangeTable t;
    for (const auto& [index, r] : c.changes) t.setRange(index, r);
    EXPECT_EQ(t.check().message(), c.message) << c.name;
    EXPECT_EQ(t.check().ok(), c.message.empty()) << c.name;
  }
}

}  // namespace
}  // namespace vistrel::geo
