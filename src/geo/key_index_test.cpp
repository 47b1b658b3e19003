// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/key_index.h"

#include <gtest/gtest.h>

#include <random>

#include "host/text.h"

namespace vistrel::geo {
namespace {

std::optional<std::size_t> linearFind(const std::vector<std::string>& keys, std::string_view key) {
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (host::equalsIgnoreCase(keys[i], key)) return i;
  }
  return std::nullopt;
}

TEST(KeyIndexTest, FindsTheFirstEqualRow) {
  KeyIndex index;
  for (const char* k : {"ca", "NY", "CA", "", "Texas", "ny"}) ASSERT_TRUE(index.add(k).ok());
  struct Case {
    const char* key;
    std::optional<std::size_t> position;
  };
  const Case cases[] = {{"CA", 0}, {"ca", 0}, {"nY", 1}, {"", 3},
                        {"TEXAS", 4}, {"Tex", std::nullopt}, {"CA ", std::nullopt}};
  for (const Case& c : cases) EXPECT_EQ(index.find(c.key), c.position) << '"' << c.key << '"';
  EXPECT_EQ(KeyIndex().find("CA"), std::nullopt);
}

// The hashed lookup must give exactly what the linear search gives: random
// keys with case variants and duplicates, queried with hits, variants and misses.
TEST(KeyIndexTest, AgreesWithLinearSearchOnRandomKeys) {
  std::mt19937 rng(12345);
  const std::string alphabet = "aAbBzZ09 ,.\xC3\xA9";
  auto randomText = [&] {
    std::string s;
    const int len = static_cast<int>(rng() % 5);
    for (int k = 0; k < len; ++k) s += alphabet[rng() % alphabet.size()];
    return s;
  };
  auto caseVariant = [&](std::string s) {
    for (char& c : s) {
      if (rng() % 2 == 0) continue;
      if (c >= 'a' && c <= 'z') c = host::upperAscii(c);
      else if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
    }
    return s;
  };
  for (int round = 0; round < 20; ++round) {
    std::vector<std::string> keys;
    KeyIndex index;
    const int n = 1 + static_cast<int>(rng() % 3000);
    for (int i = 0; i < n; ++i) {
      std::string k = (!keys.empty() && rng() % 3 == 0) ? caseVariant(keys[rng() % keys.size()])
                                                          : randomText();
      keys.push_back(k);
      ASSERT_TRUE(index.add(k).ok());
    }
    ASSERT_EQ(index.size(), keys.size());
    for (int q = 0; q < 2000; ++q) {
      const std::string query = rng() % 2 ? caseVariant(keys[rng() % keys.size()]) : randomText();
      ASSERT_EQ(index.find(query), linearFind(keys, query)) << "round " << round << " query \"" << query << '"';
    }
  }
}

}  // namespace
}  // namespace vistrel::geo
