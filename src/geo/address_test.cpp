// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/address.h"

#include <gtest/gtest.h>

namespace vistrel::geo {
namespace {

TEST(AddressTest, NormalizeUsZip) {
  struct Case {
    const char* name;
    std::string zip;
    std::string country;
    bool result;
    std::string after;
  };
  const Case cases[] = {
      {"lower-case usa", "12345", "usa", true, "12345"},
      {"empty country is US", "12345", "", true, "12345"},
      {"final stop is not US", "12345", "U.S.A.", false, "12345"},
      {"U.S.A without stop", "12345", "U.S.A", true, "12345"},
      {"long form is not US", "12345", "United States of America", false, "12345"},
      {"united states", "12345-6789", "United States", true, "12345"},
      {"too short", "1234", "USA", false, "1234"},
      {"letter in first five", "1234A", "USA", false, "1234A"},
      {"blank before digits", " 12345", "USA", false, " 12345"},
      {"zip+4 with blank", "60614 1234", "us", true, "60614"},
      {"nine digits", "606141234", "America", true, "60614"},
      {"canada", "12345", "Canada", false, "12345"},
  };
  for (const Case& c : cases) {
    std::string zip = c.zip;
    EXPECT_EQ(NormalizeUsZip(zip, c.country), c.result) << c.name;
    EXPECT_EQ(zip, c.after) << c.name;
  }
}

TEST(AddressTest, StateAbbreviation) {
  const std::pair<const char*, const char*> cases[] = {
      {"new york", "NY"},         {"NY", "NY"},
      {"ny", "ny"},               {"Calif.", "Calif."},
      {"", ""},                   {"Washington", "WA"},
      {"Washington, DC", "DC"},   {"Washington DC", "Washington DC"},
      {" Texas", " Texas"},       {"WEST VIRGINIA", "WV"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(StateAbbreviation(in), out) << in;
}

TEST(AddressTest, DisplayNamesMatchCodesExactly) {
  EXPECT_EQ(StateDisplayName("DC"), "Washington, DC");
  EXPECT_EQ(StateDisplayName("XX"), "");
  EXPECT_EQ(StateDisplayName("ca"), "");
  int onMap = 0;
  for (const StateInfo& s : kStateTable) onMap += s.onMap ? 1 : 0;
  EXPECT_EQ(onMap, 48);
}

TEST(AddressTest, BlankFieldText) {
  EXPECT_EQ(BlankFieldText(""), "<<BLANK FIELD>>");
  EXPECT_EQ(BlankFieldText(" "), " ");
}

}  // namespace
}  // namespace vistrel::geo
