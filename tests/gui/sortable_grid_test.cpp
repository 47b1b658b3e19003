// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <QHeaderView>
#include <QTest>

#include "widgets/sortable_grid.h"

using vistrel::widgets::SortableGrid;
using vistrel::widgets::SortFormat;

namespace {

QStringList column(const SortableGrid& grid, int c) {
  QStringList out;
  for (int r = 1; r < grid.rowCount(); ++r) out << grid.cell(c, r);
  return out;
}

// Clicks the heading of `c` the way the user does.
void clickHeading(SortableGrid& grid, int c) {
  QHeaderView* header = grid.horizontalHeader();
  const QPoint at(header->sectionViewportPosition(c) + header->sectionSize(c) / 2, header->height() / 2);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

}  // namespace

class SortableGridTest : public QObject {
  Q_OBJECT

 private slots:
  void cellsAreAddressedLikeAStringGrid();
  void headingClicksSortAndFlip();
  void sortOrders_data();
  void sortOrders();
  void rowsMoveWholeAndSelectionFollows();
  void sortingCanBeSwitchedOff();
};

void SortableGridTest::cellsAreAddressedLikeAStringGrid() {
  SortableGrid grid;
  QCOMPARE(grid.rowCount(), 1);
  QCOMPARE(grid.columnCount(), 2);
  grid.setRowCount(3);
  grid.setCell(0, 0, QStringLiteral("State"));
  grid.setCell(1, 0, QStringLiteral("#"));
  grid.setCell(0, 2, QStringLiteral("TX"));
  QCOMPARE(grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("#"));
  QCOMPARE(grid.cell(0, 0), QStringLiteral("State"));
  QCOMPARE(grid.cell(0, 2), QStringLiteral("TX"));
  QCOMPARE(grid.cell(1, 1), QString());

  grid.setColumnTexts(1, {QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6")});
  QCOMPARE(grid.rowCount(), 4);
  QCOMPARE(grid.cell(1, 3), QStringLiteral("6"));
  grid.setRowCount(2);
  QCOMPARE(column(grid, 1), QStringList{QStringLiteral("4")});
  grid.setRowCount(0);
  QCOMPARE(grid.rowCount(), 1);
  QCOMPARE(grid.cell(1, 0), QStringLiteral("#"));
}

void SortableGridTest::headingClicksSortAndFlip() {
  SortableGrid grid;
  grid.setSortFormat(1, SortFormat::kNumeric);
  grid.setColumnTexts(0, {"b", "c", "a"});
  grid.setColumnTexts(1, {"10", "9", "100"});
  grid.show();
  QVERIFY(QTest::qWaitForWindowExposed(&grid));
  QCOMPARE(column(grid, 0), (QStringList{"b", "c", "a"}));  // no sort before a click

  clickHeading(grid, 1);
  QCOMPARE(column(grid, 1), (QStringList{"9", "10", "100"}));
  QCOMPARE(column(grid, 0), (QStringList{"c", "b", "a"}));
  QCOMPARE(grid.horizontalHeader()->sortIndicatorSection(), 1);
  QVERIFY(grid.horizontalHeader()->isSortIndicatorShown());
  clickHeading(grid, 1);
  QCOMPARE(column(grid, 1), (QStringList{"100", "10", "9"}));
  clickHeading(grid, 0);
  QCOMPARE(column(grid, 0), (QStringList{"a", "b", "c"}));
  QCOMPARE(grid.horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);
}

void SortableGridTest::sortOrders_data() {
  QTest::addColumn<bool>("numeric");
  QTest::addColumn<QStringList>("cells");
  QTest::addColumn<QStringList>("ascending");
  QTest::newRow("text sorts digits as characters")
      << false << QStringList{"9", "10", "100"} << QStringList{"10", "100", "9"};
  QTest::newRow("text folds a-z only, like the value list")
      << false << QStringList{"_x", "zebra", "Apple", "\u00C4rzte", "Zulu", "apricot"}
      << QStringList{"Apple", "apricot", "zebra", "Zulu", "_x", "\u00C4rzte"};
  QTest::newRow("numbers, non-numbers first")
      << true << QStringList{"12", "", "3", "x", "-1", "2.5"}
      << QStringList{"", "x", "-1", "2.5", "3", "12"};
  QTest::newRow("equal numbers keep their order")
      << true << QStringList{"1", "01", "1.0", "0"} << QStringList{"0", "1", "01", "1.0"};
}

void SortableGridTest::sortOrders() {
  QFETCH(bool, numeric);
  QFETCH(QStringList, cells);
  QFETCH(QStringList, ascending);
  SortableGrid grid;
  grid.setSortFormat(0, numeric ? SortFormat::kNumeric : SortFormat::kText);
  grid.setColumnTexts(0, cells);
  grid.sortRows(0, Qt::AscendingOrder);
  QCOMPARE(column(grid, 0), ascending);
}

void SortableGridTest::rowsMoveWholeAndSelectionFollows() {
  SortableGrid grid;
  grid.setColumnCount(3);
  grid.setColumnTexts(0, {"b", "a", "c"});
  grid.setColumnTexts(1, {"2", "1", "3"});
  grid.setColumnTexts(2, {"B", "A", "C"});
  grid.selectRow(2);  // "c"
  grid.sortRows(0, Qt::DescendingOrder);
  QCOMPARE(column(grid, 1), (QStringList{"3", "2", "1"}));
  QCOMPARE(column(grid, 2), (QStringList{"C", "B", "A"}));
  QCOMPARE(grid.currentIndex().row(), 0);
}

void SortableGridTest::sortingCanBeSwitchedOff() {
  SortableGrid grid;
  grid.setColumnTexts(0, {"b", "a"});
  grid.show();
  QVERIFY(QTest::qWaitForWindowExposed(&grid));
  grid.setSortable(false);
  clickHeading(grid, 0);
  QCOMPARE(column(grid, 0), (QStringList{"b", "a"}));
  grid.setSortable(true);
  clickHeading(grid, 0);
  QCOMPARE(column(grid, 0), (QStringList{"a", "b"}));
}

QTEST_MAIN(SortableGridTest)
#include "sortable_grid_test.moc"
