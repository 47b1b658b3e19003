// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/report_export.h"

#include <gtest/gtest.h>

#include "geo/address.h"
#include "geo/map_paint.h"
#include "geo/report_map.h"

namespace vistrel::geo {
namespace {

TEST(ReportPlacesTest, ValuesFindTheirStateOrCountry) {
  const struct {
    Analysis kind;
    const char* value;
    const char* key;  // the shape's key; empty for none
  } cases[] = {
      {Analysis::kState, "CA", "CA"},
      {Analysis::kState, "ca", "CA"},  // painted nowhere in the window, but still California
      {Analysis::kState, "PR", "PR"},
      {Analysis::kState, "ON", ""},
      {Analysis::kState, "California", ""},  // the tally has made codes of names already
      {Analysis::kCountry, "USA", "US"},
      {Analysis::kCountry, "u.s.a.", "US"},
      {Analysis::kCountry, "America", "US"},
      {Analysis::kCountry, "United  States of America", "US"},
      {Analysis::kCountry, "UK", "GB"},
      {Analysis::kCountry, "Deutschland", "DE"},
      {Analysis::kCountry, "deu", "DE"},
      {Analysis::kCountry, "Kosovo", "Kosovo"},  // a shape without an ISO code
      {Analysis::kCountry, "Congo", ""},         // two countries go by it
      {Analysis::kCountry, "Narnia", ""},
  };
  for (const auto& c : cases) {
    AnalysisReport report(c.kind, "Sales");
    report.setTally(TallyResult{{c.value}, {}, 1});
    const ValuePlace place = placeValues(report)[0];
    EXPECT_EQ(place.shape ? place.shape->key : std::string(), c.key) << c.value;
  }
}

TEST(ReportPlacesTest, ZipCodesAndCitiesLieAtTheirPositions) {
  AnalysisReport zips(Analysis::kZipCode, "Sales");
  zips.setTally(TallyResult{{"60614", "00000"}, {}, 2});
  const std::vector<ValuePlace> z = placeValues(zips);
  ASSERT_TRUE(z[0].point.has_value());
  EXPECT_NEAR(z[0].point->latitude, 41.92, 0.05);
  EXPECT_EQ(z[0].name, "Chicago, IL");
  EXPECT_FALSE(z[1].placed());

  AnalysisReport cities(Analysis::kCity, "Sales");
  cities.setTally(TallyResult{{"chicago, IL", "Toronto, ON", "Chicago"}, {}, 3});
  const std::vector<ValuePlace> c = placeValues(cities);
  ASSERT_TRUE(c[0].point.has_value());
  EXPECT_NEAR(c[0].point->longitude, -87.7, 0.3);
  EXPECT_EQ(c[0].state, "IL");
  EXPECT_FALSE(c[1].placed());
  EXPECT_FALSE(c[2].placed());
}

TEST(ShapeSetTest, RefusesMalformedRings) {
  const std::string header = "key,code,name,part,points\n";
  const std::string square = "0 0 1 0 1 1 0 1 0 0";
  const struct {
    const char* name;
    std::string body;
    bool ok;
  } cases[] = {
      {"a square with a hole", "A,01,Aa,0," + square + "\nA,01,Aa,0,.2 .2 .2 .4 .4 .4 .2 .2\n", true},
      {"two parts", "A,01,Aa,0," + square + "\nA,01,Aa,1," + square + "\n", true},
      {"not closed", "A,01,Aa,0,0 0 1 0 1 1 0 1\n", false},
      {"too few points", "A,01,Aa,0,0 0 1 1 0 0\n", false},
      {"an odd count", "A,01,Aa,0," + square + " 3\n", false},
      {"off the globe", "A,01,Aa,0,0 0 181 0 1 1 0 0\n", false},
      {"not a number", "A,01,Aa,0,0 0 x 0 1 1 0 0\n", false},
      {"a part skipped", "A,01,Aa,0," + square + "\nA,01,Aa,2," + square + "\n", false},
      {"a shape starting past its first part", "A,01,Aa,1," + square + "\n", false},
  };
  for (const auto& c : cases) EXPECT_EQ(ShapeSet::parse(header + c.body).ok(), c.ok) << c.name;
}

// Even-odd over every ring of a shape, as the page fills it.
bool inside(const ReportMap& map, const Shape& shape, MapXY p) {
  bool in = false;
  for (const Polygon& polygon : shape.polygons) {
    for (const Ring& ring : polygon) {
      for (std::size_t i = 0; i + 1 < ring.size(); ++i) {
        const MapXY a = map.project(ring[i], shape.key);
        const MapXY b = map.project(ring[i + 1], shape.key);
        if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y)) in = !in;
      }
    }
  }
  return in;
}

TEST(ReportMapTest, StatesLieWhereTheWindowPaintsThemAndInsetsKeepApart) {
  const ReportMap& map = ReportMap::us();
  ASSERT_EQ(ShapeSet::states().shapes().size(), kStateTable.size());
  for (const StateInfo& state : kStateTable) {
    const Shape* shape = ShapeSet::states().find(state.code);
    ASSERT_NE(shape, nullptr) << state.code;
    EXPECT_EQ(shape->code.size(), 2u) << state.code;
    const MapPoint seed = StateSeedPoint(state.code);
    if (seed.x >= 0) EXPECT_TRUE(inside(map, *shape, MapXY{seed.x + 0.5, seed.y + 0.5})) << state.code;
    // Every point lies in the picture, and in an inset exactly when the
    // state is drawn apart.
    for (const Polygon& polygon : shape->polygons) {
      for (const GeoPosition& p : polygon[0]) {
        const MapXY xy = map.project(p, state.code);
        ASSERT_TRUE(xy.x >= 0 && xy.x <= map.width() && xy.y >= 0 && xy.y <= map.height()) << state.code;
        bool inInset = false;
        for (const MapInset& i : map.insets()) {
          inInset |= xy.x >= i.left && xy.x <= i.left + i.width && xy.y >= i.top && xy.y <= i.top + i.height;
        }
        ASSERT_EQ(inInset, map.drawsApart(state.code)) << state.code << " " << xy.x << "," << xy.y;
      }
    }
  }
}

TEST(HtmlReportTest, ValuesAreTextWhateverTheirBytes) {
  AnalysisReport report(Analysis::kCountry, "A&B <db>");
  report.setTally(TallyResult{{"<script>x</script>", "Bad \xff byte", "Quote \" '"}, {}, 3});
  ReportContext context;
  context.filter = "</title>";
  const std::string page = htmlReport(report, context);
  EXPECT_EQ(page.find("<script>x"), std::string::npos);
  EXPECT_EQ(page.find("</title></dd>"), std::string::npos);
  EXPECT_NE(page.find("&lt;script&gt;x&lt;/script&gt;"), std::string::npos);
  EXPECT_NE(page.find("A&amp;B &lt;db&gt;"), std::string::npos);
  EXPECT_NE(page.find("Bad \xEF\xBF\xBD byte"), std::string::npos);
  EXPECT_NE(page.find("Quote &quot; &#39;"), std::string::npos);
}

}  // namespace
}  // namespace vistrel::geo
