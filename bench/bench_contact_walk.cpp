// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
// Walks the contacts of one database in "LastFirst" order through the table
// engine, reading DB, Zip, Country, City and State, beside the bare SQLite
// scan of the same fields.
//
//   bench_contact_walk DATA_DIR [DATABASE] [REPEAT]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_support.h"
#include "host/engine.h"
#include "host/table.h"
#include "host/tallis_schema.h"

using namespace vistrel;

int main(int argc, char** argv) {
  bench::ContactArgs args;
  if (!bench::readContactArgs(argc, argv, 5, args)) return 2;
  const std::filesystem::path& dir = args.dir;
  const std::string& database = args.database;
  const int repeat = args.repeat;
  const std::vector<std::string> fields = {"Zip", "Country", "City", "State"};

  host::Engine engine;
  engine.setAlias("TALDB", dir);
  engine.addPassword(host::tallisTablePassword(host::TablePassword::kContacts));

  const auto walk = [&]() -> long {
    host::Table t(engine, "TALDB", "CONTACT.DB");
    t.setIndexName("LastFirst");
    if (!t.open().ok() || !t.setRange({database}, {database}).ok()) std::exit(1);
    host::Field* f[5] = {t.fieldByName("DB"), t.fieldByName("Zip"), t.fieldByName("Country"),
                         t.fieldByName("City"), t.fieldByName("State")};
    long rows = 0;
    std::size_t bytes = 0;
    for (host::Status s = t.first(); s.ok() && !t.eof(); s = t.next()) {
      for (host::Field* x : f) bytes += x->asText().size();
      ++rows;
    }
    return rows + static_cast<long>(bytes * 0);
  };
  const auto t = bench::measureRounds(repeat, {[&] { return bench::bareScan(dir, database, fields); }, walk});
  std::printf("database %s of %s\n", database.c_str(), dir.c_str());
  bench::print("bare SQLite scan (floor)", t[0]);
  bench::print("engine walk, LastFirst range", t[1]);
  std::printf("ratio engine/floor (median of the rounds): %.2f\n", t[1].ratio);
  std::printf("peak memory: %ld MB\n", bench::peakRssMb());
  return 0;
}
