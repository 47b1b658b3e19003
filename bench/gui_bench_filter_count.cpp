// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
//
// Times Count in the filter list (panels updated and window messages let
// through every 10 contacts, for its Abort) beside the headless count of the
// same filter, on the largest database of a data directory, and measures how
// late a second press of Count is heard and how soon the count then stops.
// Adds the filter "Bench: five rows" to the data directory when it is missing.
//   build/bin/vistrel-cli init --data /tmp/one1m --demo --contacts 1000000 --one-database
//   QT_QPA_PLATFORM=offscreen build/bench/gui_bench_filter_count /tmp/one1m [DATABASE]
// With LOOP0=1 in the environment the window lets its messages run every 10
// contacts instead of every 20 ms, for comparison.
#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_support.h"
#include "filter/compiled_filter.h"
#include "filter/filter_evaluator.h"
#include "filter/filter_store.h"
#include "filter/filter_text.h"
#include "filter/ui/frm_flt_pick.h"
#include "host/date_time.h"
#include "host/engine.h"
#include "host/session.h"
#include "host/table.h"
#include "host/tallis_schema.h"

using namespace vistrel;

namespace {

constexpr char kName[] = "Bench: five rows";

std::string fiveRows() {
  const struct {
    const char* field;
    int relation;
    const char* value;
    int connector, open, close;
  } rows[] = {{"State", 5, "CA", 2, 1, 0},
              {"State", 5, "TX", 2, 0, 0},
              {"State", 5, "NY", 1, 0, 1},
              {"Category", 11, "A", 1, 0, 0},
              {"DateAdded", 19, "TODAY -5yr", 0, 0, 0}};
  std::vector<std::string> lines;
  for (const auto& r : rows) {
    lines.push_back(filter::writeFilterLine(
        filter::filterLine("Contact", r.field, r.relation, r.value, r.connector, r.open, r.close)));
  }
  return filter::joinMemoLines(lines);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: gui_bench_filter_count DATA_DIR [DATABASE]\n");
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  const std::string database = argc > 2 ? argv[2] : bench::largestDatabase(dir);
  host::Engine engine;
  engine.setAlias("TALDB", dir);
  for (auto w : {host::TablePassword::kUsers, host::TablePassword::kContacts, host::TablePassword::kFilters}) {
    engine.addPassword(host::tallisTablePassword(w));
  }
  const host::FixedClock clock(*host::encodeDate(2026, 12, 1));
  if (!filter::findFilter(engine, kName).ok()) {
    if (!filter::addFilter(engine, {kName, database, "DEM", "CONTACT", fiveRows(), ""}, clock).ok()) return 1;
  }
  filter::FilterSession session;
  session.CurrentWho = "DEM";
  filter::TfrmFltPick window(engine, session);
  window.setClock(clock);
  if (std::getenv("LOOP0")) window.setLoopInterval(0);
  window.selectinit(database);
  window.show();  // showing lists the rows again: pick the filter afterwards
  for (std::size_t i = 0; i < window.rows().size(); ++i) {
    if (window.rows()[i].shortname == kName) window.grid()->selectRow(static_cast<int>(i));
  }

  const auto headless = [&]() -> long {
    auto row = filter::findFilter(engine, kName);
    filter::CompiledFilter f;
    if (!row.ok() || !f.activatethisfilter(row->shortname, row->selection, "DEM", clock, engine.locale()).empty()) {
      std::exit(1);
    }
    filter::FilterEvaluator evaluator(f, engine, "DEM");
    host::Table t(engine, "TALDB", "CONTACT.DB");
    t.setIndexName("LastFirst");
    if (!t.open().ok() || !t.setRange({database}, {database}).ok()) std::exit(1);
    t.disableControls();
    auto r = filter::countSelection(evaluator, t, nullptr, 0);
    if (!r.ok()) std::exit(1);
    return static_cast<long>(r->total);
  };
  const auto inWindow = [&]() -> long {
    window.BtcountClick();
    return 0;
  };
  const auto t = bench::measureRounds(3, {headless, inWindow});
  std::printf("database %s of %s\n", database.c_str(), dir.c_str());
  bench::print("headless count (rows: contacts)", t[0]);
  bench::print("Count in the filter list", t[1]);
  std::printf("ratio window/headless %.2f\n", t[1].ratio);

  double worstHeard = 0, worstStopped = 0;
  for (int i = 0; i < 5; ++i) {
    QElapsedTimer since;
    double heard = 0;
    const int afterMs = 200 + 37 * i;
    QTimer::singleShot(afterMs, [&] {
      heard = static_cast<double>(since.nsecsElapsed()) / 1e6 - afterMs;
      window.BtcountClick();
    });
    since.start();
    window.BtcountClick();
    worstHeard = std::max(worstHeard, heard);
    worstStopped = std::max(worstStopped, static_cast<double>(since.nsecsElapsed()) / 1e6 - afterMs);
  }
  std::printf("Abort: heard at worst %.1f ms late, count stopped at worst %.1f ms after it was due\n", worstHeard,
              worstStopped);
  std::printf("peak memory: %ld MB\n", bench::peakRssMb());
  return 0;
}
