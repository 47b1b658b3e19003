// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/hit_table.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "geo/address.h"
#include "geo/map_pictures.h"

namespace vistrel::geo {
namespace {

HitTable parseOrDie(const std::string& csv) {
  auto t = HitTable::parse("block,y,x1,x2,code\n" + csv);
  EXPECT_TRUE(t.ok()) << t.status().ToString();
  return t.ok() ? std::move(t).value() : HitTable();
}

TEST(HitTableTest, LastContainingRunOfABlockWinsAndBlocksGoInOrder) {
  // Row 114: Virginia with West Virginia's run inside it, in one block; row
  // 33 split over blocks 2 and 5, where the earlier block answers first.
  const HitTable t = parseOrDie(
      "3,114,345,385,VA\n3,114,348,352,WV\n"
      "2,33,10,20,MT\n5,33,15,30,ND\n5,33,18,19,SD\n");
  struct Case {
    const char* name;
    int x, y;
    const char* code;
  };
  const Case cases[] = {
      {"inside the later run", 350, 114, "WV"},
      {"first pixel of the later run", 348, 114, "WV"},
      {"last pixel of the later run", 352, 114, "WV"},
      {"earlier run before the overlap", 347, 114, "VA"},
      {"earlier run after the overlap", 353, 114, "VA"},
      {"ends included", 385, 114, "VA"},
      {"past the end", 386, 114, "XX"},
      {"other row", 350, 113, "XX"},
      {"block 2 before block 5", 18, 33, "MT"},
      {"only block 5 holds it", 25, 33, "ND"},
      {"negative row", 350, -114, "XX"},
      {"row past the table", 350, 100000, "XX"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(t.codeAt(c.x, c.y), c.code) << c.name;
    EXPECT_EQ(t.codeAtByScan(c.x, c.y), c.code) << c.name;
  }
}

TEST(HitTableTest, MalformedLinesAreRefused) {
  struct Case {
    const char* name;
    const char* line;
  };
  const Case cases[] = {
      {"block 0", "0,10,1,2,CA"},         {"block 6", "6,10,1,2,CA"},
      {"x2 before x1", "1,10,5,4,CA"},    {"negative row", "1,-1,1,2,CA"},
      {"huge row", "1,99999999,1,2,CA"},  {"huge column", "1,10,1,99999,CA"},
      {"not on the map", "1,10,1,2,AK"},  {"no state", "1,10,1,2,XX"},
      {"lower case", "1,10,1,2,ca"},      {"missing field", "1,10,1,CA"},
      {"extra field", "1,10,1,2,CA,x"},   {"not a number", "1,ten,1,2,CA"},
      {"empty number", "1,,1,2,CA"},
  };
  for (const Case& c : cases) {
    auto t = HitTable::parse(std::string("block,y,x1,x2,code\n") + c.line + "\n");
    ASSERT_FALSE(t.ok()) << c.name;
    EXPECT_TRUE(t.status().IsCorrupt()) << c.name;
  }
}

TEST(HitTableTest, RowIndexAgreesWithThePlainScanOnRandomTables) {
  const char* codes[] = {"CA", "NV", "OR", "WA", "ID"};
  std::mt19937 rng(11);
  for (int round = 0; round < 20; ++round) {
    std::string csv;
    for (int i = 0; i < 200; ++i) {
      const int x1 = static_cast<int>(rng() % 60);
      csv += std::to_string(1 + rng() % 5) + "," + std::to_string(rng() % 20) + "," + std::to_string(x1) +
             "," + std::to_string(x1 + static_cast<int>(rng() % 15)) + "," + codes[rng() % 5] + "\n";
    }
    const HitTable t = parseOrDie(csv);
    for (int y = -1; y <= 21; ++y) {
      for (int x = -1; x <= 80; ++x) {
        ASSERT_EQ(t.codeAt(x, y), t.codeAtByScan(x, y)) << "round " << round << " at " << x << "," << y;
      }
    }
  }
}

TEST(HitTableTest, BuiltInRunsCoverExactlyTheYellowPixelsOfTheSmallMap) {
  const HitTable& t = HitTable::builtIn();
  const Raster map = smallUsMap();
  ASSERT_EQ(map.width(), 464);
  ASSERT_EQ(map.height(), 231);
  int yellow = 0;
  for (int y = 0; y < map.height(); ++y) {
    for (int x = 0; x < map.width(); ++x) {
      const std::string_view code = t.codeAt(x, y);
      ASSERT_EQ(code, t.codeAtByScan(x, y)) << x << "," << y;
      if (map.pixel(x, y) == kYellow) {
        ++yellow;
        ASSERT_NE(code, kNoState) << "yellow pixel without a state at " << x << "," << y;
      } else {
        ASSERT_EQ(code, kNoState) << "non-yellow pixel reads " << code << " at " << x << "," << y;
      }
    }
  }
  EXPECT_GT(yellow, 45000);
}

TEST(HitTableTest, BuiltInRunsUseOnlyTheFortyEightStatesInEveryBlock) {
  const HitTable& t = HitTable::builtIn();
  std::size_t runs = 0;
  for (int b = 0; b < HitTable::kBlocks; ++b) {
    EXPECT_FALSE(t.block(b).empty()) << "block " << b + 1;
    runs += t.block(b).size();
  }
  EXPECT_GT(runs, 1500u);
  for (const StateInfo& s : kStateTable) {
    bool found = false;
    for (int b = 0; b < HitTable::kBlocks && !found; ++b) {
      for (const HitRun& r : t.block(b)) found = found || r.code == s.code;
    }
    EXPECT_EQ(found, s.onMap) << s.code;
  }
}

TEST(StateAtPointTest, NamesTheStateUnderPointsOfTheShippedMap) {
  struct Case {
    const char* name;
    int x, y;
    const char* state;
  };
  const Case cases[] = {
      {"inside California", 60, 100, "California"},
      {"California-Nevada border", 75, 100, "", },
      {"Delaware", 392, 100, "Delaware"},
      {"West Virginia between Virginia's runs", 350, 114, "West Virginia"},
      {"Virginia east of West Virginia", 360, 114, "Virginia"},
      {"northern Michigan", 298, 26, "Michigan"},
      {"Lake Michigan", 308, 60, ""},
      {"background off the Pacific coast", 10, 100, ""},
      {"top left corner", 0, 0, ""},
      {"bottom row", 300, 230, ""},
      {"left of the picture", -1, 100, ""},
      {"right of the picture", 464, 100, ""},
      {"above the picture", 252, -1, ""},
      {"below the picture", 352, 231, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(StateAtPoint(c.x, c.y), c.state) << c.name;
}

}  // namespace
}  // namespace vistrel::geo
