// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>

#include "dialogs/ui/frm_time_popup.h"
#include "gui_testing.h"
#include "widgets/analog_clock.h"

using namespace vistrel;
using dialogs::HourMinute;
using dialogs::TfrmTimePopup;
using testing::child;

class TimePickerTest : public QObject {
  Q_OBJECT

  host::FixedClock clock_{46000 + host::encodeTime(15, 7, 0)};
  host::Locale us_;

 private slots:
  void pointerFollowsTheStripAndTheBox() {
    TfrmTimePopup picker(clock_, us_);
    picker.setTime({13, 47});
    QCOMPARE(picker.pointer(), 290);
    QCOMPARE(child<QLabel>(&picker, "imTop")->x(), 293);
    QCOMPARE(child<widgets::AnalogClock>(&picker, "Clock1")->minute(), 47);

    QTest::mousePress(child<QLabel>(&picker, "Image1"), Qt::LeftButton, {}, QPoint(290, 20));
    QCOMPARE(picker.time(), (HourMinute{13, 45}));
    QVERIFY(child<QLabel>(&picker, "pnlTime")->isVisibleTo(&picker));
    QCOMPARE(child<QLabel>(&picker, "pnlTime")->text(), QStringLiteral("1:45 PM"));
    QTest::mouseRelease(child<QLabel>(&picker, "Image1"), Qt::LeftButton, {}, QPoint(290, 20));
    QVERIFY(!child<QLabel>(&picker, "pnlTime")->isVisibleTo(&picker));

    picker.stripPress(-3);  // left of the strip: nothing changes
    QCOMPARE(picker.time(), (HourMinute{13, 45}));
    picker.stripMove(7);  // dragged to the far left
    QCOMPARE(picker.time(), (HourMinute{0, 0}));
    picker.stripMove(487);  // 23:57
    QCOMPARE(picker.time(), (HourMinute{0, 0}));
    picker.stripRelease();
  }

  void keysAndNow() {
    TfrmTimePopup picker(clock_, us_);
    auto* box = child<QTimeEdit>(&picker, "dtTime");
    picker.setTime({10, 0});
    QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(picker.time(), (HourMinute{9, 59}));
    QTest::keyClick(box, Qt::Key_Up);
    QCOMPARE(picker.time(), (HourMinute{10, 0}));
    picker.setTime({23, 10});
    QTest::keyClick(box, Qt::Key_PageUp);
    QCOMPARE(picker.time(), (HourMinute{23, 10}));
    QTest::keyClick(child<QPushButton>(&picker, "btOK"), Qt::Key_Home);
    QCOMPARE(picker.time(), (HourMinute{15, 7}));
    QCOMPARE(child<QPushButton>(&picker, "sbNow")->text(), QStringLiteral("It is 3:07 PM"));
  }

  void stripFollowsTheLocale() {
    host::Locale h24;
    h24.clock24 = true;
    TfrmTimePopup twelve(clock_, us_);
    QVERIFY(child<QLabel>(&twelve, "Image1")->isVisibleTo(&twelve));
    TfrmTimePopup twentyFour(clock_, h24);
    QVERIFY(!child<QLabel>(&twentyFour, "Image1")->isVisibleTo(&twentyFour));
    QVERIFY(child<QLabel>(&twentyFour, "im24")->isVisibleTo(&twentyFour));
  }

  void executeReturnsTheConditionText() {
    QTimer::singleShot(0, [] {
      QWidget* w = QApplication::activeModalWidget();
      if (w == nullptr) qFatal("no picker");
      static_cast<TfrmTimePopup*>(w)->stripPress(280);
      static_cast<TfrmTimePopup*>(w)->stripRelease();
      child<QPushButton>(w, "btOK")->click();
    });
    QCOMPARE(TfrmTimePopup::execute("8:00 AM", clock_, us_), std::optional<std::string>("1:10:00 PM"));
    QTimer::singleShot(0, [] { child<QPushButton>(QApplication::activeModalWidget(), "btCancel")->click(); });
    QCOMPARE(TfrmTimePopup::execute("unreadable", clock_, us_), std::optional<std::string>());
  }
};

QTEST_MAIN(TimePickerTest)
#include "time_picker_test.moc"
