// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
// A saved filter over the contacts of one database: its count (as the filter
// list and `vistrel-cli filter count` make it) beside SQLite answering the
// same question with one SELECT count(*), for a filter of five contact rows
// and for the same filter with its last row on events; and the State tally
// with the five-row filter beside the unfiltered tally.
//
//   bench_filter DATA_DIR [DATABASE] [REPEAT]
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_support.h"
#include "filter/compiled_filter.h"
#include "filter/filter_evaluator.h"
#include "filter/filter_text.h"
#include "geo/tally.h"
#include "host/date_time.h"
#include "host/engine.h"
#include "host/table.h"
#include "host/tallis_schema.h"

using namespace vistrel;

namespace {

filter::FilterLine row(const char* field, int relation, const char* value, int connector, int open = 0,
                       int close = 0) {
  return filter::filterLine("Contact", field, relation, value, connector, open, close);
}

std::string definition(const std::vector<filter::FilterLine>& lines) {
  std::vector<std::string> texts;
  for (const auto& l : lines) texts.push_back(filter::writeFilterLine(l));
  return filter::joinMemoLines(texts);
}

long sqlCount(const std::filesystem::path& dir, const std::string& database, const std::string& where) {
  sqlite3* db = nullptr;
  sqlite3_open_v2((dir / "tallis.db").c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* st = nullptr;
  const std::string sql = "SELECT count(*) FROM contact c WHERE c.DB = ?1 AND " + where;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
    std::fprintf(stderr, "%s\n", sqlite3_errmsg(db));
    std::exit(1);
  }
  sqlite3_bind_text(st, 1, database.c_str(), -1, SQLITE_TRANSIENT);
  long n = 0;
  if (sqlite3_step(st) == SQLITE_ROW) n = static_cast<long>(sqlite3_column_int64(st, 0));
  sqlite3_finalize(st);
  sqlite3_close(db);
  return n;
}

}  // namespace

int main(int argc, char** argv) {
  bench::ContactArgs args;
  if (!bench::readContactArgs(argc, argv, 3, args)) return 2;
  host::Engine engine;
  engine.setAlias("TALDB", args.dir);
  engine.addPassword(host::tallisTablePassword(host::TablePassword::kContacts));
  const host::FixedClock clock(*host::encodeDate(2026, 12, 1));
  const long fiveYearsAgo = static_cast<long>(*host::encodeDate(2021, 12, 1));
  std::printf("database %s of %s\n", args.database.c_str(), args.dir.c_str());

  const std::vector<filter::FilterLine> contactRows = {
      row("State", 5, "CA", 2, 1), row("State", 5, "TX", 2), row("State", 5, "NY", 1, 0, 1),
      row("Category", 11, "A", 1), row("DateAdded", 19, "TODAY -5yr", 0)};
  const std::string contactSql = "(upper(ifnull(c.State, '')) = 'CA' OR upper(ifnull(c.State, '')) = 'TX' OR "
                                 "upper(ifnull(c.State, '')) = 'NY') AND instr(ifnull(c.Category, ''), 'A') > 0";
  std::vector<filter::FilterLine> eventRows = contactRows;
  eventRows.back() = row("Event Type", 5, "SALE", 0);

  const struct {
    const char* name;
    std::vector<filter::FilterLine> lines;
    std::string sql;
  } filters[] = {
      {"five contact rows", contactRows,
       contactSql + " AND ifnull(c.DateAdded, 0) >= " + std::to_string(fiveYearsAgo)},
      {"four contact rows and an event row", eventRows,
       contactSql + " AND EXISTS (SELECT 1 FROM event e WHERE e.Recno = c.Recno AND upper(ifnull(e.Type, '')) = 'SALE')"},
  };
  for (const auto& f : filters) {
    filter::CompiledFilter compiled;
    if (!compiled.activatethisfilter(f.name, definition(f.lines), "DEM", clock, engine.locale()).empty()) return 1;
    const auto count = [&]() -> long {
      filter::FilterEvaluator evaluator(compiled, engine, "DEM");
      host::Table t(engine, "TALDB", "CONTACT.DB");
      t.setIndexName("LastFirst");
      if (!t.open().ok() || !t.setRange({args.database}, {args.database}).ok()) std::exit(1);
      t.disableControls();
      auto r = filter::countSelection(evaluator, t, nullptr, 0);
      if (!r.ok()) std::exit(1);
      return static_cast<long>(r->matches);
    };
    const auto t = bench::measureRounds(args.repeat, {[&] { return sqlCount(args.dir, args.database, f.sql); }, count});
    std::printf("-- %s\n", f.name);
    bench::print("SQLite SELECT count(*) (rows: matches)", t[0]);
    bench::print("filter count (rows: matches)", t[1]);
    std::printf("ratio count/SQL %.2f%s\n", t[1].ratio, t[0].rows == t[1].rows ? "" : "  (THE COUNTS DIFFER)");
  }

  filter::CompiledFilter compiled;
  if (!compiled.activatethisfilter("five", definition(contactRows), "DEM", clock, engine.locale()).empty()) return 1;
  const auto tally = [&](bool filtered) {
    return [&, filtered]() -> long {
      filter::FilterEvaluator evaluator(compiled, engine, "DEM");
      host::Table t(engine, "TALDB", "CONTACT.DB");
      t.setIndexName("LastFirst");
      if (!t.open().ok()) std::exit(1);
      if (filtered) {
        t.setOnFilterRecord(evaluator.recordFilter());
        if (!t.setFiltered(true).ok()) std::exit(1);
      }
      auto r = geo::runTally(t, args.database, geo::Analysis::kState);
      if (!r.ok()) std::exit(1);
      return static_cast<long>(r->visited);
    };
  };
  const auto t = bench::measureRounds(args.repeat, {tally(false), tally(true)});
  std::printf("-- State tally\n");
  bench::print("unfiltered (rows: contacts walked)", t[0]);
  bench::print("five-row filter (rows: selected)", t[1]);
  std::printf("ratio filtered/unfiltered %.2f\n", t[1].ratio);
  std::printf("peak memory: %ld MB\n", bench::peakRssMb());
  return 0;
}
