// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/zip_locator.h"

#include <gtest/gtest.h>

#include <limits>

#include "geo/address.h"
#include "geo/hit_table.h"

namespace vistrel::geo {
namespace {

TEST(ProjectToMapTest, PlacesDegreesOnTheSmallAndBigMaps) {
  struct Case {
    const char* name;
    double latitude, longitude;
    bool big;
    MapPoint expected;
  };
  const Case cases[] = {
      {"Miami, small", 25.77, -80.19, false, {359, 220}},
      {"Miami, big", 25.77, -80.19, true, {718, 440}},
      {"signs are dropped", -25.77, 80.19, false, {359, 220}},
      {"top left corner", 50.0, -130.5, false, {0, 0}},
      {"west of the map truncates toward zero", 49.0, -130.6, false, {0, 9}},
      {"further west stays negative", 49.0, -131.0, false, {-3, 9}},
      {"Anchorage, far off the map", 61.2, -149.9, false, {-138, -101}},
      {"not a number", std::numeric_limits<double>::quiet_NaN(), -80.0, false, {360, -1000000}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(projectToMap(GeoPosition{c.latitude, c.longitude}, c.big), c.expected) << c.name;
  }
}

TEST(ZipLocatorTest, KnownZipHasAPlaceAndUnknownHasNone) {
  const ZipLocator& z = ZipLocator::builtIn();
  const auto miami = z.position("33101");
  ASSERT_TRUE(miami.has_value());
  EXPECT_NEAR(miami->latitude, 25.78, 0.01);
  EXPECT_NEAR(miami->longitude, -80.20, 0.01);
  const auto dot = z.mapPoint("33101", false);
  ASSERT_TRUE(dot.has_value());
  EXPECT_EQ(*dot, projectToMap(*miami, false));
  for (const char* unknown : {"00000", "3310", "331011", "", "ABCDE"}) {
    EXPECT_FALSE(z.position(unknown).has_value()) << unknown;
    EXPECT_FALSE(z.mapPoint(unknown, true).has_value()) << unknown;
  }
}

TEST(ZipLocatorTest, PlacesAbroadHaveNoMapPoint) {
  // 96205 is a military code in Seoul (37.53 N, 126.98 E); folded by the
  // absolute values it would land in the Pacific off California.
  auto table = ZipTable::parse(
      "zip,city,state,latitude,longitude\n"
      "12345,Here,NY,42.5,-74.5\n"
      "96205,Apo,AP,37.5339,126.9775\n"
      "96799,Pago Pago,AS,-14.2767,-170.7020\n");
  ASSERT_TRUE(table.ok());
  const ZipLocator z(*table);
  EXPECT_EQ(z.mapPoint("12345", false), (MapPoint{400, 68}));
  EXPECT_FALSE(z.mapPoint("33101", false).has_value());
  for (const char* zip : {"96205", "96799"}) {
    EXPECT_TRUE(z.position(zip).has_value()) << zip;
    EXPECT_FALSE(z.mapPoint(zip, false).has_value()) << zip;
    EXPECT_FALSE(z.mapPoint(zip, true).has_value()) << zip;
  }
  EXPECT_FALSE(ZipLocator::builtIn().mapPoint("96205", false).has_value());
}

// The dots of the built-in zip table against the built-in map: the generator
// of the pictures and the projection of the dots have to agree.
TEST(ZipLocatorTest, DotsOfTheFortyEightStatesFallInsideTheirOwnState) {
  int own = 0, other = 0, all = 0;
  for (const ZipRecord& r : ZipTable::builtIn().records()) {
    const StateInfo* s = findState(r.state);
    if (s == nullptr || !s->onMap) continue;
    const auto dot = ZipLocator::builtIn().mapPoint(r.zip, false);
    ASSERT_TRUE(dot.has_value()) << r.zip;
    const std::string at = StateAtPoint(dot->x, dot->y);
    ++all;
    if (at == s->displayName) {
      ++own;
    } else if (!at.empty()) {
      ++other;
    }
  }
  ASSERT_GT(all, 40000);
  EXPECT_GE(own * 100, all * 80) << own << " of " << all << " inside their own state";
  EXPECT_LT(other * 1000, all * 5) << other << " of " << all << " inside another state";
}

}  // namespace
}  // namespace vistrel::geo
