// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "fixture_data.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "host/engine.h"
#include "host/environment.h"
#include "host/table.h"
#include "host/tallis_schema.h"

namespace vistrel::testing {
namespace {

void check(const host::Status& s) {
  if (!s.ok()) throw std::runtime_error(s.ToString());
}

void addRow(host::Table& t, const std::vector<std::pair<const char*, std::string>>& values) {
  check(t.insert());
  for (const auto& [name, value] : values) check(t.fieldByName(name)->setText(value));
  check(t.post());
}

}  // namespace

void makeFixtureDataDir(const std::filesystem::path& dir) {
  check(host::Engine::createDataDirectory(dir));
  host::Engine engine;
  engine.setAlias("TALDB", dir);
  for (auto w : {host::TablePassword::kUsers, host::TablePassword::kContacts, host::TablePassword::kFilters}) {
    engine.addPassword(host::tallisTablePassword(w));
  }
  check(host::createTallisTables(engine, "TALDB"));

  host::Table users(engine, "TALDB", "USERPREF.DB");
  check(users.open());
  addRow(users, {{"Who", "DEM"}, {"Password", ""}});
  addRow(users, {{"Who", "ABC"}, {"Password", host::ScramblePassword("secret")}});
  addRow(users, {{"Who", "PLN"}, {"Password", "tallis"}});

  host::Table dbs(engine, "TALDB", "DATABASE.DB");
  check(dbs.open());
  addRow(dbs, {{"DB", "Sales"}, {"Description", "Sales leads"}, {"cat1", "Customer"}, {"cat2", "Buyer"}});
  addRow(dbs, {{"DB", "Clients"}, {"Description", "Clients"}});
  addRow(dbs, {{"DB", "Empty"}, {"Description", "No contacts"}});

  host::Table contacts(engine, "TALDB", "CONTACT.DB");
  check(contacts.open());
  struct C {
    const char* db;
    const char* last;
    const char* city;
    const char* state;
    const char* zip;
    const char* country;
  };
  const C rows[] = {
      {"Sales", "Adams", "BOSTON", "MA", "02134-1234", "usa"},
      {"Sales", "Brown", "Chicago", "IL", "60614-1234", "United States"},
      {"Sales", "Clark", "Toronto", "ON", "M5V 2T6", "Canada"},
      {"Sales", "Davis", "", "CA", "90210", ""},
      {"Sales", "Evans", "San Diego", "California", "92101", "U.S.A"},
      {"Sales", "Ford", "Los Angeles", "ca", "90001", "US"},
      {"Sales", "Green", "Miami", "FL", "33101", "America"},
      {"Sales", "Hall", "Austin", "TX", "", "USA"},
      {"Sales", "Irwin", "Dallas", "Texas", "75201", "U.S.A."},
      {"Sales", "Jones", "Windsor", "ON", "60614", "Canada"},
      {"Sales", "King", "", "", "", "Germany"},
      {"SALES", "Lee", "Denver", "CO", "80202", "USA"},
      {"Sales", "Smith", "Boston", "massachusetts", "02134", "USA"},
      {"Clients", "Moore", "Seattle", "WA", "98101", "USA"},
      {"Other", "Nobody", "Reno", "NV", "89501", "USA"},
  };
  int n = 0;
  for (const C& c : rows) {
    addRow(contacts, {{"Recno", "R" + std::to_string(++n)}, {"DB", c.db}, {"LastName", c.last},
                      {"FirstName", "Pat"}, {"City", c.city}, {"State", c.state}, {"Zip", c.zip},
                      {"Country", c.country}});
  }
}

FixtureEngine::FixtureEngine(const std::vector<host::TablePassword>& tables) {
  makeFixtureDataDir(dir.path());
  engine.setAlias("TALDB", dir.path());
  for (host::TablePassword t : tables) engine.addPassword(host::tallisTablePassword(t));
}

}  // namespace vistrel::testing
