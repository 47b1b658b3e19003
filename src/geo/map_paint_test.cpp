// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/map_paint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "geo/address.h"
#include "geo/hit_table.h"
#include "geo/map_pictures.h"

namespace vistrel::geo {
namespace {

constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kOdd{1, 2, 3};  // in no picture

// The pixels whose colour differs between two pictures of one size.
std::vector<MapPoint> changedPixels(const Raster& before, const Raster& after) {
  std::vector<MapPoint> out;
  for (int y = 0; y < before.height(); ++y) {
    for (int x = 0; x < before.width(); ++x) {
      if (before.pixel(x, y) != after.pixel(x, y)) out.push_back(MapPoint{x, y});
    }
  }
  return out;
}

// How many yellow pixels of the clean small map belong to a state.
int statePixels(const Raster& map, std::string_view code) {
  int n = 0;
  for (int y = 0; y < map.height(); ++y) {
    for (int x = 0; x < map.width(); ++x) n += HitTable::builtIn().codeAt(x, y) == code;
  }
  return n;
}

TEST(StateSeedPointTest, EveryStartPointLiesInsideItsStateOnTheShippedMap) {
  const Raster map = smallUsMap();
  int onMap = 0;
  for (const StateInfo& s : kStateTable) {
    const MapPoint p = StateSeedPoint(s.code);
    if (!s.onMap) {
      EXPECT_EQ(p, (MapPoint{-1, -1})) << s.code;
      continue;
    }
    ++onMap;
    ASSERT_TRUE(map.contains(p.x, p.y)) << s.code;
    EXPECT_EQ(map.pixel(p.x, p.y), kYellow) << s.code;
    EXPECT_EQ(HitTable::builtIn().codeAt(p.x, p.y), s.code) << s.code;
  }
  EXPECT_EQ(onMap, 48);
}

TEST(StateSeedPointTest, OnlyExactCodesHaveAStartPoint) {
  for (const char* code : {"ca", "Ca", "CA ", " CA", "XX", "", "CAL", "AK", "HI", "DC", "PR", "VI"}) {
    EXPECT_EQ(StateSeedPoint(code), (MapPoint{-1, -1})) << "'" << code << "'";
  }
  EXPECT_EQ(StateSeedPoint("CA"), (MapPoint{68, 113}));
}

TEST(PaintStateTest, FillsEveryPieceOfEachStateUpToItsOutlineAndNoFurther) {
  const Raster clean = smallUsMap();
  const HitTable& t = HitTable::builtIn();
  for (const StateInfo& s : kStateTable) {
    if (!s.onMap) continue;
    Raster map = clean;
    PaintState(map, s.code, kOdd);
    const std::vector<MapPoint> changed = changedPixels(clean, map);
    EXPECT_EQ(static_cast<int>(changed.size()), statePixels(clean, s.code)) << s.code;
    for (const MapPoint p : changed) {
      ASSERT_EQ(t.codeAt(p.x, p.y), s.code) << s.code << " leaked to " << p.x << "," << p.y;
      ASSERT_EQ(map.pixel(p.x, p.y), kOdd);
      // The fill ends only at the black outline.
      for (const MapPoint n : {MapPoint{p.x + 1, p.y}, MapPoint{p.x - 1, p.y}, MapPoint{p.x, p.y + 1},
                               MapPoint{p.x, p.y - 1}}) {
        const Rgb c = map.pixel(n.x, n.y);
        ASSERT_TRUE(c == kOdd || c == kBlack) << s.code << " next to " << n.x << "," << n.y;
      }
    }
  }
}

TEST(PaintStateTest, RepaintingRecoloursTheWholeState) {
  const Raster clean = smallUsMap();
  Raster blue = clean;
  PaintState(blue, "CA", kBlue);
  Raster red = blue;
  PaintState(red, "CA", kRed);
  const std::vector<MapPoint> first = changedPixels(clean, blue);
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(changedPixels(clean, red), first);
  for (const MapPoint p : first) ASSERT_EQ(red.pixel(p.x, p.y), kRed);
  // Back to yellow gives the clean map again.
  PaintState(red, "CA", kYellow);
  EXPECT_EQ(red, clean);
}

TEST(PaintStateTest, CodesOffTheMapAndTheOutlineColourChangeNothing) {
  const Raster clean = smallUsMap();
  struct Case {
    const char* name;
    const char* code;
    Rgb colour;
  };
  const Case cases[] = {
      {"Alaska", "AK", kBlue},     {"Washington, DC", "DC", kBlue}, {"lower case", "ca", kBlue},
      {"no state", "XX", kBlue},   {"empty", "", kBlue},            {"black", "CA", kBlack},
      {"same colour", "CA", kYellow},
  };
  for (const Case& c : cases) {
    Raster map = clean;
    PaintState(map, c.code, c.colour);
    EXPECT_EQ(map, clean) << c.name;
  }
  Raster tiny(10, 10, kYellow);
  PaintState(tiny, "CA", kBlue);  // the start point lies outside this picture
  EXPECT_EQ(tiny, Raster(10, 10, kYellow));
}

TEST(PaintStateTest, ABlackStartPixelIsNotFilled) {
  // A black dot over the start point must not let the fill run along the
  // outline into every state.
  Raster map = smallUsMap();
  const MapPoint seed = StateSeedPoint("KS");
  drawDot(map, kBlack, seed);
  const Raster dotted = map;
  PaintState(map, "KS", kBlue);
  EXPECT_EQ(map, dotted);
}

TEST(PaintStateTest, PiecesApartFromTheStartPointTakeTheColourToo) {
  Raster map = smallUsMap();
  PaintState(map, "MI", kBlue);
  EXPECT_EQ(map.pixel(329, 63), kBlue);
  EXPECT_EQ(StateAtPoint(298, 26), "Michigan");
  EXPECT_EQ(map.pixel(298, 26), kBlue) << "the Upper Peninsula";
  PaintState(map, "MI", kRed);
  EXPECT_EQ(map.pixel(298, 26), kRed);
}

TEST(PlotZipTest, DrawsTheDotOfAKnownZipOnBothMaps) {
  // 33101 (Miami) lies at 25.7781 N, 80.1964 W: pixel (359, 220) small,
  // (718, 440) big.
  struct Case {
    const char* name;
    bool big;
    Raster map;
    MapPoint centre;
  };
  Case cases[] = {{"small", false, smallUsMap(), {359, 220}}, {"big", true, bigUsMap(), {718, 440}}};
  for (Case& c : cases) {
    const Raster before = c.map;
    PlotZip(c.map, kRed, "33101", c.big);
    const std::vector<MapPoint> changed = changedPixels(before, c.map);
    ASSERT_FALSE(changed.empty()) << c.name;
    EXPECT_EQ(c.map.pixel(c.centre.x, c.centre.y), kRed) << c.name;
    for (const MapPoint p : changed) {
      EXPECT_LE(std::abs(p.x - c.centre.x), 2) << c.name;
      EXPECT_LE(std::abs(p.y - c.centre.y), 2) << c.name;
    }
  }
  // On the small map the dot lands within a pixel of Florida.
  bool nearFlorida = false;
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) nearFlorida = nearFlorida || StateAtPoint(359 + dx, 220 + dy) == "Florida";
  }
  EXPECT_TRUE(nearFlorida);
}

TEST(PlotZipTest, UnknownOrOffMapZipsDrawNothing) {
  const Raster clean = smallUsMap();
  // 99501 is Anchorage, far off the map; 96813 is Honolulu; 96205 is a
  // military code in Korea.
  for (const char* zip : {"00000", "ABCDE", "", "99501", "96813", "96205"}) {
    Raster map = clean;
    PlotZip(map, kRed, zip, false);
    EXPECT_EQ(map, clean) << zip;
  }
}

TEST(DrawDotTest, DotIsFourAcrossAndClippedAtTheEdges) {
  // The dot covers x - 2 to x + 1 and y - 2 to y + 1 without the corners.
  struct Case {
    const char* name;
    MapPoint point;
    int pixels;
  };
  const Case cases[] = {
      {"middle", {10, 10}, 12},  {"top left corner", {0, 0}, 3}, {"left edge", {0, 10}, 6},
      {"bottom right corner", {19, 19}, 8}, {"just off the left", {-1, 10}, 0},
      {"just off the bottom", {10, 20}, 0},
  };
  for (const Case& c : cases) {
    Raster map(20, 20, kSilver);
    drawDot(map, kRed, c.point);
    const auto n = std::count(map.pixels().begin(), map.pixels().end(), kRed);
    EXPECT_EQ(n, c.pixels) << c.name;
    if (c.pixels > 0) {
      EXPECT_EQ(map.pixel(c.point.x, c.point.y), kRed) << c.name;
    }
  }
}

}  // namespace
}  // namespace vistrel::geo
