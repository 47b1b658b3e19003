// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "app/ui/mirror_progress.h"
#include "filter/filter_session.h"
#include "fixture_data.h"
#include "geo/ui/frm_main.h"
#include "geo/ui/frm_usa.h"
#include "host/engine.h"
#include "host/host_mirror.h"
#include "host/ui/messages.h"
#include "host/tallis_schema.h"
#include "host/ui/table_model.h"
#include "testing.h"
#include "widgets/sortable_grid.h"

namespace host = vistrel::host;
using vistrel::geo::TFrmMain;
using vistrel::geo::TFrmUSA;

namespace {

void usePasswords(host::Engine& engine) {
  for (auto which : {host::TablePassword::kUsers, host::TablePassword::kContacts, host::TablePassword::kFilters}) {
    engine.addPassword(host::tallisTablePassword(which));
  }
}

// The values the State analysis of Sales lists in the main window, and its
// counted total.
QStringList stateAnalysis(host::Engine& engine) {
  vistrel::filter::FilterSession session;
  TFrmMain w(engine, session);
  w.show();
  if (!QTest::qWaitForWindowExposed(&w)) qFatal("window not exposed");
  host::TableModel* model = w.databaseModel();
  for (int r = 0; r < model->rowCount(); ++r) {
    if (model->text(0, r) != QStringLiteral("Sales")) continue;
    QTableView* grid = w.databaseGrid();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(model->index(r, 0)).center());
  }
  QStringList seen;
  QTimer::singleShot(0, [&seen] {
    auto* result = qobject_cast<TFrmUSA*>(QApplication::activeModalWidget());
    if (result == nullptr) return;
    QTest::mouseClick(result->findChild<QPushButton*>(QStringLiteral("BtnCount")), Qt::LeftButton);
    const vistrel::widgets::SortableGrid* grid = result->grid();
    for (int r = 0; r < grid->rowCount(); ++r) {
      QStringList row;
      for (int c = 0; c < grid->columnCount(); ++c) row << grid->cell(c, r);
      seen << row.join(QStringLiteral("|"));
    }
    result->reject();
  });
  QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("BtnState")), Qt::LeftButton);
  return seen;
}

}  // namespace

class MirrorWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void stateAnalysisOfAMirroredTallisDirectoryMatchesTheOriginal();
};

void MirrorWindowTest::stateAnalysisOfAMirroredTallisDirectoryMatchesTheOriginal() {
  vistrel::testing::TempDir dir;
  vistrel::testing::makeFixtureDataDir(dir / "original");
  host::ScopedMessageRecorder messages;
  QStringList want;
  {
    host::Engine original;
    usePasswords(original);
    original.setAlias(host::kTallisAlias, dir / "original");
    QVERIFY(host::exportParadoxTables(original, host::kTallisAlias, dir / "tallis").ok());
    want = stateAnalysis(original);
  }
  QVERIFY(want.size() > 3);
  QVERIFY2(want.join(QString()).count(QLatin1Char('|')) >= want.size(), "the rows hold their counts");

  host::Engine engine;
  usePasswords(engine);
  engine.setAlias(host::kTallisAlias, dir / "tallis");
  QVERIFY(engine.setPrivateDir(dir / "priv").ok());
  QVERIFY(vistrel::app::mirrorHostTablesWithProgress(engine));
  QCOMPARE(stateAnalysis(engine), want);
  QVERIFY(messages.messages().empty());
}

QTEST_MAIN(MirrorWindowTest)
#include "mirror_window_test.moc"
