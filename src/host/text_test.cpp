// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/text.h"

#include <gtest/gtest.h>

namespace vistrel::host {
namespace {

TEST(TextTest, UpperCasingTouchesAsciiLettersOnly) {
  EXPECT_EQ(upperAscii("new york é ß"), "NEW YORK é ß");
}

TEST(TextTest, CompareFoldsAToZThenComparesBytes) {
  EXPECT_EQ(compareIgnoreCase("Boston, MA", "BOSTON, MA"), 0);
  EXPECT_LT(compareIgnoreCase("abc", "ABD"), 0);
  EXPECT_LT(compareIgnoreCase("Zurich", "Ängelholm"), 0) << "UTF-8 bytes sort after ASCII";
  EXPECT_LT(compareIgnoreCase("AB", "abc"), 0);
  // '_' (0x5F) lies between upper and lower case letters: folding decides.
  EXPECT_LT(compareIgnoreCase("a", "_"), 0);
}

TEST(TextTest, CutNeverSplitsACharacter) {
  EXPECT_EQ(utf8Left("Zürich", 2), "Zü");
  EXPECT_EQ(utf8Left("Zürich", 100), "Zürich");
  EXPECT_EQ(utf8Length("Zürich"), 6u);
  EXPECT_EQ(utf8Left("日本語", 1), "日");
  // Damaged text: stray continuation bytes count as one character each.
  EXPECT_EQ(utf8Length("\x80\x80\x80"), 3u);
  EXPECT_EQ(utf8Left("\x80\x80\x80", 2), "\x80\x80");
  EXPECT_EQ(utf8Length("a\xC3"), 2u) << "a lead byte cut short is one character";
}

TEST(TextTest, FindsTheFirstByteThatIsNotUtf8) {
  const std::size_t ok = std::string_view::npos;
  EXPECT_EQ(utf8InvalidOffset("Zürich 日本 \xF0\x9F\x98\x80"), ok);
  EXPECT_EQ(utf8InvalidOffset("Caf\xE9"), 3u) << "Latin-1";
  EXPECT_EQ(utf8InvalidOffset("a\xC3"), 1u) << "cut short";
  EXPECT_EQ(utf8InvalidOffset("\xC0\xAF"), 0u) << "overlong";
  EXPECT_EQ(utf8InvalidOffset("\xE0\x80\xAF"), 0u) << "overlong";
  EXPECT_EQ(utf8InvalidOffset("x\xED\xA0\x80"), 1u) << "surrogate";
  EXPECT_EQ(utf8InvalidOffset("\xF4\x90\x80\x80"), 0u) << "above U+10FFFF";
  EXPECT_EQ(utf8InvalidOffset("ab\x80"), 2u) << "stray continuation byte";
}

}  // namespace
}  // namespace vistrel::host
