// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
//
// Times Count in the result window (progress window shown, window messages
// let through for its Abort) beside the headless count on the same table and
// keys, for the analyses named (default: state and zip), on the largest
// database of a data directory. Also measures how late an Abort click is
// heard. With --show it then opens the window of the first analysis named,
// counted and plotted, and waits for it to be closed.
//   build/bin/vistrel-cli init --data /tmp/m1 --demo --contacts 1000000
//   QT_QPA_PLATFORM=offscreen build/bench/gui_bench_count /tmp/m1 [state|zip|city|country...] [--show]
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench_support.h"
#include "geo/map_paint.h"
#include "geo/tally.h"
#include "geo/ui/frm_progress.h"
#include "geo/ui/frm_usa.h"
#include "host/engine.h"
#include "host/tallis_schema.h"

using vistrel::geo::Analysis;
using vistrel::geo::TFrmUSA;

namespace {

// The latest an Abort click was heard after it was due, over `tries` counts
// each aborted after `afterMs`.
double worstAbortDelayMs(TFrmUSA& window, int tries, int afterMs) {
  double worst = 0;
  for (int i = 0; i < tries; ++i) {
    QElapsedTimer clock;
    double late = 0;
    QTimer::singleShot(afterMs, [&] {
      late = static_cast<double>(clock.nsecsElapsed()) / 1e6 - afterMs;
      vistrel::geo::FrmProgress()->BitBtn1Click();
    });
    clock.start();
    window.BtnCountClick();
    worst = std::max(worst, late);
  }
  return worst;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: gui_bench_count DATA_DIR [state|zip|city|country...] [--show]\n");
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  std::vector<Analysis> kinds;
  bool show = false;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--show") == 0) {
      show = true;
    } else if (const auto* info = vistrel::geo::findAnalysis(argv[i])) {
      kinds.push_back(info->kind);
    } else {
      std::fprintf(stderr, "unknown analysis %s\n", argv[i]);
      return 2;
    }
  }
  if (kinds.empty()) kinds = {Analysis::kState, Analysis::kZipCode};

  vistrel::host::Engine engine;
  engine.setAlias("TALDB", dir);
  engine.addPassword(vistrel::host::tallisTablePassword(vistrel::host::TablePassword::kContacts));
  vistrel::host::Table contacts(engine, "TALDB", "CONTACT.DB");
  if (!contacts.setIndexName("LastFirst").ok() || !contacts.open().ok()) {
    std::fprintf(stderr, "cannot open the contacts of %s\n", dir.c_str());
    return 1;
  }
  const std::string database = vistrel::bench::largestDatabase(dir);
  std::printf("database %s\n", database.c_str());

  for (Analysis kind : kinds) {
    const auto& info = vistrel::geo::analysisInfo(kind);
    auto tally = vistrel::geo::runTally(contacts, database, kind);
    if (!tally.ok()) {
      std::fprintf(stderr, "%s\n", tally.status().ToString().c_str());
      return 1;
    }
    TFrmUSA window(contacts);
    window.setAnalysis(kind);
    window.setValues(tally->values);
    window.setOthers(tally->others);
    window.show();
    QApplication::processEvents();

    // The first Count of a fresh window, as the user meets it: with the
    // tally's walk handed on for the gauge, and without (the window then
    // counts the records first).
    const auto firstCount = [&](bool handedOn) {
      std::vector<double> seconds;
      for (int i = 0; i < 3; ++i) {
        TFrmUSA fresh(contacts);
        fresh.setAnalysis(kind);
        fresh.setValues(tally->values);
        if (handedOn) fresh.setRecordCount(tally->visited);
        QElapsedTimer clock;
        clock.start();
        fresh.BtnCountClick();
        seconds.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e9);
      }
      std::sort(seconds.begin(), seconds.end());
      return vistrel::bench::Timing{seconds.front(), seconds[1], static_cast<long>(tally->visited)};
    };
    const auto firstWithTally = firstCount(true);
    const auto firstAlone = firstCount(false);
    const auto headless = vistrel::bench::measure(3, [&] {
      return static_cast<long>(vistrel::geo::runCount(contacts, kind, tally->values)->visited);
    });
    const auto windowed = vistrel::bench::measure(3, [&] {
      window.BtnCountClick();
      return headless.rows;
    });
    const auto recordCount = vistrel::bench::measure(3, [&] { return static_cast<long>(*contacts.recordCount()); });
    std::printf("%s: %zu keys\n", std::string(info.heading).c_str(), tally->values.size());
    vistrel::bench::print("  record count (gauge maximum)", recordCount);
    vistrel::bench::print("  headless count", headless);
    vistrel::bench::print("  count in the window", windowed);
    std::printf("  window / headless                  min %.3f  median %.3f\n", windowed.min / headless.min,
                windowed.median / headless.median);
    vistrel::bench::print("  first Count, tally's walk given", firstWithTally);
    vistrel::bench::print("  first Count, records counted", firstAlone);
    std::printf("  first Count / headless             min %.3f  median %.3f (walk given)\n",
                firstWithTally.min / headless.min, firstWithTally.median / headless.median);
    // For comparison: window messages let through after every contact.
    TFrmUSA eager(contacts);
    eager.setAnalysis(kind);
    eager.setValues(tally->values);
    eager.setRecordCount(tally->visited);
    eager.setCountPacing(1, 0);
    const auto everyContact = vistrel::bench::measure(1, [&] {
      eager.BtnCountClick();
      return headless.rows;
    });
    vistrel::bench::print("  messages after every contact", everyContact);
    std::printf("  Abort heard at worst               %.1f ms after the click\n",
                worstAbortDelayMs(window, 5, 150));
  }

  if (!show) return 0;
  TFrmUSA window(contacts);
  auto tally = vistrel::geo::runTally(contacts, database, kinds.front());
  window.setRecordCount(tally->visited);
  window.setAnalysis(kinds.front());
  window.setValues(tally->values);
  window.setOthers(tally->others);
  window.show();
  QTimer::singleShot(0, &window, [&] {
    window.BtnCountClick();
    if (window.findChild<QPushButton*>(QStringLiteral("BtnPlot"))->isEnabled()) window.BtnPlotClick();
    // As if the pointer rested on California.
    const auto ca = vistrel::geo::StateSeedPoint("CA");
    window.Image1MouseMove(ca.x, ca.y);
  });
  window.exec();
  return 0;
}
