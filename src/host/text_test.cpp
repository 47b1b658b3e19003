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

}  // namespace
}  // namespace vistrel::host
