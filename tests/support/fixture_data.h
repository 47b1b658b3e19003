// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>

namespace vistrel::testing {

// Creates a small Tallis data directory in `dir` whose contents tests know:
//   users DEM (no password), ABC (password "secret", stored scrambled) and
//   PLN (password "tallis", stored as typed);
//   databases Sales (13 contacts, one of them with DB "SALES"), Clients (1)
//   and Empty (none), plus one contact of a database "Other" with no row;
//   the contacts' messy address spellings are listed in fixture_data.cpp.
void makeFixtureDataDir(const std::filesystem::path& dir);

}  // namespace vistrel::testing
