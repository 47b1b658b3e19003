// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
//
// Times the tally's value list and the count's key lookup on city-like keys:
// a million adds over tens of thousands of distinct values, then a million
// lookups in a key list of that size.
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "geo/key_index.h"
#include "geo/value_list.h"

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  const int adds = argc > 1 ? std::stoi(argv[1]) : 1000000;
  const int distinct = argc > 2 ? std::stoi(argv[2]) : 40000;
  std::mt19937 rng(1);
  std::vector<std::string> names;
  for (int i = 0; i < distinct; ++i) {
    names.push_back("City " + std::to_string(rng() % 1000000) + ", " +
                    static_cast<char>('A' + rng() % 26) + static_cast<char>('A' + rng() % 26));
  }
  std::vector<std::string> stream;
  stream.reserve(adds);
  for (int i = 0; i < adds; ++i) {
    std::string s = names[rng() % names.size()];
    if (rng() % 4 == 0) {
      for (char& c : s) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    }
    stream.push_back(std::move(s));
  }

  auto start = std::chrono::steady_clock::now();
  vistrel::geo::ValueList list;
  for (const std::string& s : stream) list.add(s);
  const double addSeconds = secondsSince(start);
  start = std::chrono::steady_clock::now();
  const std::vector<std::string> sorted = list.sorted();
  const double sortSeconds = secondsSince(start);

  vistrel::geo::KeyIndex index;
  for (const std::string& s : sorted) (void)index.add(s);
  start = std::chrono::steady_clock::now();
  std::size_t found = 0;
  for (const std::string& s : stream) found += index.find(s).has_value() ? 1 : 0;
  const double findSeconds = secondsSince(start);

  std::printf("value list: %d adds, %zu distinct: %.3f s adding, %.3f s sorting\n", adds,
              list.size(), addSeconds, sortSeconds);
  std::printf("key index: %zu keys, %d lookups (%zu found): %.3f s\n", index.size(), adds, found,
              findSeconds);
  return 0;
}
