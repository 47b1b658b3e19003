// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>

#include "dialogs/ui/frm_flt_today.h"
#include "dialogs/ui/frm_pick_date.h"
#include "fixture_data.h"
#include "gui_testing.h"
#include "host/ui/messages.h"
#include "host/table.h"
#include "host/tallis_schema.h"
#include "testing.h"

using namespace vistrel;
using dialogs::PickDateContext;
using dialogs::Tfrmflttoday;
using dialogs::TfrmPickDate;
using testing::child;
using testing::whenModal;

namespace {

host::DateTime day(int y, int m, int d) { return *host::encodeDate(y, m, d); }

// A data directory with one holiday of the user ABC only.
struct Data {
  testing::TempDir dir;
  host::Engine engine;
  host::FixedClock clock{day(2026, 3, 10) + 0.5};
  PickDateContext context;
  Data() {
    testing::makeFixtureDataDir(dir.path());
    engine.setAlias("TALDB", dir.path());
    for (auto w : {host::TablePassword::kUsers, host::TablePassword::kContacts, host::TablePassword::kFilters}) {
      engine.addPassword(host::tallisTablePassword(w));
    }
    host::Table h(engine, "TALDB", "holiday.DB");
    if (!h.open().ok() || !h.insert().ok()) qFatal("no holiday table");
    (void)h.fieldByName("date")->setText("3/14/2026");
    (void)h.fieldByName("global")->setBoolean(false);
    (void)h.fieldByName("who")->setText("ABC");
    (void)h.fieldByName("name")->setText("Office closed");
    if (!h.post().ok()) qFatal("holiday not written");
    context = {&engine, "ABC", &clock, host::Locale()};
  }
};

}  // namespace

class DatePickersTest : public QObject {
  Q_OBJECT

 private slots:
  void calendarTextOpensWithBothBoxesAndWarnsOnOk() {
    Data data;
    host::ScopedMessageRecorder messages;
    whenModal([](QWidget* w) {
      QVERIFY(child<QCheckBox>(w, "cbIgnoreYear")->isChecked());
      QVERIFY(child<QCheckBox>(w, "cbIgnoreDay")->isChecked());
      QCOMPARE(child<QLabel>(w, "lblYear")->text(), QStringLiteral("any year"));
      QCOMPARE(child<QLabel>(w, "lblDay")->text(), QStringLiteral("any day in December"));
      child<QCheckBox>(w, "cbIgnoreDay")->click();
      child<QPushButton>(w, "btOK")->click();
    });
    const auto result = Tfrmflttoday::execute("12/25/1998 (NoYear NoDay)", data.context);
    QVERIFY(result.has_value());
    QCOMPARE(result->text, std::string("12/25/1998 (NoYear )"));
    QVERIFY(result->disregard);
    QCOMPARE(messages.lastText(), std::string(dialogs::kDisregardWarning));
  }

  void relativeSpinnersRebuildTheText() {
    Data data;
    Tfrmflttoday dialog("TODAY -2wk +1yr ", data.context);
    QCOMPARE(child<QSpinBox>(&dialog, "Spinweeks")->value(), -2);
    QCOMPARE(child<QSpinBox>(&dialog, "SpinYears")->value(), 1);
    QVERIFY(!child<QWidget>(&dialog, "pnlTop")->isVisibleTo(&dialog));
    child<QSpinBox>(&dialog, "Spindays")->setValue(5);
    QCOMPARE(child<QLabel>(&dialog, "pnlAnswer")->text(), QStringLiteral("TODAY +5dy -2wk +1yr "));
    QCOMPARE(child<QLabel>(&dialog, "lblComputeDate")->text(), QStringLiteral("Mon 3/1/2027"));
    child<QSpinBox>(&dialog, "SpinYears")->setValue(-96);
    QCOMPARE(child<QSpinBox>(&dialog, "SpinYears")->value(), -95);
  }

  // Switching mode, checking a box or spinning to the longest text never
  // moves the buttons under the pointer, and the caption is not cut.
  void oneSizeWhateverIsShownAndRoomForTheCaption() {
    Data data;
    Tfrmflttoday dialog("TODAY -2wk ", data.context);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const auto size = [&dialog] {
      dialog.layout()->activate();
      return dialog.size();
    };
    const QSize first = size();
    QFont caption = dialog.font();
    caption.setBold(true);
    QVERIFY(first.width() > QFontMetrics(caption).horizontalAdvance(dialog.windowTitle()) + 60);
    child<QSpinBox>(&dialog, "Spindays")->setValue(-365);
    child<QSpinBox>(&dialog, "Spinmonths")->setValue(-48);
    child<QSpinBox>(&dialog, "SpinYears")->setValue(200);
    QCOMPARE(size(), first);
    child<QRadioButton>(&dialog, "rbDate")->click();
    QCOMPARE(size(), first);
    child<QCheckBox>(&dialog, "cbIgnoreDay")->click();
    child<QCheckBox>(&dialog, "cbIgnoreYear")->click();
    QCOMPARE(child<QLabel>(&dialog, "lblDay")->text(), QStringLiteral("any day in March"));
    QCOMPARE(size(), first);
  }

  void switchToRelativeReturnsTodayWithoutTheBoxes() {
    Data data;
    host::ScopedMessageRecorder messages;
    whenModal([](QWidget* w) {
      child<QRadioButton>(w, "rbRelative")->click();
      child<QPushButton>(w, "btOK")->click();
    });
    const auto result = Tfrmflttoday::execute("3/4/2020 (NoYear )", data.context);
    QVERIFY(result.has_value());
    QCOMPARE(result->text, std::string("TODAY"));
    QVERIFY(!result->disregard);
    QVERIFY(messages.messages().empty());
  }

  void calendarPickedThroughTheDatePicker() {
    Data data;
    Tfrmflttoday dialog("12/25/1998", data.context);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    whenModal([](QWidget* w) {
      auto* picker = qobject_cast<TfrmPickDate*>(w);
      QVERIFY(picker != nullptr);
      QCOMPARE(picker->date(), day(1998, 12, 25));
      picker->y11Click(2000);
      child<QComboBox>(w, "cbMonth")->setCurrentIndex(1);
      picker->cbMonthClick(1);
      QTest::keyClick(child<QCalendarWidget>(w, "Calendar"), Qt::Key_Return);
    });
    dialog.popStartDateClick();
    QCOMPARE(dialog.model().dateText(), std::string("2/25/2000"));
    QCOMPARE(child<QLabel>(&dialog, "lblMonth")->text(), QStringLiteral("February"));
  }

  void datePickerMovesAndHolidays() {
    Data data;
    TfrmPickDate picker(data.context);
    picker.setDate(day(2026, 3, 14));
    QCOMPARE(child<QLabel>(&picker, "lblDate")->text(), QStringLiteral("Office closed"));
    auto* who = child<QComboBox>(&picker, "cbWho");
    QCOMPARE(who->currentText(), QStringLiteral("ABC"));
    who->setCurrentText(QStringLiteral("DEM"));
    picker.cbWhoClick();
    QCOMPARE(child<QLabel>(&picker, "lblDate")->text(), QStringLiteral("Saturday, March 14, 2026"));

    picker.setDate(day(2000, 2, 29));
    picker.y11Click(2001);
    QCOMPARE(picker.date(), day(2001, 2, 1));
    picker.setDate(day(2001, 1, 31));
    child<QSpinBox>(&picker, "nDays")->setValue(1);
    child<QRadioButton>(&picker, "rbMonths")->setChecked(true);
    picker.btGoClick();
    QCOMPARE(picker.date(), day(2001, 2, 28));
    picker.YearSpinnerClick(true);
    QCOMPARE(picker.date(), day(2001, 3, 1));
    QTest::keyClick(child<QCalendarWidget>(&picker, "Calendar")->findChild<QWidget*>(QStringLiteral("qt_calendar_calendarview")),
                    Qt::Key_Home);
    QCOMPARE(picker.date(), day(2026, 3, 10));
  }

  void datePickerStartAndCancel() {
    Data data;
    data.context.engine = nullptr;  // no tables: no holidays, the current user alone
    whenModal([&](QWidget* w) {
      QCOMPARE(qobject_cast<TfrmPickDate*>(w)->date(), day(2026, 3, 10));
      child<QToolButton>(w, "btnCancel")->click();
    });
    QCOMPARE(TfrmPickDate::pickDate(nullptr, -4, data.context), -4.0);
  }
};

QTEST_MAIN(DatePickersTest)
#include "date_pickers_test.moc"
