// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "host/engine.h"
#include "host/status.h"

namespace vistrel::app {

// The most contacts a demo directory gets.
inline constexpr std::int64_t kMaxDemoContacts = 10'000'000;

struct DemoOptions {
  std::int64_t contacts = 20000;
  std::uint64_t seed = 1;
  // Puts every contact in the first database (for measuring one big database).
  bool oneDatabase = false;
  // Called now and then with the number of contacts written so far.
  std::function<void(std::int64_t done, std::int64_t total)> progress;
};

// The databases of a demo directory and their share of the contacts.
inline constexpr std::string_view kDemoDatabases[] = {"Sales", "Clients", "Prospects"};

// Fills the empty Tallis tables of `alias` with made-up data that looks like
// a real contact manager's: users DEM (no password) and ABC (password
// "secret", stored scrambled), three databases with category names, the
// contacts spread unevenly over them with addresses drawn from real US zip
// codes and the messy spellings real data has (ZIP+4, blanks, state names in
// full or lower case, several spellings of the country, foreign contacts),
// about three events per contact, holidays, marks and a few saved filters.
// The same seed gives the same data. Memory use does not grow with the number
// of contacts; more than kMaxDemoContacts are refused before anything is written.
host::Status fillDemoData(host::Engine& engine, std::string_view alias, const DemoOptions& options);

}  // namespace vistrel::app
