// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <memory>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "dialogs/ui/frm_filter_contact.h"
#include "filter/filter_session.h"
#include "fixture_data.h"
#include "filter/filter_store.h"
#include "filter/ui/frm_flt_pick.h"
#include "geo/tally.h"
#include "geo/ui/frm_about.h"
#include "geo/ui/frm_main.h"
#include "geo/ui/frm_usa.h"
#include "host/engine.h"
#include "host/session.h"
#include "host/ui/messages.h"
#include "host/tallis_schema.h"
#include "host/ui/help_viewer.h"
#include "host/ui/table_model.h"
#include "testing.h"
#include "widgets/sortable_grid.h"

using vistrel::geo::TFrmMain;
using vistrel::geo::TFrmUSA;
using vistrel::host::ScopedMessageRecorder;

namespace {

// The contacts' password is left out when `contactsPassword` is false.
struct Data : vistrel::testing::FixtureEngine {
  using Password = vistrel::host::TablePassword;
  explicit Data(bool contactsPassword = true)
      : FixtureEngine(contactsPassword ? std::vector{Password::kUsers, Password::kContacts}
                                       : std::vector{Password::kUsers}) {}
  // The windows' session, with its active filter (in place of the fixture's).
  vistrel::filter::FilterSession session;
};

QPushButton* button(QWidget& w, const QString& name) {
  auto* b = w.findChild<QPushButton*>(name);
  if (b == nullptr) qFatal("no button %s", qPrintable(name));
  return b;
}

void show(QWidget& w) {
  w.show();
  if (!QTest::qWaitForWindowExposed(&w)) qFatal("window not exposed");
}

// Clicks the grid row of a database.
void pickDatabase(TFrmMain& w, const QString& name) {
  vistrel::host::TableModel* model = w.databaseModel();
  for (int r = 0; r < model->rowCount(); ++r) {
    if (model->text(0, r) != name) continue;
    QTableView* grid = w.databaseGrid();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(model->index(r, 0)).center());
    return;
  }
  qFatal("no database %s", qPrintable(name));
}

// The database the grid highlights; its selected row and its current row
// must be the same one.
QString highlightedDatabase(TFrmMain& w) {
  const QItemSelectionModel* sm = w.databaseGrid()->selectionModel();
  const QModelIndexList selected = sm->selectedRows();
  const int current = sm->currentIndex().row();
  if (selected.size() != 1 || selected.first().row() != current) return QStringLiteral("<current row not selected>");
  return w.databaseModel()->text(0, current);
}

// What a modal result window showed before the timer closed it.
struct ResultSeen {
  bool inspected = false;  // the look has been taken, window or not
  bool opened = false;
  QString title;
  QString heading;
  QStringList values;
  QString others;
};

void inspectResultWindowWhenShown(ResultSeen& seen) {
  seen.inspected = false;
  QTimer::singleShot(0, [&seen] {
    seen.inspected = true;
    auto* w = qobject_cast<TFrmUSA*>(QApplication::activeModalWidget());
    if (w == nullptr) return;
    seen.opened = true;
    seen.title = w->findChild<QLabel*>(QStringLiteral("LblTitle"))->text();
    const vistrel::widgets::SortableGrid* grid = w->grid();
    seen.heading = grid->cell(0, 0);
    for (int r = 1; r < grid->rowCount(); ++r) seen.values << grid->cell(0, r);
    if (auto* others = w->findChild<QPushButton*>(QStringLiteral("BtnOthers")); others != nullptr) {
      seen.others = others->text();
    }
    w->reject();
  });
}

// Runs the events until the look armed before a click has been taken: a
// result window would have been up by then.
void waitForInspection(const ResultSeen& seen) {
  while (!seen.inspected) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void looksAsStored();
  void analysesListTheValuesOfThePickedDatabase_data();
  void analysesListTheValuesOfThePickedDatabase();
  void anEmptyResultIsToldAndOpensNoWindow();
  void tableErrorsAreToldNotCrashedOn();
  void aboutShowsTheVersionAndTheProgramDate();
  void helpOpensTheMainWindowPage();
  void anActiveFilterNarrowsTheTallyAndHoldsTheDatabase_data();
  void anActiveFilterNarrowsTheTallyAndHoldsTheDatabase();
  void aFilterWrittenInTheEditorIsListedActivatedAndDeactivatedByItsEdit();
  void theFilterLineNamesAReversedFilterWholeOrCutWithATooltip();
};

void MainWindowTest::anActiveFilterNarrowsTheTallyAndHoldsTheDatabase_data() {
  QTest::addColumn<bool>("byKey");
  QTest::newRow("click on another database") << false;
  QTest::newRow("Up in the list") << true;
}

// The list always shows the database the figures come from: a refused switch
// puts the highlight back, and it stays right after Deactivate.
void MainWindowTest::anActiveFilterNarrowsTheTallyAndHoldsTheDatabase() {
  QFETCH(bool, byKey);
  namespace filter = vistrel::filter;
  Data data;
  data.engine.addPassword(vistrel::host::tallisTablePassword(vistrel::host::TablePassword::kFilters));
  const vistrel::host::FixedClock clock(45427.0);
  const std::string texas =
      "database(Contact) field(State) condition(5) value(tx) casebox(FALSE) yearbox(FALSE) daybox(FALSE) "
      "punctbox(FALSE) openpara(0) closepara(0) and(2)\r\n"
      "database(Contact) field(State) condition(5) value(Texas) casebox(FALSE) yearbox(FALSE) daybox(FALSE) "
      "punctbox(FALSE) openpara(0) closepara(0) and(0)\r\n";
  QVERIFY(filter::addFilter(data.engine, {"Texas", "Sales", "DEM", "CONTACT", texas, ""}, clock).ok());
  data.session.CurrentWho = "DEM";
  TFrmMain w(data.engine, data.session);
  filter::TfrmFltPick list(data.engine, data.session, &w);
  w.setFilterList(&list);
  show(w);
  pickDatabase(w, QStringLiteral("Sales"));
  QVERIFY(!button(w, QStringLiteral("btFilter"))->icon().isNull());
  const auto stateValues = [&w] {
    ResultSeen seen;
    inspectResultWindowWhenShown(seen);
    QTest::mouseClick(button(w, QStringLiteral("BtnState")), Qt::LeftButton);
    return seen.values;
  };
  const QStringList allOfSales{"CA", "CO", "FL", "IL", "MA", "ON", "TX"};

  QTimer::singleShot(0, [&list] { list.BtActivateClick(); });
  w.btFilterClick();
  QCOMPARE(w.findChild<QLabel*>(QStringLiteral("LblFilter"))->text(), QStringLiteral("Activated filter : Texas"));
  QCOMPARE(stateValues(), QStringList{"TX"});

  ScopedMessageRecorder messages;
  if (byKey) {
    QTest::keyClick(w.databaseGrid(), Qt::Key_Up);
  } else {
    pickDatabase(w, QStringLiteral("Clients"));
  }
  QCOMPARE(QString::fromStdString(messages.lastText()),
           QStringLiteral("Filter Activated. To swicth databases, deactivate filter first."));
  QCOMPARE(messages.messages().size(), std::size_t(1));
  QCoreApplication::processEvents();
  QCOMPARE(highlightedDatabase(w), QStringLiteral("Sales"));
  QCOMPARE(stateValues(), QStringList{"TX"});
  QCOMPARE(QString::fromStdString(data.session.CurrentDB), QStringLiteral("Sales"));

  QTimer::singleShot(0, [&list] { list.BtDeactivateClick(); });
  w.btFilterClick();
  QCOMPARE(w.findChild<QLabel*>(QStringLiteral("LblFilter"))->text(),
           QStringLiteral("No filters activated.  All contacts selected."));
  QCOMPARE(highlightedDatabase(w), QStringLiteral("Sales"));
  QCOMPARE(stateValues(), allOfSales);
  // Without a filter the switch goes through.
  pickDatabase(w, QStringLiteral("Clients"));
  QCOMPARE(highlightedDatabase(w), QStringLiteral("Clients"));
  QCOMPARE(stateValues(), QStringList{"WA"});
  QCOMPARE(messages.messages().size(), std::size_t(1));
  w.close();
  QVERIFY(!data.session.activeFilter.active());
}

void MainWindowTest::aFilterWrittenInTheEditorIsListedActivatedAndDeactivatedByItsEdit() {
  namespace filter = vistrel::filter;
  namespace dialogs = vistrel::dialogs;
  Data data;
  data.engine.addPassword(vistrel::host::tallisTablePassword(vistrel::host::TablePassword::kFilters));
  data.session.CurrentWho = "DEM";
  TFrmMain w(data.engine, data.session);
  filter::TfrmFltPick list(data.engine, data.session, &w);
  w.setFilterList(&list);
  // The editor's pickers answer nothing: the fields come through its seam.
  std::function<void(dialogs::TfrmFilterContact&)> fill;
  list.setCriteriaEditor(dialogs::criteriaEditorFor(data.engine, data.session, [&fill](dialogs::TfrmFilterContact& e) {
    struct NoPickers : dialogs::CriteriaPickers {
      std::optional<std::string> pickField(QWidget*, std::string_view) override { return std::nullopt; }
      dialogs::ConditionPick pickCondition(QWidget*, dialogs::ConditionPicker, std::string_view,
                                           const dialogs::PickerContext&) override {
        return {};
      }
    };
    e.setPickers(std::make_unique<NoPickers>());
    QTimer::singleShot(0, &e, [&e, &fill] { fill(e); });
  }));
  const auto choose = [](QComboBox* box, const char* text) {
    box->setCurrentIndex(box->findText(QString::fromLatin1(text)));
    emit box->activated(box->currentIndex());
  };
  const auto type = [](QLineEdit* box, const char* text) {
    box->setText(QString::fromLatin1(text));
    emit box->textEdited(box->text());
  };
  show(w);
  pickDatabase(w, QStringLiteral("Sales"));

  // (State equals TX Or State equals CA) And City is not blank
  fill = [&](dialogs::TfrmFilterContact& e) {
    e.findChild<QLineEdit*>(QStringLiteral("edDescript"))->setText(QStringLiteral("Texas or California"));
    e.findChild<QCheckBox*>(QStringLiteral("cbAdvanced"))->click();
    const char* lines[][4] = {{"(", "State", "TX", "Or"}, {"", "State", "CA", "And"}, {"", "City", "", ""}};
    for (int n = 1; n <= 3; ++n) {
      choose(e.cbOpen(n), lines[n - 1][0]);
      e.setFieldBoxText(n, QString::fromLatin1(lines[n - 1][1]));
      choose(e.cbRel(n), n < 3 ? "equals" : "is not blank");
      if (n < 3) type(e.Edit(n), lines[n - 1][2]);
      if (n < 3) choose(e.cbAnd(n), lines[n - 1][3]);
    }
    choose(e.cbClose(2), ")");
    QTest::mouseClick(e.findChild<QPushButton*>(QStringLiteral("btOK")), Qt::LeftButton);
  };
  // A filter listed before the new one: Activate takes the row the list stands on.
  const vistrel::host::FixedClock clock(45427.0);
  QVERIFY(filter::addFilter(data.engine, {"Boston", "Sales", "DEM", "CONTACT", "", ""}, clock).ok());
  QStringList listed;
  QTimer::singleShot(0, [&] {
    list.BtAddClick();
    for (const auto& row : list.rows()) listed << QString::fromStdString(row.shortname);
    list.BtActivateClick();  // the list stands on the new filter
  });
  w.btFilterClick();
  QCOMPARE(listed, (QStringList{"Boston", "Texas or California"}));
  QCOMPARE(w.findChild<QLabel*>(QStringLiteral("LblFilter"))->text(),
           QStringLiteral("Activated filter : Texas or California"));
  ResultSeen seen;
  inspectResultWindowWhenShown(seen);
  w.BtnZipClick(vistrel::geo::Analysis::kState);
  QCOMPARE(seen.values, (QStringList{"ca", "TX"}));  // Ford of Los Angeles, Hall of Austin

  // The stored lines come back into the editor; OK on them deactivates.
  QString reloaded;
  fill = [&](dialogs::TfrmFilterContact& e) {
    reloaded = e.Edfield(3)->text() + QLatin1Char(' ') + e.cbRel(3)->currentText();
    QTest::mouseClick(e.findChild<QPushButton*>(QStringLiteral("btOK")), Qt::LeftButton);
  };
  QTimer::singleShot(0, [&list] {
    list.BtEditClick();
    list.reject();
  });
  w.btFilterClick();
  QCOMPARE(reloaded, QStringLiteral("City is not blank"));
  QCOMPARE(w.findChild<QLabel*>(QStringLiteral("LblFilter"))->text(),
           QStringLiteral("No filters activated.  All contacts selected."));
  w.close();
}

void MainWindowTest::theFilterLineNamesAReversedFilterWholeOrCutWithATooltip() {
  namespace filter = vistrel::filter;
  const QString longName = QStringLiteral(
      "Texas and Florida contacts who bought in the spring and asked for a visit, in the western sales");
  Data data;
  data.engine.addPassword(vistrel::host::tallisTablePassword(vistrel::host::TablePassword::kFilters));
  const vistrel::host::FixedClock clock(45427.0);
  const std::string definition =
      "database(Contact) field(State) condition(5) value(TX) casebox(FALSE) yearbox(FALSE) daybox(FALSE) "
      "punctbox(FALSE) openpara(0) closepara(0) and(0)\r\n";
  for (const QString& name : {QStringLiteral("Texas"), longName}) {
    QVERIFY(filter::addFilter(data.engine, {name.toStdString(), "Sales", "DEM", "CONTACT", definition, ""}, clock).ok());
  }
  data.session.CurrentWho = "DEM";
  TFrmMain w(data.engine, data.session);
  filter::TfrmFltPick list(data.engine, data.session, &w);
  w.setFilterList(&list);
  show(w);
  auto* line = w.findChild<QLabel*>(QStringLiteral("LblFilter"));
  for (int row : {1, 0}) {  // the long name, then Texas
    QTimer::singleShot(0, [&list, row] {
      list.grid()->selectRow(row);
      list.BtReverseClick();
    });
    w.btFilterClick();
    const QString full = QStringLiteral("Activated filter : [NOT] ") + (row == 1 ? longName : QStringLiteral("Texas"));
    if (row == 0) {
      QCOMPARE(line->text(), full);
      QVERIFY(line->toolTip().isEmpty());
      continue;
    }
    QCOMPARE(line->toolTip(), full);
    QVERIFY2(line->text().endsWith(QChar(0x2026)), qPrintable(line->text()));
    const QRect needed = line->fontMetrics().boundingRect(line->contentsRect(), Qt::TextWordWrap, line->text());
    QVERIFY2(needed.height() <= line->height() && needed.width() <= line->width(), qPrintable(line->text()));
  }
}

void MainWindowTest::looksAsStored() {
  Data data;
  ScopedMessageRecorder messages;
  TFrmMain w(data.engine, data.session);
  QVERIFY(messages.messages().empty());
  QCOMPARE(QString::fromStdString(data.session.CurrentDB), QStringLiteral("Clients"));
  show(w);
  QCOMPARE(w.windowTitle(), QStringLiteral("Vistrel Pro"));
  QCOMPARE(w.findChild<QLabel*>(QStringLiteral("LblTitle"))->text(), QStringLiteral("Vistrel Pro"));
  auto* american = w.findChild<QLabel*>(QStringLiteral("LblAmerican"));
  QCOMPARE(american->text(), QStringLiteral("American Version"));
  QVERIFY(american->font().italic());
  QCOMPARE(w.size(), QSize(541, 402));
  QCOMPARE(w.minimumSize(), w.maximumSize());
  QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));

  const QStringList names{"BtnZip", "BtnCity", "BtnState", "BtnCountry", "BtnHelp", "BtnAbout", "BtnClose"};
  const QStringList captions{"&Zip Code Analysis", "&City Analysis", "S&tate Analysis", "C&ountry Analysis",
                             "&Help", "&About", "E&xit"};
  int top = -1;
  for (int i = 0; i < names.size(); ++i) {
    QPushButton* b = button(w, names[i]);
    QCOMPARE(b->text(), captions[i]);
    QVERIFY2(b->y() > top, "top to bottom");
    top = b->y();
  }
  QVERIFY(button(w, QStringLiteral("btFilter"))->isVisible());
  QCOMPARE(button(w, QStringLiteral("btFilter"))->text(), QStringLiteral("&Select a filter"));
  QCOMPARE(w.findChild<QLabel*>(QStringLiteral("LblFilter"))->text(), QStringLiteral("No Filters Selected"));

  QTableView* grid = w.databaseGrid();
  QCOMPARE(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Description"));
  QCOMPARE(grid->selectionModel()->currentIndex().row(), 0);
}

void MainWindowTest::analysesListTheValuesOfThePickedDatabase_data() {
  QTest::addColumn<QString>("button");
  QTest::addColumn<QString>("title");
  QTest::addColumn<QString>("heading");
  QTest::addColumn<QStringList>("values");
  QTest::addColumn<QString>("others");
  QTest::newRow("zip code") << "BtnZip" << "American Zip Code Analysis" << "Zip Code"
                            << QStringList{"02134", "33101", "60614", "80202", "90001", "90210", "92101"}
                            << "Others (4)";
  QTest::newRow("city") << "BtnCity" << "American City Analysis" << "City"
                        << QStringList{"Austin, TX", "BOSTON, MA", "Chicago, IL", "Dallas, TX", "Denver, CO",
                                       "Los Angeles, ca", "Miami, FL", "San Diego, CA", "Toronto, ON",
                                       "Windsor, ON"}
                        << "";
  QTest::newRow("state") << "BtnState" << "United States Analysis" << "State"
                         << QStringList{"CA", "CO", "FL", "IL", "MA", "ON", "TX"} << "";
  QTest::newRow("country") << "BtnCountry" << "Country Analysis" << "Country"
                           << QStringList{"America", "Canada", "Germany", "U.S.A", "U.S.A.", "United States", "US",
                                          "usa"}
                           << "";
}

void MainWindowTest::analysesListTheValuesOfThePickedDatabase() {
  QFETCH(QString, button);
  QFETCH(QString, title);
  QFETCH(QString, heading);
  QFETCH(QStringList, values);
  QFETCH(QString, others);
  Data data;
  ScopedMessageRecorder messages;
  TFrmMain w(data.engine, data.session);
  show(w);
  pickDatabase(w, QStringLiteral("Sales"));

  ResultSeen seen;
  inspectResultWindowWhenShown(seen);
  QTest::mouseClick(::button(w, button), Qt::LeftButton);
  QVERIFY(seen.opened);
  QCOMPARE(seen.title, title);
  QCOMPARE(seen.heading, heading);
  QCOMPARE(seen.values, values);
  if (!others.isEmpty()) QCOMPARE(seen.others, others);
  QVERIFY(messages.messages().empty());
  QCOMPARE(QString::fromStdString(data.session.CurrentDB), QStringLiteral("Sales"));
  QVERIFY2(w.findChildren<TFrmUSA*>().isEmpty(), "the result window is gone after it closes");
  QVERIFY(!w.busy());
  QVERIFY(!QApplication::overrideCursor());
  QVERIFY(w.tables().contacts().hasRange());
}

void MainWindowTest::anEmptyResultIsToldAndOpensNoWindow() {
  Data data;
  ScopedMessageRecorder messages;
  TFrmMain w(data.engine, data.session);
  show(w);
  pickDatabase(w, QStringLiteral("Empty"));
  ResultSeen seen;
  inspectResultWindowWhenShown(seen);
  QTest::mouseClick(button(w, QStringLiteral("BtnState")), Qt::LeftButton);
  waitForInspection(seen);
  QVERIFY(!seen.opened);
  QVERIFY(w.findChildren<TFrmUSA*>().isEmpty());
  QCOMPARE(messages.messages().size(), std::size_t(1));
  QCOMPARE(messages.lastText(), std::string(vistrel::geo::kNoRecordsMessage));
  QCOMPARE(messages.messages()[0].icon, vistrel::host::MessageIcon::kInformation);
  QCOMPARE(QString::fromStdString(data.session.CurrentDB), QStringLiteral("Empty"));
  QVERIFY(!w.busy());
  QVERIFY(!QApplication::overrideCursor());

  // The next analysis still runs.
  pickDatabase(w, QStringLiteral("Clients"));
  inspectResultWindowWhenShown(seen);
  QTest::mouseClick(button(w, QStringLiteral("BtnState")), Qt::LeftButton);
  QVERIFY(seen.opened);
  QCOMPARE(seen.values, QStringList{"WA"});
}

void MainWindowTest::tableErrorsAreToldNotCrashedOn() {
  Data data(false);  // the contacts' password is missing
  ScopedMessageRecorder messages;
  TFrmMain w(data.engine, data.session);
  QCOMPARE(messages.messages().size(), std::size_t(1));
  QVERIFY(messages.lastText().find("CONTACT.DB") != std::string::npos);
  QCOMPARE(messages.messages()[0].icon, vistrel::host::MessageIcon::kError);
  show(w);
  QCOMPARE(w.databaseModel()->rowCount(), 3);

  messages.clear();
  ResultSeen seen;
  inspectResultWindowWhenShown(seen);
  QTest::mouseClick(button(w, QStringLiteral("BtnZip")), Qt::LeftButton);
  waitForInspection(seen);
  QVERIFY(!seen.opened);
  QCOMPARE(messages.messages().size(), std::size_t(1));
  QCOMPARE(messages.messages()[0].icon, vistrel::host::MessageIcon::kError);
  // What is wrong, and why: not a field said to be missing.
  QCOMPARE(messages.lastText(),
           std::string("CONTACT.DB: the table is not open (CONTACT.DB: the table is protected and its password was "
                       "not given)"));
  QVERIFY(!w.busy());
  QVERIFY(!QApplication::overrideCursor());
}

void MainWindowTest::aboutShowsTheVersionAndTheProgramDate() {
  Data data;
  TFrmMain w(data.engine, data.session);
  show(w);
  // Help and About share the handler that opens the About window.
  for (const char* buttonName : {"BtnAbout", "BtnHelp"}) {
    QString name, version;
    QTimer::singleShot(0, [&] {
      auto* about = qobject_cast<vistrel::geo::TfrmAbout*>(QApplication::activeModalWidget());
      if (about == nullptr) return;
      name = about->findChild<QLabel*>(QStringLiteral("ProductName"))->text();
      version = about->findChild<QLabel*>(QStringLiteral("Version"))->text();
      QTest::mouseClick(about->findChild<QPushButton*>(QStringLiteral("OKButton")), Qt::LeftButton);
    });
    QTest::mouseClick(button(w, QString::fromLatin1(buttonName)), Qt::LeftButton);
    QCOMPARE(name, QStringLiteral("Vistrel Professional"));
    QVERIFY2(version.startsWith(QStringLiteral("Version 3.0 -- ")) && !version.endsWith(QStringLiteral("1980")),
             qPrintable(version));
    QVERIFY(w.findChildren<vistrel::geo::TfrmAbout*>().isEmpty());
  }
}

void MainWindowTest::helpOpensTheMainWindowPage() {
  Data data;
  TFrmMain w(data.engine, data.session);
  show(w);
  QTest::keyClick(&w, Qt::Key_F1);
  auto* viewer = w.findChild<vistrel::host::HelpViewer*>();
  QVERIFY(viewer != nullptr);
  QVERIFY(viewer->isVisible());
  QCOMPARE(viewer->windowTitle(), QStringLiteral("Vistrel Help - Main window"));
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
