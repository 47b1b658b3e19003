// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/raw_text_memo.h"

#include <gtest/gtest.h>

#include <string>

namespace vistrel::geo {
namespace {

std::uint32_t findIn(RawTextMemo& memo, std::string_view a, std::string_view b) {
  const std::string_view t[] = {a, b};
  return b == "-" ? memo.find(t, 1) : memo.find(t, 2);
}

void rememberIn(RawTextMemo& memo, std::string_view a, std::string_view b, std::uint32_t value) {
  const std::string_view t[] = {a, b};
  b == "-" ? memo.remember(t, 1, value) : memo.remember(t, 2, value);
}

TEST(RawTextMemoTest, FindsOnlyTheSameBytesInTheSameFields) {
  RawTextMemo memo;
  rememberIn(memo, "ab", "c", 1);
  rememberIn(memo, "CA", "", 2);
  rememberIn(memo, std::string("x\0y", 3), "", 3);
  rememberIn(memo, "CA", "-", 4);  // one field of two bytes: kept apart from longer texts
  rememberIn(memo, "", "-", 5);
  EXPECT_EQ(findIn(memo, "ab", "c"), 1u);
  EXPECT_EQ(findIn(memo, "CA", ""), 2u);
  EXPECT_EQ(findIn(memo, std::string("x\0y", 3), ""), 3u);
  EXPECT_EQ(findIn(memo, "CA", "-"), 4u);
  EXPECT_EQ(findIn(memo, "", "-"), 5u);
  for (const auto& [a, b] : {std::pair{"a", "bc"}, {"abc", ""}, {"ca", ""}, {"CA ", ""}, {"x", ""}, {"ca", "-"},
                             {"C", "-"}, {"\xC3\xA9", "-"}, {"AC", "-"}}) {
    EXPECT_EQ(findIn(memo, a, b), RawTextMemo::kNone) << a << "|" << b;
  }
}

TEST(RawTextMemoTest, GivesUpWhenMostTextsAreNew) {
  RawTextMemo repeated;
  RawTextMemo distinct;
  for (std::uint32_t i = 0; i < RawTextMemo::kTrial + 10; ++i) {
    const std::string mostlySame = std::to_string(i % 50);
    if (findIn(repeated, mostlySame, "") == RawTextMemo::kNone) rememberIn(repeated, mostlySame, "", i);
    const std::string fresh = std::to_string(i);
    if (findIn(distinct, fresh, "") == RawTextMemo::kNone) rememberIn(distinct, fresh, "", i);
  }
  EXPECT_TRUE(repeated.useful());
  EXPECT_EQ(findIn(repeated, "7", ""), 7u);
  EXPECT_FALSE(distinct.useful());
  EXPECT_EQ(findIn(distinct, std::to_string(RawTextMemo::kTrial + 5), ""), RawTextMemo::kNone)
      << "nothing is remembered once the memo gave up";
}

}  // namespace
}  // namespace vistrel::geo
