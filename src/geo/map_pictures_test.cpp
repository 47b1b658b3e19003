// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/map_pictures.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "geo/address.h"

namespace vistrel::geo {
namespace {

std::set<std::tuple<int, int, int>> coloursOf(const Raster& r) {
  std::set<std::tuple<int, int, int>> out;
  for (const Rgb& c : r.pixels()) out.insert({c.r, c.g, c.b});
  return out;
}

TEST(MapPicturesTest, PicturesHaveTheirSizesAndColours) {
  struct Case {
    const char* name;
    Raster picture;
    int width, height;
  };
  const Case cases[] = {{"small US map", smallUsMap(), 464, 231},
                        {"big US map", bigUsMap(), 922, 462},
                        {"world map", worldMap(), 329, 219}};
  for (const Case& c : cases) {
    EXPECT_EQ(c.picture.width(), c.width) << c.name;
    EXPECT_EQ(c.picture.height(), c.height) << c.name;
  }
  const std::set<std::tuple<int, int, int>> usColours = {
      {0, 0, 0}, {255, 255, 0}, {192, 192, 192}, {0, 255, 255}};
  EXPECT_EQ(coloursOf(smallUsMap()), usColours);
  EXPECT_EQ(coloursOf(bigUsMap()), usColours);
  // The picture is framed by background: no state touches its edge.
  const Raster small = smallUsMap();
  EXPECT_EQ(small.pixel(0, 0), kSilver);
  EXPECT_EQ(small.pixel(463, 230), kSilver);
}

TEST(MapPicturesTest, EachCallGivesAFreshCopy) {
  Raster painted = smallUsMap();
  painted.setPixel(68, 113, kRed);
  EXPECT_EQ(smallUsMap().pixel(68, 113), kYellow);
  Raster picture = areaCodePicture("CA");
  picture.setPixel(0, 0, kRed);
  EXPECT_NE(areaCodePicture("CA").pixel(0, 0), kRed);
}

TEST(MapPicturesTest, EveryStateCodeHasAnAreaCodePicture) {
  constexpr Rgb kNavy{0, 0, 128};
  for (const StateInfo& s : kStateTable) {
    const Raster p = areaCodePicture(s.code);
    ASSERT_EQ(p.width(), 105) << s.code;
    ASSERT_EQ(p.height(), 105) << s.code;
    const auto colours = coloursOf(p);
    const bool blank = s.code == "DC" || s.code == "PR" || s.code == "VI";
    if (blank) {
      EXPECT_EQ(colours.size(), 1u) << s.code;
      continue;
    }
    EXPECT_TRUE(colours.count({255, 255, 0})) << s.code << " has no state drawn";
    EXPECT_TRUE(colours.count({kNavy.r, kNavy.g, kNavy.b})) << s.code << " has no area code written";
  }
  EXPECT_EQ(areaCodePicture("tx"), areaCodePicture("TX"));
  EXPECT_TRUE(areaCodePicture("XX").empty());
  EXPECT_TRUE(areaCodePicture("").empty());
  EXPECT_TRUE(areaCodePicture("../us_small").empty());
}

}  // namespace
}  // namespace vistrel::geo
