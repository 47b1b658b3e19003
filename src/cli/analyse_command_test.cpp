// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "cli/command.h"
#include "fixture_data.h"
#include "geo/raster.h"
#include "testing.h"

namespace vistrel::cli {
namespace {

class AnalyseCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::makeFixtureDataDir(dir_ / "data");
    setenv("VISTREL_HOME", dir_.path().c_str(), 1);  // the ranges INI file is the test's own
  }
  void TearDown() override { unsetenv("VISTREL_HOME"); }

  int run(std::vector<std::string> args) {
    args.insert(args.begin(), {"analyse", "--data", (dir_ / "data").string()});
    std::ostringstream out, err;
    const int code = runCli(args, out, err);
    out_ = out.str();
    err_ = err.str();
    return code;
  }

  testing::TempDir dir_;
  std::string out_, err_;
};

TEST_F(AnalyseCommandTest, PrintsTheValuesInListOrderInEachForm) {
  ASSERT_EQ(run({"--database", "SALES", "--by", "state", "--format", "csv"}), 0) << err_;
  EXPECT_EQ(out_, "key\r\nCA\r\nCO\r\nFL\r\nIL\r\nMA\r\nON\r\nTX\r\n");
  ASSERT_EQ(run({"--database", "Sales", "--by", "city", "--format", "csv"}), 0) << err_;
  EXPECT_NE(out_.find("\r\n\"Austin, TX\"\r\n\"BOSTON, MA\"\r\n"), std::string::npos) << out_;
  ASSERT_EQ(run({"--database", "Sales", "--by", "zip", "--format", "json"}), 0) << err_;
  EXPECT_EQ(out_,
            "{\"database\": \"Sales\", \"analysis\": \"zip\", \"values\": [{\"key\": \"02134\"}, {\"key\": \"33101\"}, "
            "{\"key\": \"60614\"}, {\"key\": \"80202\"}, {\"key\": \"90001\"}, {\"key\": \"90210\"}, {\"key\": "
            "\"92101\"}], \"others\": [\"60614\", \"75201\", \"<<BLANK FIELD>>\", \"M5V 2T6\"]}\n");
  ASSERT_EQ(run({"--database", "Sales", "--by", "zip"}), 0) << err_;
  EXPECT_NE(out_.find("Others (4)\n  60614\n"), std::string::npos) << out_;
  ASSERT_EQ(run({"--database", "Sales", "--by", "state", "--format", "html"}), 0) << err_;
  EXPECT_EQ(out_.rfind("<!DOCTYPE html>", 0), 0u);
  // --output writes the file instead of standard output, whole or not at all.
  const auto file = dir_ / "states.geojson";
  ASSERT_EQ(run({"--database", "Sales", "--by", "state", "--count", "--format", "geojson", "--output", file.string()}),
            0) << err_;
  EXPECT_TRUE(out_.empty());
  EXPECT_NE(testing::readFile(file).find("\"unmapped\": [{\"key\": \"ON\", \"count\": 2}]"), std::string::npos);
  EXPECT_EQ(run({"--database", "Sales", "--by", "state", "--output", (dir_ / "no" / "such.txt").string()}), 1);
  EXPECT_NE(err_.find("cannot write"), std::string::npos) << err_;
}

TEST_F(AnalyseCommandTest, CountsAddCountsTotalAndCompleteness) {
  ASSERT_EQ(run({"--database", "Sales", "--by", "state", "--count", "--format", "csv"}), 0) << err_;
  EXPECT_EQ(out_, "key,count\r\nCA,3\r\nCO,1\r\nFL,1\r\nIL,1\r\nMA,2\r\nON,2\r\nTX,2\r\n");
  ASSERT_EQ(run({"--database", "Sales", "--by", "state", "--count", "--format", "json"}), 0) << err_;
  EXPECT_NE(out_.find("{\"key\": \"CA\", \"count\": 3}"), std::string::npos) << out_;
  EXPECT_NE(out_.find("\"total\": 12, \"complete\": true}"), std::string::npos) << out_;
  ASSERT_EQ(run({"--database", "Sales", "--by", "state", "--count"}), 0) << err_;
  EXPECT_NE(out_.find("State         #\nCA            3 (25%)\nCO            1 (8.333%)\n"), std::string::npos) << out_;
  EXPECT_NE(out_.find("12 total records"), std::string::npos) << out_;
}

TEST_F(AnalyseCommandTest, RefusesUnknownDatabasesEmptyResultsAndBadOptions) {
  EXPECT_EQ(run({"--database", "Nope", "--by", "state"}), 1);
  EXPECT_NE(err_.find("unknown database 'Nope' (known: Clients, Empty, Sales)"), std::string::npos) << err_;
  EXPECT_EQ(run({"--database", "Empty", "--by", "state"}), 1);
  EXPECT_NE(err_.find("No records match current selection.\nChange Filter/Database"), std::string::npos) << err_;
  EXPECT_TRUE(out_.empty());
  EXPECT_EQ(run({"--database", "Sales", "--by", "county"}), 2);
  EXPECT_EQ(run({"--database", "Sales", "--by", "state", "--format", "xml"}), 2);
  EXPECT_EQ(run({"--database", "Sales", "--by", "country", "--map", (dir_ / "x.png").string()}), 2);
  EXPECT_EQ(run({"--database", "Sales", "--by", "state", "--big-map"}), 2);
  EXPECT_EQ(run({"--by", "state"}), 2);
  EXPECT_EQ(err_.rfind("vistrel-cli analyse: missing --database\n\nUsage:", 0), 0u) << err_;
  EXPECT_EQ(run({"--database", "Sales", "--by", "state", "extra"}), 2);
  EXPECT_NE(err_.find("unexpected argument 'extra'"), std::string::npos) << err_;
}

TEST_F(AnalyseCommandTest, MapIsWrittenAsPlotPaintsIt) {
  const auto file = dir_ / "state.bmp";
  ASSERT_EQ(run({"--database", "Sales", "--by", "state", "--map", file.string()}), 0) << err_;
  EXPECT_NE(err_.find("Map written to"), std::string::npos);
  auto map = geo::Raster::fromBmp(testing::readFile(file));
  ASSERT_TRUE(map.ok()) << map.status().ToString();
  EXPECT_EQ(map->width(), 464);
  // California holds 3 of 12 counted contacts: 25 %, range 3 (gray) by default.
  EXPECT_EQ(map->pixel(68, 113), (geo::Rgb{128, 128, 128}));
  // Florida has exactly one contact: red. Nevada has none: yellow.
  EXPECT_EQ(map->pixel(348, 196), (geo::Rgb{255, 0, 0}));
  EXPECT_EQ(map->pixel(92, 93), (geo::Rgb{255, 255, 0}));

  const auto png = dir_ / "city.png";
  ASSERT_EQ(run({"--database", "Sales", "--by", "city", "--map", png.string(), "--big-map"}), 0) << err_;
  const std::string bytes = testing::readFile(png);
  ASSERT_GT(bytes.size(), 8u);
  EXPECT_EQ(bytes.substr(1, 3), "PNG");
}

}  // namespace
}  // namespace vistrel::cli
