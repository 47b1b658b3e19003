// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/value_list.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "host/text.h"

namespace vistrel::geo {
namespace {

std::vector<std::string> sortedOf(std::initializer_list<const char*> adds) {
  ValueList list;
  for (const char* v : adds) list.add(v);
  return list.sorted();
}

TEST(ValueListTest, FirstSpellingMetStays) {
  struct Case {
    const char* name;
    std::initializer_list<const char*> adds;
    std::vector<std::string> sorted;
  };
  const Case cases[] = {
      {"city in two spellings", {"Boston, MA", "BOSTON, MA", "boston, ma"}, {"Boston, MA"}},
      {"lower-case state first", {"ca", "CA", "Ca"}, {"ca"}},
      {"country variants", {"USA", "usa", "U.S.A"}, {"U.S.A", "USA"}},
      {"empty value is a value", {"", "", "a"}, {"", "a"}},
      {"accented letters are not folded", {"é", "É", "e"}, {"e", "É", "é"}},
  };
  for (const Case& c : cases) EXPECT_EQ(sortedOf(c.adds), c.sorted) << c.name;
}

TEST(ValueListTest, OrderFoldsAToZThenComparesBytes) {
  // Folding puts letters before '_' (0x5F) and '[' although a-z are above
  // them; UTF-8 letters (bytes from 0xC3) come after every ASCII text.
  EXPECT_EQ(sortedOf({"_x", "zebra", "Apple", "[a]", "Zürich", "Ärzte", "apricot", "Zulu", "10",
                      "9", "a b", "ab"}),
            (std::vector<std::string>{"10", "9", "a b", "ab", "Apple", "apricot", "zebra", "Zulu",
                                      "Zürich", "[a]", "_x", "Ärzte"}));
}

TEST(ValueListTest, AddAnswersWhetherTheValueWasNew) {
  ValueList list;
  EXPECT_TRUE(list.add("Dallas, TX"));
  EXPECT_FALSE(list.add("DALLAS, tx"));
  EXPECT_TRUE(list.contains("dallas, TX"));
  EXPECT_FALSE(list.contains("Dallas"));
  EXPECT_EQ(list.size(), 1u);
}

// Many adds of few values in random spellings, against a plain map keyed by
// the upper-cased text.
TEST(ValueListTest, ManyDuplicatesMatchAPlainMap) {
  std::mt19937 rng(7);
  const std::string letters = "abcxyzABCXYZ -";
  std::vector<std::string> base;
  for (int i = 0; i < 500; ++i) {
    std::string s;
    const int len = 1 + static_cast<int>(rng() % 6);
    for (int k = 0; k < len; ++k) s += letters[rng() % letters.size()];
    base.push_back(s);
  }
  ValueList list;
  std::map<std::string, std::string> firstByFolded;
  for (int i = 0; i < 200000; ++i) {
    std::string v = base[rng() % base.size()];
    for (char& c : v) {
      if (rng() % 2) c = host::upperAscii(c);
    }
    list.add(v);
    firstByFolded.emplace(host::upperAscii(v), v);
  }
  std::vector<std::string> expected;
  for (const auto& [folded, first] : firstByFolded) expected.push_back(first);
  EXPECT_EQ(list.sorted(), expected);
}

}  // namespace
}  // namespace vistrel::geo
