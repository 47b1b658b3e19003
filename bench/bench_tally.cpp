// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
// The State and Zip Code tallies and counts over the contacts of one
// database, each beside the bare SQLite scan of the fields it reads, and
// the one walk of analyse --count that makes both.
//
//   bench_tally DATA_DIR [DATABASE] [REPEAT]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_support.h"
#include "geo/tally.h"
#include "host/engine.h"
#include "host/table.h"
#include "host/tallis_schema.h"

using namespace vistrel;

namespace {

host::Engine& engineFor(const std::filesystem::path& dir) {
  static host::Engine engine;
  engine.setAlias("TALDB", dir);
  engine.addPassword(host::tallisTablePassword(host::TablePassword::kContacts));
  return engine;
}

void run(const std::filesystem::path& dir, const std::string& database, geo::Analysis kind,
         const std::vector<std::string>& fields, int repeat) {
  host::Engine& engine = engineFor(dir);
  const geo::AnalysisInfo& info = geo::analysisInfo(kind);
  std::vector<std::string> values;
  long total = 0;
  const auto tally = [&]() -> long {
    host::Table t(engine, "TALDB", "CONTACT.DB");
    t.setIndexName("LastFirst");
    if (!t.open().ok()) std::exit(1);
    auto r = geo::runTally(t, database, kind);
    if (!r.ok()) std::exit(1);
    values = r->values;
    return static_cast<long>(values.size());
  };
  const auto count = [&]() -> long {
    host::Table t(engine, "TALDB", "CONTACT.DB");
    t.setIndexName("LastFirst");
    if (!t.open().ok() || !t.setRange({database}, {database}).ok()) std::exit(1);
    auto r = geo::runCount(t, kind, values);
    if (!r.ok()) std::exit(1);
    total = static_cast<long>(r->total);
    return static_cast<long>(r->visited);
  };
  // What analyse --count does: the tally and its count in one walk.
  const auto oneWalk = [&]() -> long {
    host::Table t(engine, "TALDB", "CONTACT.DB");
    t.setIndexName("LastFirst");
    if (!t.open().ok()) std::exit(1);
    auto r = geo::runTallyAndCount(t, database, kind);
    if (!r.ok() || r->count.total != total) std::exit(1);
    return static_cast<long>(r->count.visited);
  };
  // The engine's own walk of the same fields doing nothing: what the one
  // walk costs beyond it is the analysis's work.
  const auto emptyWalk = [&]() -> long {
    host::Table t(engine, "TALDB", "CONTACT.DB");
    t.setIndexName("LastFirst");
    if (!t.open().ok() || !t.setRange({database}, {database}).ok()) std::exit(1);
    long n = 0;
    std::vector<host::Field*> fs{t.fieldByName("DB")};
    for (auto& f : fields) fs.push_back(t.fieldByName(f));
    (void)t.visitTexts(fs, [&](const std::vector<std::string_view>&) { ++n; return true; });
    return n;
  };
  tally();  // the count needs the values
  count();
  const auto t =
      bench::measureRounds(repeat, {[&] { return bench::bareScan(dir, database, fields); }, tally, count, oneWalk, emptyWalk});
  std::printf("-- %s: %zu distinct values, %ld contacts counted\n", std::string(info.heading).c_str(),
              values.size(), total);
  bench::print("bare SQLite scan (floor)", t[0]);
  bench::print("tally (rows: distinct values)", t[1]);
  bench::print("count", t[2]);
  bench::print("tally and count in one walk", t[3]);
  bench::print("engine walk, no work", t[4]);
  std::printf("ratio tally/floor %.2f, count/floor %.2f, one walk/floor %.2f, engine walk/floor %.2f, one walk/engine "
              "walk %.2f (medians of the rounds)\n",
              t[1].ratio, t[2].ratio, t[3].ratio, t[4].ratio, t[3].median / t[4].median);
}

}  // namespace

int main(int argc, char** argv) {
  bench::ContactArgs args;
  if (!bench::readContactArgs(argc, argv, 3, args)) return 2;
  const std::filesystem::path& dir = args.dir;
  const std::string& database = args.database;
  const int repeat = args.repeat;
  std::printf("database %s of %s\n", database.c_str(), dir.c_str());
  run(dir, database, geo::Analysis::kState, {"State"}, repeat);
  run(dir, database, geo::Analysis::kZipCode, {"Zip", "Country"}, repeat);
  std::printf("peak memory: %ld MB\n", bench::peakRssMb());
  return 0;
}
