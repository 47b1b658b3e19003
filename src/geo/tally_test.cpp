// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/tally.h"

#include <gtest/gtest.h>

#include "fixture_data.h"
#include "host/engine.h"
#include "host/tallis_schema.h"
#include "testing.h"

namespace vistrel::geo {
namespace {

using Texts = std::vector<std::string>;

class TallyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::makeFixtureDataDir(dir_.path());
    engine_.setAlias("TALDB", dir_.path());
    engine_.addPassword(host::tallisTablePassword(host::TablePassword::kContacts));
    contacts_.setIndexName("LastFirst");
    ASSERT_TRUE(contacts_.open().ok());
  }

  TallyResult tally(const char* db, Analysis kind) {
    auto r = runTally(contacts_, db, kind);
    EXPECT_TRUE(r.ok()) << r.status().ToString();
    return r.ok() ? *r : TallyResult{};
  }

  testing::TempDir dir_;
  host::Engine engine_;
  host::Table contacts_{engine_, "TALDB", "CONTACT.DB"};
};

TEST_F(TallyTest, ZipCodesKeepFiveDigitsAndPutTheRestInOthers) {
  const TallyResult r = tally("Sales", Analysis::kZipCode);
  EXPECT_EQ(r.values, (Texts{"02134", "33101", "60614", "80202", "90001", "90210", "92101"}));
  // A Canadian zip, a blank one (listed once), a country with a final stop.
  EXPECT_EQ(r.others, (Texts{"60614", "75201", "<<BLANK FIELD>>", "M5V 2T6"}));
}

TEST_F(TallyTest, CitiesNeedCityAndStateAndTheFirstSpellingWins) {
  const TallyResult r = tally("Sales", Analysis::kCity);
  EXPECT_EQ(r.values, (Texts{"Austin, TX", "BOSTON, MA", "Chicago, IL", "Dallas, TX", "Denver, CO",
                             "Los Angeles, ca", "Miami, FL", "San Diego, CA", "Toronto, ON", "Windsor, ON"}));
  EXPECT_TRUE(r.others.empty());
}

TEST_F(TallyTest, StatesAreCodesAndDbIsComparedIgnoringCase) {
  // Lee's DB is "SALES": listed (CO); the contact of "Other" never is (NV).
  const TallyResult r = tally("sales", Analysis::kState);
  EXPECT_EQ(r.values, (Texts{"CA", "CO", "FL", "IL", "MA", "ON", "TX"}));
  EXPECT_EQ(r.visited, *contacts_.recordCount()) << "every contact of the range is walked";
}

TEST_F(TallyTest, CountriesAreListedAsTyped) {
  EXPECT_EQ(tally("Sales", Analysis::kCountry).values,
            (Texts{"America", "Canada", "Germany", "U.S.A", "U.S.A.", "United States", "US", "usa"}));
}

TEST_F(TallyTest, EmptyDatabaseGivesNoValuesAndLeavesTheRange) {
  EXPECT_TRUE(tally("Empty", Analysis::kState).values.empty());
  EXPECT_TRUE(contacts_.hasRange());
  EXPECT_EQ(*contacts_.recordCount(), 0);
}

TEST_F(TallyTest, OneWalkGivesWhatTheTallyAndItsCountGive) {
  for (const AnalysisInfo& info : allAnalyses()) {
    for (const char* db : {"Sales", "sales", "Clients", "Empty"}) {
      const TallyResult listed = tally(db, info.kind);
      auto counted = runCount(contacts_, info.kind, listed.values);
      ASSERT_TRUE(counted.ok());
      auto both = runTallyAndCount(contacts_, db, info.kind);
      ASSERT_TRUE(both.ok()) << both.status().ToString();
      const std::string name = std::string(info.name) + " of " + db;
      EXPECT_EQ(both->tally.values, listed.values) << name;
      EXPECT_EQ(both->tally.others, listed.others) << name;
      EXPECT_EQ(both->count.counts, counted->counts) << name;
      EXPECT_EQ(both->count.total, counted->total) << name;
      EXPECT_EQ(both->count.visited, counted->visited) << name;
    }
  }
}

TEST_F(TallyTest, ATableThatIsNotOpenIsSaidToBeNotOpen) {
  host::Table closed(engine_, "TALDB", "CONTACT.DB");
  auto r = runTally(closed, "Sales", Analysis::kState);
  ASSERT_FALSE(r.ok());
  EXPECT_EQ(r.status().message(), "CONTACT.DB: the table is not open");
}

TEST_F(TallyTest, CountUsesTheRangeAndTheFirstKeyIgnoringCase) {
  const TallyResult states = tally("Sales", Analysis::kState);
  auto c = runCount(contacts_, Analysis::kState, states.values);
  ASSERT_TRUE(c.ok());
  // CA gets Davis (CA), Evans (California) and Ford (ca).
  EXPECT_EQ(c->counts, (std::vector<std::int64_t>{3, 1, 1, 1, 2, 2, 2}));
  EXPECT_EQ(c->total, 12);
  EXPECT_EQ(c->visited, 13);
  EXPECT_TRUE(c->complete);
  auto again = runCount(contacts_, Analysis::kState, states.values);
  EXPECT_EQ(again->counts, c->counts) << "counting twice gives the same counts";

  const TallyResult zips = tally("Sales", Analysis::kZipCode);
  c = runCount(contacts_, Analysis::kZipCode, zips.values);
  ASSERT_TRUE(c.ok());
  // The Canadian contact with zip 60614 counts towards the row 60614.
  EXPECT_EQ(c->counts, (std::vector<std::int64_t>{2, 1, 2, 1, 1, 1, 1}));
  EXPECT_EQ(c->total, 9);
}

TEST_F(TallyTest, AbortKeepsTheCountsSoFar) {
  const TallyResult states = tally("Sales", Analysis::kState);
  auto c = runCount(contacts_, Analysis::kState, states.values,
                    [](std::int64_t visited) { return visited == 5; }, 1);
  ASSERT_TRUE(c.ok());
  EXPECT_FALSE(c->complete);
  EXPECT_EQ(c->visited, 5);
  EXPECT_EQ(c->total, 5) << "Adams, Brown, Clark, Davis and Evans all have a listed state";
}

TEST_F(TallyTest, AnalysesAreFoundByNameOrHeading) {
  EXPECT_EQ(findAnalysis("zip")->kind, Analysis::kZipCode);
  EXPECT_EQ(findAnalysis("Zip Code")->kind, Analysis::kZipCode);
  EXPECT_EQ(findAnalysis("COUNTRY")->helpContext, 3000);
  EXPECT_EQ(findAnalysis("county"), nullptr);
}

}  // namespace
}  // namespace vistrel::geo
