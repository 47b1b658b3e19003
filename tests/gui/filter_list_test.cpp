// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QInputDialog>
#include <QLineEdit>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <set>

#include "filter/compiled_filter.h"
#include "filter/filter_session.h"
#include "filter/filter_store.h"
#include "filter/filter_text.h"
#include "filter/ui/frm_flt_pick.h"
#include "host/engine.h"
#include "host/ui/messages.h"
#include "host/table.h"
#include "host/tallis_schema.h"
#include "testing.h"

using vistrel::filter::CompiledFilter;
using vistrel::filter::TfrmFltPick;
using vistrel::host::ScopedMessageRecorder;
namespace host = vistrel::host;
namespace filter = vistrel::filter;

namespace {

const std::string kLong60 = std::string(50, 'L') + "0123456789";

// Users DEM and ABC; database Seven with 7 contacts and Many with 25; filters
// of both users, one of them 60 characters long.
struct Data {
  vistrel::testing::TempDir dir;
  host::Engine engine;
  host::FixedClock clock{45427.0};
  Data() {
    host::Engine::createDataDirectory(dir.path());
    engine.setAlias(host::kTallisAlias, dir.path());
    for (auto w : {host::TablePassword::kUsers, host::TablePassword::kContacts, host::TablePassword::kFilters}) {
      engine.addPassword(host::tallisTablePassword(w));
    }
    host::createTallisTables(engine, host::kTallisAlias);
    host::Table users(engine, "TALDB", "USERPREF.DB");
    users.open();
    for (const char* who : {"ABC", "DEM"}) {
      users.insert();
      users.fieldByName("Who")->setText(who);
      users.post();
    }
    host::Table contacts(engine, "TALDB", "CONTACT.DB");
    contacts.open();
    for (int i = 0; i < 32; ++i) {
      contacts.insert();
      contacts.fieldByName("Recno")->setText("R" + std::to_string(i));
      contacts.fieldByName("DB")->setText(i < 7 ? "Seven" : "Many");
      contacts.fieldByName("LastName")->setText(i % 2 ? "Odd" : "Even");
      contacts.post();
    }
    filter::FilterLine even;
    even.field = "Last Name";
    even.condition = 5;
    even.value = "even";
    const std::string text = filter::joinMemoLines({filter::writeFilterLine(even)});
    for (const auto& [name, who] : std::vector<std::pair<std::string, std::string>>{
             {"Even", "DEM"}, {kLong60, "DEM"}, {"Theirs", "ABC"}}) {
      filter::addFilter(engine, {name, "Seven", who, "CONTACT", text, ""}, clock);
    }
  }
};

QPushButton* button(QWidget& w, const char* name) {
  auto* b = w.findChild<QPushButton*>(QString::fromLatin1(name));
  if (b == nullptr) qFatal("no button %s", name);
  return b;
}

QString text(QWidget& w, const char* name) { return w.findChild<QLabel*>(QString::fromLatin1(name))->text(); }

void selectRow(TfrmFltPick& w, const std::string& shortname) {
  for (std::size_t i = 0; i < w.rows().size(); ++i) {
    if (w.rows()[i].shortname == shortname) w.grid()->selectRow(static_cast<int>(i));
  }
}

}  // namespace

class FilterListTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    session_.CurrentWho = "DEM";
    session_.activeFilter.deactivate();
  }

  void startsOnTheLoggedInUsersFilters() {
    Data d;
    TfrmFltPick w(d.engine, session_);
    auto* users = w.findChild<QComboBox*>(QStringLiteral("cbUsers"));
    QCOMPARE(users->currentText(), QStringLiteral("DEM"));
    QCOMPARE(users->itemText(0), QStringLiteral("All users"));
    QCOMPARE(text(w, "lblTitle"), QStringLiteral("2 Filters"));
    users->setCurrentIndex(0);
    w.cbUsersClick();
    QCOMPARE(text(w, "lblTitle"), QStringLiteral("3 Filters"));

    session_.CurrentWho = "XYZ";  // a user with no filters sees an empty view
    TfrmFltPick other(d.engine, session_);
    QCOMPARE(other.findChild<QComboBox*>(QStringLiteral("cbUsers"))->currentIndex(), -1);
    users = other.findChild<QComboBox*>(QStringLiteral("cbUsers"));
    users->setCurrentIndex(users->findText(QStringLiteral("ABC")));
    other.cbUsersClick();
    QCOMPARE(text(other, "lblTitle"), QStringLiteral("1 Filters"));
    QVERIFY(button(other, "btActivate")->isEnabled());
  }

  void anEmptyViewDisablesWhatNeedsARow() {
    Data d;
    for (const char* name : {"Even", kLong60.c_str(), "Theirs"}) filter::deleteFilter(d.engine, name);
    TfrmFltPick w(d.engine, session_);
    for (const char* b : {"btActivate", "btDeactivate", "btReverse", "Btcount", "btDelete", "btEdit"}) {
      QVERIFY2(!button(w, b)->isEnabled(), b);
    }
    QVERIFY(button(w, "btAdd")->isEnabled());
  }

  void activateReverseNamesTheFilterWithNot() {
    Data d;
    CompiledFilter& compiled = session_.activeFilter;
    TfrmFltPick w(d.engine, session_);
    w.setClock(d.clock);
    w.selectinit("Seven");
    QVERIFY(!w.findChild<QFrame*>(QStringLiteral("pnlYellow"))->isVisibleTo(&w));
    selectRow(w, "Even");
    w.BtReverseClick();
    QVERIFY(compiled.active());
    QVERIFY(compiled.reverse());
    QCOMPARE(text(w, "PFiltername"), QStringLiteral("Activated filter:[NOT] Even"));
    QVERIFY(w.findChild<QFrame*>(QStringLiteral("pnlYellow"))->isVisibleTo(&w));
    QCOMPARE(w.result(), int(QDialog::Accepted));
    w.BtDeactivateClick();
    QCOMPARE(text(w, "PFiltername"), QStringLiteral("Activated filter:None"));
  }

  // A stored filter that activation refuses (here a category row that does
  // not compile, written by another program) says why, and neither Activate
  // nor Count leaves it active.
  void aRefusedFilterSaysWhyAndStaysInactive() {
    Data d;
    filter::FilterLine bad{"Contact", "Category", 11, "A AND(B)", false, false, false, false, 0, 0, 0};
    const std::string stored = filter::joinMemoLines({filter::writeFilterLine(bad)});
    filter::addFilter(d.engine, {"Broken", "Seven", "DEM", "CONTACT", stored, ""}, d.clock);
    TfrmFltPick w(d.engine, session_);
    w.setClock(d.clock);
    w.selectinit("Seven");
    ScopedMessageRecorder messages;
    for (void (TfrmFltPick::*press)() : {&TfrmFltPick::BtActivateClick, &TfrmFltPick::BtcountClick}) {
      messages.clear();
      selectRow(w, "Broken");
      (w.*press)();
      QCOMPARE(QString::fromStdString(messages.lastText()), QStringLiteral("Criteria 1: A was unexpected in A AND(B)"));
      QVERIFY(!session_.activeFilter.active());
      QCOMPARE(text(w, "PFiltername"), QStringLiteral("Activated filter:None"));
    }
  }

  // What the panels show while a count runs, read whenever the count lets
  // the window work.
  void countShowsItsFiguresEveryTenContacts_data() {
    QTest::addColumn<QString>("database");
    QTest::addColumn<QStringList>("seen");
    QTest::addColumn<QString>("active");
    QTest::addRow("7 contacts") << "Seven" << QStringList{"7"} << "4";
    QTest::addRow("25 contacts") << "Many" << QStringList{"10", "20", "25"} << "12";
  }
  void countShowsItsFiguresEveryTenContacts() {
    QFETCH(QString, database);
    QFETCH(QStringList, seen);
    QFETCH(QString, active);
    Data d;
    CompiledFilter& compiled = session_.activeFilter;
    TfrmFltPick w(d.engine, session_);
    w.setClock(d.clock);
    w.selectinit(database.toStdString());
    w.setLoopInterval(0);
    selectRow(w, "Even");
    QStringList totals;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
      const QString t = text(w, "pnlTotal");
      if (t != QStringLiteral("0") && (totals.isEmpty() || totals.last() != t)) totals << t;
    });
    watch.start(0);
    w.BtcountClick();
    QCOMPARE(totals, seen);
    QCOMPARE(text(w, "pnlActive"), active);
    QVERIFY(!compiled.active());
    QCOMPARE(button(w, "Btcount")->text(), QStringLiteral("&Count"));
    QVERIFY(button(w, "btActivate")->isEnabled());
  }

  void aSecondCountPressAbortsTheCount() {
    Data d;
    CompiledFilter& compiled = session_.activeFilter;
    TfrmFltPick w(d.engine, session_);
    w.selectinit("Many");
    w.setLoopInterval(0);
    selectRow(w, "Even");
    bool sawAbortCaption = false;
    QTimer press;
    QObject::connect(&press, &QTimer::timeout, [&] {
      if (!w.counting()) return;
      sawAbortCaption = button(w, "Btcount")->text() == QStringLiteral("&Abort count");
      QVERIFY(!button(w, "btActivate")->isEnabled());
      w.BtcountClick();
    });
    press.start(0);
    w.BtcountClick();
    QVERIFY(sawAbortCaption);
    QCOMPARE(text(w, "pnlTotal"), QStringLiteral("10"));  // no final figures
    QVERIFY(!w.counting());
    QVERIFY(!compiled.active());
  }

  // While a count runs nothing but Abort acts: Copy, Delete, Edit and
  // Activate (as buttons or from the menu) do nothing, and Escape stops the
  // count before the window closes.
  void duringACountOnlyAbortActsAndEscapeStopsItFirst() {
    Data d;
    TfrmFltPick w(d.engine, session_);
    w.setClock(d.clock);
    w.selectinit("Many");
    w.setLoopInterval(0);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    selectRow(w, "Even");
    int asked = 0;
    w.setInputBox([&](const QString&, const QString&, const QString&) {
      ++asked;
      return std::optional<std::string>("Even 2");
    });
    ScopedMessageRecorder messages;
    bool acted = false;
    QTimer during;
    QObject::connect(&during, &QTimer::timeout, [&] {
      if (!w.counting() || acted) return;
      acted = true;
      for (QWidget* child : w.findChildren<QWidget*>()) {
        if (qobject_cast<QPushButton*>(child) != nullptr || qobject_cast<QComboBox*>(child) != nullptr ||
            child == w.grid()) {
          QVERIFY2(child->isEnabled() == (child->objectName() == QStringLiteral("Btcount")),
                   qPrintable(child->objectName()));
        }
      }
      QTest::mouseClick(button(w, "btCopy"), Qt::LeftButton);
      QTest::mouseClick(button(w, "btDelete"), Qt::LeftButton);
      for (void (TfrmFltPick::*press)() : {&TfrmFltPick::btCopyClick, &TfrmFltPick::BtDeleteClick,
                                           &TfrmFltPick::BtEditClick, &TfrmFltPick::BtActivateClick}) {
        (w.*press)();
      }
      QTest::keyClick(&w, Qt::Key_Escape);
      QVERIFY(w.isVisible());
    });
    during.start(0);
    QTest::mouseClick(button(w, "Btcount"), Qt::LeftButton);
    QVERIFY(acted);
    QCOMPARE(asked, 0);
    QVERIFY(messages.messages().empty());
    QCOMPARE(text(w, "lblTitle"), QStringLiteral("2 Filters"));
    QVERIFY(!w.isVisible());
    QCOMPARE(w.result(), int(QDialog::Rejected));
    QCOMPARE(text(w, "pnlTotal"), QStringLiteral("10"));  // stopped at its first look
    QCOMPARE(text(w, "lblCounted"), QStringLiteral("Count of Even in database Many, stopped"));
    QVERIFY(!session_.activeFilter.active());
  }

  // After a count the figures name their filter and database; the list
  // opened again shows none. A copy is where the list stands, and long
  // names are cut with the whole text as tooltip.
  void figuresNameTheirCountAndGoOnReopening() {
    Data d;
    TfrmFltPick w(d.engine, session_);
    w.setClock(d.clock);
    w.selectinit("Seven");
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(text(w, "lblCounted"), QStringLiteral("Count walks the contacts of database Seven"));
    selectRow(w, "Even");
    w.BtcountClick();
    QCOMPARE(text(w, "lblCounted"), QStringLiteral("Count of Even in database Seven"));
    QCOMPARE(text(w, "pnlActive"), QStringLiteral("4"));
    QCOMPARE(w.findChild<QWidget*>(QStringLiteral("Gauge1"))->toolTip(), QStringLiteral("57 %"));

    w.setInputBox([](const QString&, const QString&, const QString&) { return std::optional<std::string>("Odd"); });
    w.btCopyClick();
    const QModelIndexList selected = w.grid()->selectionModel()->selectedRows();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected.first().data().toString(), QStringLiteral("Odd"));

    selectRow(w, kLong60);
    w.BtActivateClick();
    QVERIFY(!w.isVisible());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(text(w, "pnlActive"), QString());
    QCOMPARE(text(w, "lblCounted"), QStringLiteral("Count walks the contacts of database Seven"));
    QCOMPARE(w.grid()->selectionModel()->selectedRows().first().data().toString(), QString::fromStdString(kLong60));
    auto* name = w.findChild<QLabel*>(QStringLiteral("PFiltername"));
    QVERIFY(name->text().endsWith(QChar(0x2026)));
    QCOMPARE(name->toolTip(), QString::fromStdString("Activated filter:" + kLong60));
    w.BtcountClick();  // a long name is cut before the database is
    auto* counted = w.findChild<QLabel*>(QStringLiteral("lblCounted"));
    QVERIFY(counted->text().endsWith(QChar(0x2026) + QStringLiteral(" in database Seven")));
    QCOMPARE(counted->toolTip(), QString::fromStdString("Count of " + kLong60 + " in database Seven"));
  }

  // The box Copy asks in shows its caption and the whole proposed name.
  void theCopyBoxIsWideEnoughForItsName() {
    Data d;
    TfrmFltPick w(d.engine, session_);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QString proposal = QString::fromStdString("Copy of " + std::string(50, 'L') + "...");
    int nameRoom = -1;
    int captionRoom = -1;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      auto* edit = box->findChild<QLineEdit*>();
      nameRoom = edit->width() - edit->fontMetrics().horizontalAdvance(proposal);
      captionRoom = box->width() - box->fontMetrics().horizontalAdvance(box->windowTitle());
      box->reject();
    });
    QCOMPARE(w.askName(QStringLiteral("Name of new filter"), QStringLiteral("Filter name"), proposal), std::nullopt);
    QVERIFY(nameRoom > 0);
    QVERIFY(captionRoom > 0);
  }

  void copyOffersTheFirstFiftyCharacters() {
    Data d;
    TfrmFltPick w(d.engine, session_);
    selectRow(w, kLong60);
    QString offered;
    w.setInputBox([&](const QString& caption, const QString& prompt, const QString& initial) {
      offered = caption + "|" + prompt + "|" + initial;
      return std::optional<std::string>("Even");  // taken: the copy fails
    });
    ScopedMessageRecorder messages;
    w.btCopyClick();
    QCOMPARE(offered, QString::fromStdString("Name of new filter|Filter name|Copy of " + std::string(50, 'L') + "..."));
    QCOMPARE(QString::fromStdString(messages.lastText()), QStringLiteral("Unable to copy filter: Description already exists in system.  Try a different one."));
    QCOMPARE(text(w, "lblTitle"), QStringLiteral("2 Filters"));
  }

  void deleteAsksFirstAndEditSaysTheEditorIsMissing() {
    Data d;
    CompiledFilter& compiled = session_.activeFilter;
    TfrmFltPick w(d.engine, session_);
    w.setClock(d.clock);
    w.selectinit("Seven");
    ScopedMessageRecorder messages;
    selectRow(w, "Even");
    messages.setNextAnswer(host::MessageAnswer::kNo);
    w.BtDeleteClick();
    QCOMPARE(QString::fromStdString(messages.lastText()), QStringLiteral("Delete filter. Are you sure?"));
    QCOMPARE(text(w, "lblTitle"), QStringLiteral("2 Filters"));
    w.BtDeleteClick();
    QCOMPARE(text(w, "lblTitle"), QStringLiteral("1 Filters"));
    w.BtEditClick();
    w.BtAddClick();
    QCOMPARE(QString::fromStdString(messages.lastText()),
             QStringLiteral("The criteria editor is not available in this version."));

    // An edit closed with OK deactivates the active filter, whichever it was.
    QVERIFY(compiled.activatethisfilter("Even", w.rows()[0].selection, "DEM", d.clock, d.engine.locale()).empty());
    w.setCriteriaEditor([](QWidget*, const filter::StoredFilter* row, const std::string&) { return row != nullptr; });
    w.BtEditClick();
    QVERIFY(!compiled.active());
  }

  void theAnimationStartsAndStopsOnAPress() {
    Data d;
    TfrmFltPick w(d.engine, session_);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* picture = w.findChild<QLabel*>(QStringLiteral("Animate1"));
    QVERIFY(!picture->pixmap().isNull());
    QTest::mouseClick(picture, Qt::LeftButton);
    QVERIFY(w.animating());
    QTest::mouseClick(picture, Qt::LeftButton);
    QVERIFY(!w.animating());
    QTest::mouseClick(picture, Qt::LeftButton);
    w.reject();
    QVERIFY(!w.animating());
  }

 private:
  filter::FilterSession session_;
};

QTEST_MAIN(FilterListTest)
#include "filter_list_test.moc"
