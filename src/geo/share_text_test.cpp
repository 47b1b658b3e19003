// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/share_text.h"

#include <gtest/gtest.h>

namespace vistrel::geo {
namespace {

TEST(ShareTextTest, FourSignificantDigitsWithoutTrailingZeros) {
  struct Case {
    const char* name;
    std::int64_t count;
    std::int64_t total;
    const char* text;
  };
  const Case cases[] = {
      {"one eighth", 1, 8, " (12.5%)"},
      {"one third", 1, 3, " (33.33%)"},
      {"two thirds rounds up", 2, 3, " (66.67%)"},
      {"one seventh", 1, 7, " (14.29%)"},
      {"everything", 5, 5, " (100%)"},
      {"nothing", 0, 5, " (0%)"},
      {"whole share", 1, 4, " (25%)"},
      {"below one percent", 1, 800, " (0.125%)"},
      {"one in a million", 1, 1000000, " (0.0001%)"},
      {"very small share keeps fixed form", 1, 30000000, " (0.000003333%)"},
      {"rounding carries into a new digit", 199999, 200000, " (100%)"},
      {"rounding carries below one", 9999, 1000000, " (0.9999%)"},
      {"rounding carries to one", 99999, 10000000, " (1%)"},
      {"total zero", 0, 0, ""},
      {"count without total", 3, 0, ""},
      {"negative total", 1, -4, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(shareText(c.count, c.total, host::Locale::unitedStates()), c.text) << c.name;
  }
}

TEST(ShareTextTest, UsesTheLocaleDecimalSeparator) {
  host::Locale german;
  german.decimalSeparator = ',';
  EXPECT_EQ(shareText(1, 3, german), " (33,33%)");
  EXPECT_EQ(shareText(1, 1, german), " (100%)");
}

}  // namespace
}  // namespace vistrel::geo
