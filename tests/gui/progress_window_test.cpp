// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "geo/ui/frm_progress.h"

using vistrel::geo::TFrmProgress;

class ProgressWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void startShowsAnEmptyGaugeOverTheRecords();
  void positionsOutsideTheRangeAreClamped();
  void abortSetsTheFlagUntilTheNextStart();
  void abortWorksWhileAModalWindowCounts();
  void aTaskWithoutAbortIgnoresEscapeUntilTheCountIsBack();
};

void ProgressWindowTest::startShowsAnEmptyGaugeOverTheRecords() {
  TFrmProgress progress;
  progress.start(250);
  QVERIFY(progress.isVisible());
  QCOMPARE(progress.windowTitle(), QStringLiteral("Counting Records"));
  QCOMPARE(progress.findChild<QLabel*>(QStringLiteral("LblHeading"))->text(),
           QStringLiteral("Counting Records"));
  QCOMPARE(progress.gauge()->minimum(), 1);
  QCOMPARE(progress.gauge()->maximum(), 250);
  QVERIFY(progress.gauge()->value() < 1);
  progress.setPosition(20);
  QCOMPARE(progress.gauge()->value(), 20);
  progress.finish();
  QVERIFY(!progress.isVisible());
}

void ProgressWindowTest::positionsOutsideTheRangeAreClamped() {
  TFrmProgress progress;
  progress.start(0);  // an empty table
  QCOMPARE(progress.gauge()->maximum(), 1);
  progress.setRange(1, 30);
  progress.setPosition(40);
  QCOMPARE(progress.gauge()->value(), 30);
  progress.setPosition(0);
  QVERIFY(progress.gauge()->value() < 1);
}

void ProgressWindowTest::abortSetsTheFlagUntilTheNextStart() {
  TFrmProgress progress;
  progress.start(100);
  QVERIFY(!progress.aborted());
  QTest::mouseClick(progress.findChild<QPushButton*>(QStringLiteral("BitBtn1")), Qt::LeftButton);
  QVERIFY(progress.aborted());
  progress.finish();
  QVERIFY(progress.aborted());
  progress.start(100);
  QVERIFY(!progress.aborted());
  QTest::keyClick(&progress, Qt::Key_Escape);
  QVERIFY(progress.aborted());
}

// The result window is modal; the count runs inside it and must still hear
// the progress window's Abort button.
void ProgressWindowTest::abortWorksWhileAModalWindowCounts() {
  TFrmProgress progress;
  QDialog resultWindow;
  int visited = 0;
  QTimer::singleShot(0, &resultWindow, [&] {
    progress.start(1000000);
    auto* abort = progress.findChild<QPushButton*>(QStringLiteral("BitBtn1"));
    // Through the window, as the window system delivers it, so that a
    // blocked window would drop the click.
    QTimer::singleShot(0, abort, [&progress, abort] {
      QTest::mouseClick(progress.windowHandle(), Qt::LeftButton, {},
                        abort->mapTo(&progress, abort->rect().center()));
    });
    while (visited < 1000000 && !progress.aborted()) {
      ++visited;
      QCoreApplication::processEvents();
    }
    progress.finish();
    resultWindow.accept();
  });
  resultWindow.exec();
  QVERIFY(progress.aborted());
  QVERIFY(visited < 1000000);
}

// The start-up copy of the Tallis tables shows the window under its own
// heading and cannot be stopped; the next count finds the window as it was.
void ProgressWindowTest::aTaskWithoutAbortIgnoresEscapeUntilTheCountIsBack() {
  TFrmProgress progress;
  auto* heading = progress.findChild<QLabel*>(QStringLiteral("LblHeading"));
  auto* abort = progress.findChild<QPushButton*>(QStringLiteral("BitBtn1"));
  progress.setTask(QStringLiteral("Copying the Tallis tables"), QStringLiteral("Copying USERS.DB"), false);
  progress.start(10);
  QCOMPARE(progress.windowTitle(), QStringLiteral("Copying the Tallis tables"));
  QCOMPARE(heading->text(), QStringLiteral("Copying USERS.DB"));
  QVERIFY(!abort->isVisible());
  QTest::keyClick(&progress, Qt::Key_Escape);
  QVERIFY(progress.isVisible());
  QVERIFY(!progress.aborted());
  progress.finish();
  progress.start(10);
  QCOMPARE(progress.windowTitle(), QStringLiteral("Counting Records"));
  QCOMPARE(heading->text(), QStringLiteral("Counting Records"));
  QVERIFY(abort->isVisible());
  QTest::keyClick(&progress, Qt::Key_Escape);
  QVERIFY(progress.aborted());
}

QTEST_MAIN(ProgressWindowTest)
#include "progress_window_test.moc"
