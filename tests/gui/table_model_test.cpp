// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <QHeaderView>
#include <QTableView>
#include <QTest>

#include "fixture_data.h"
#include "host/engine.h"
#include "host/ui/messages.h"
#include "host/table.h"
#include "host/ui/table_model.h"
#include "testing.h"

using vistrel::host::Table;
using vistrel::host::TableModel;
using vistrel::host::Value;

namespace {

struct Data {
  vistrel::testing::TempDir dir;
  vistrel::host::Engine engine;
  Table databases{engine, "TALDB", "DATABASE.DB"};
  Data() {
    vistrel::testing::makeFixtureDataDir(dir.path());
    engine.setAlias("TALDB", dir.path());
    if (!databases.open().ok()) qFatal("DATABASE.DB does not open");
  }
};

std::vector<TableModel::Column> dbColumns() {
  return {{"db", QStringLiteral("DB"), 11}, {"Description", QStringLiteral("Description"), 36}};
}

QString currentDb(Table& t) { return QString::fromStdString(t.fieldByName("DB")->asText()); }

}  // namespace

class TableModelTest : public QObject {
  Q_OBJECT

 private slots:
  void readsTheRowsAndStaysOnTheRecord();
  void readsAgainWhenARecordIsNew();
  void gridAndTableFollowEachOther();
};

void TableModelTest::readsTheRowsAndStaysOnTheRecord() {
  Data d;
  QVERIFY(*d.databases.findKey({Value("Empty")}));
  TableModel model(d.databases, dbColumns());
  QVERIFY(model.reload().ok());
  QCOMPARE(model.rowCount(), 3);
  QCOMPARE(model.columnCount(), 2);
  const QStringList expected{"Clients", "Empty", "Sales"};
  for (int r = 0; r < 3; ++r) QCOMPARE(model.text(0, r), expected[r]);
  QCOMPARE(model.text(1, 2), QStringLiteral("Sales leads"));
  QCOMPARE(model.currentRow(), 1);
  QCOMPARE(currentDb(d.databases), QStringLiteral("Empty"));
  QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));
}

void TableModelTest::readsAgainWhenARecordIsNew() {
  Data d;
  TableModel model(d.databases, dbColumns());
  QVERIFY(model.reload().ok());
  // Another table object on the same data adds a database.
  Table other(d.engine, "TALDB", "DATABASE.DB");
  QVERIFY(other.open().ok());
  QVERIFY(other.insert().ok());
  QVERIFY(other.fieldByName("DB")->setText("Donors").ok());
  QVERIFY(other.post().ok());
  QCOMPARE(model.rowCount(), 3);
  QVERIFY(*d.databases.findKey({Value("Donors")}));
  QCOMPARE(model.rowCount(), 4);
  QCOMPARE(model.text(0, 1), QStringLiteral("Donors"));
  QCOMPARE(model.currentRow(), 1);
  QCOMPARE(currentDb(d.databases), QStringLiteral("Donors"));
}

void TableModelTest::gridAndTableFollowEachOther() {
  Data d;
  TableModel model(d.databases, dbColumns());
  QTableView view;
  vistrel::host::bindTableView(&view, &model);
  QVERIFY(model.reload().ok());
  view.resize(400, 150);
  view.show();
  QVERIFY(QTest::qWaitForWindowExposed(&view));
  QCOMPARE(view.selectionBehavior(), QAbstractItemView::SelectRows);
  QCOMPARE(view.editTriggers(), QAbstractItemView::NoEditTriggers);
  QVERIFY(view.columnWidth(1) > 3 * view.columnWidth(0));
  QCOMPARE(view.selectionModel()->currentIndex().row(), 0);

  const QRect salesCell = view.visualRect(model.index(2, 1));
  QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, salesCell.center());
  QCOMPARE(currentDb(d.databases), QStringLiteral("Sales"));
  QVERIFY(view.selectionModel()->isRowSelected(2, {}));

  QTest::keyClick(&view, Qt::Key_Up);
  QCOMPARE(currentDb(d.databases), QStringLiteral("Empty"));

  QVERIFY(d.databases.first().ok());
  QCOMPARE(view.selectionModel()->currentIndex().row(), 0);
  QVERIFY(view.selectionModel()->isRowSelected(0, {}));
  QVERIFY(!view.selectionModel()->isRowSelected(1, {}));
}

QTEST_MAIN(TableModelTest)
#include "table_model_test.moc"
