// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
//
// Times the result grid with 40,000 rows (by default), shown on screen:
// filling it cell by cell as a tally does, filling it a column at a time,
// setting every count cell, and sorting by each column.
//   QT_QPA_PLATFORM=offscreen build/bench/gui_bench_sortable_grid [rows]
#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <cstdio>

#include "widgets/sortable_grid.h"

using vistrel::widgets::SortableGrid;
using vistrel::widgets::SortFormat;

namespace {

template <typename F>
double millis(F&& f) {
  QElapsedTimer t;
  t.start();
  f();
  QApplication::processEvents();  // let the view catch up, as it would on screen
  return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const int rows = argc > 1 ? std::atoi(argv[1]) : 40000;
  QStringList values, counts;
  QRandomGenerator rng(3);
  for (int i = 0; i < rows; ++i) {
    values << QStringLiteral("City %1, %2").arg(rng.bounded(1000000)).arg(QChar('A' + rng.bounded(26)));
    counts << QString::number(rng.bounded(5000));
  }

  SortableGrid grid;
  grid.resize(200, 400);
  grid.setSortFormat(1, SortFormat::kNumeric);
  grid.show();
  QApplication::processEvents();

  const double cellByCell = millis([&] {
    grid.setRowCount(rows + 1);
    for (int r = 1; r <= rows; ++r) grid.setCell(0, r, values[r - 1]);
  });
  const double counting = millis([&] {
    for (int r = 1; r <= rows; ++r) grid.setCell(1, r, counts[r - 1]);
  });
  SortableGrid bulk;
  bulk.resize(200, 400);
  bulk.show();
  const double byColumn = millis([&] {
    bulk.setColumnTexts(0, values);
    bulk.setColumnTexts(1, counts);
  });
  const double sortNumeric = millis([&] { grid.sortRows(1, Qt::DescendingOrder); });
  const double sortText = millis([&] { grid.sortRows(0, Qt::AscendingOrder); });

  std::printf("sortable grid, %d rows: cell by cell %.1f ms, counts cell by cell %.1f ms, "
              "column at a time %.1f ms, numeric sort %.1f ms, text sort %.1f ms\n",
              rows, cellByCell, counting, byColumn, sortNumeric, sortText);
  return 0;
}
