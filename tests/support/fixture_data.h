// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <vector>

#include "host/engine.h"
#include "host/session.h"
#include "host/tallis_schema.h"
#include "testing.h"

namespace vistrel::testing {

// Creates a small Tallis data directory in `dir` whose contents tests know:
//   users DEM (no password), ABC (password "secret", stored scrambled) and
//   PLN (password "tallis", stored as typed);
//   databases Sales (13 contacts, one of them with DB "SALES"), Clients (1)
//   and Empty (none), plus one contact of a database "Other" with no row;
//   the contacts' messy address spellings are listed in fixture_data.cpp.
void makeFixtureDataDir(const std::filesystem::path& dir);

// A fixture data directory in a folder of its own, an engine whose alias
// TALDB points at it and knows the passwords of `tables`, and a session.
struct FixtureEngine {
  TempDir dir;
  host::Engine engine;
  host::Session session;
  explicit FixtureEngine(const std::vector<host::TablePassword>& tables);
};

}  // namespace vistrel::testing
