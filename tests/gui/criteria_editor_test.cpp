// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <deque>

#include "dialogs/ui/frm_filter_contact.h"
#include "dialogs/ui/frm_filter_popup.h"
#include "dialogs/ui/frm_flt_status.h"
#include "dialogs/ui/frm_flt_today.h"
#include "dialogs/ui/frm_time_popup.h"
#include "filter/filter_text.h"
#include "fixture_data.h"
#include "host/help.h"
#include "host/ui/messages.h"
#include "host/tallis_schema.h"
#include "host/ui/help_viewer.h"
#include "testing.h"

using namespace vistrel;
using dialogs::TfrmFilterContact;

namespace {

// Pickers that answer from queues and remember what they were handed.
struct FakePickers : dialogs::CriteriaPickers {
  std::deque<std::optional<std::string>> fields;
  std::deque<dialogs::ConditionPick> conditions;
  std::vector<std::string> handed;
  std::optional<std::string> pickField(QWidget*, std::string_view current) override {
    handed.emplace_back(current);
    if (fields.empty()) return std::nullopt;
    auto f = fields.front();
    fields.pop_front();
    return f;
  }
  dialogs::ConditionPick pickCondition(QWidget*, dialogs::ConditionPicker, std::string_view condition,
                                       const dialogs::PickerContext&) override {
    handed.emplace_back(condition);
    if (conditions.empty()) return {};
    auto c = conditions.front();
    conditions.pop_front();
    return c;
  }
};

// Runs `act` on the picker of class P once the editor has opened it, then
// closes a picker that `act` left open (a failed check).
template <class P>
void whenPickerOpens(std::function<void(P&)> act) {
  auto* poll = new QTimer;
  auto tries = std::make_shared<int>(400);
  QObject::connect(poll, &QTimer::timeout, [poll, tries, act] {
    auto* picker = qobject_cast<P*>(QApplication::activeModalWidget());
    if (picker == nullptr && --*tries > 0) return;
    poll->stop();
    poll->deleteLater();
    if (picker == nullptr) return;
    act(*picker);
    if (picker->isVisible()) picker->reject();
  });
  poll->start(5);
}

void clickOK(QWidget& picker) {
  auto* ok = picker.findChild<QPushButton*>("btOK");
  QVERIFY(ok != nullptr && ok->isEnabled());
  QTest::mouseClick(ok, Qt::LeftButton);
}

class Editor {
 public:
  enum class Pickers { kFake, kReal };
  explicit Editor(dialogs::FilterRecord record = {}, std::string currentDb = "Sales", Pickers kind = Pickers::kFake) {
    testing::makeFixtureDataDir(dir_.path());
    engine_.setAlias(host::kTallisAlias, dir_.path());
    engine_.addPassword(host::tallisTablePassword(host::TablePassword::kFilters));
    dialogs::EditorContext context{currentDb, "DEM", host::Locale::unitedStates(), {}, &engine_};
    dialog_ = std::make_unique<TfrmFilterContact>(store_, std::move(record), context);
    if (kind == Pickers::kFake) {
      auto pickers = std::make_unique<FakePickers>();
      pickers_ = pickers.get();
      dialog_->setPickers(std::move(pickers));
    }
    dialog_->setClock(clock_);
  }
  // Enters line n's field box and chooses `field` in the field tree.
  void chooseField(int n, const char* field) {
    whenPickerOpens<dialogs::TfrmFilterPopup>([field](dialogs::TfrmFilterPopup& picker) {
      const auto found = picker.tree()->findItems(QString::fromUtf8(field), Qt::MatchExactly | Qt::MatchRecursive);
      QCOMPARE(found.size(), 1);
      picker.tree()->setCurrentItem(found.front());
      clickOK(picker);
    });
    enter(d().Edfield(n));
  }
  void show() {
    dialog_->show();
    dialog_->activateWindow();
    if (!QTest::qWaitForWindowActive(dialog_.get())) qFatal("editor not active");
  }
  // Enters line n's field box, the picker answering `field`.
  void pickField(int n, const char* field) {
    pickers_->fields.push_back(std::string(field));
    enter(d().Edfield(n));
  }
  void enter(QWidget* box) {
    if (!QTest::qWaitForWindowActive(dialog_.get())) qFatal("editor not active");
    box->setFocus(Qt::TabFocusReason);
    QTest::qWait(1);
  }
  static void choose(QComboBox* box, const char* text) {
    const int i = box->findText(QString::fromUtf8(text));
    if (i < 0) qFatal("no item %s", text);
    box->setCurrentIndex(i);
    emit box->activated(i);
  }
  void type(int n, const char* condition) {
    d().Edit(n)->setText(QString::fromUtf8(condition));
    emit d().Edit(n)->textEdited(d().Edit(n)->text());
  }
  TfrmFilterContact& d() { return *dialog_; }
  FakePickers& pickers() { return *pickers_; }
  dialogs::SelectTableStore& store() { return store_; }
  QPushButton* button(const char* name) { return d().findChild<QPushButton*>(QString::fromLatin1(name)); }

 private:
  testing::TempDir dir_;
  host::Engine engine_;
  dialogs::SelectTableStore store_{engine_};
  host::FixedClock clock_{45000.5};  // 15 March 2023, noon
  std::unique_ptr<TfrmFilterContact> dialog_;
  FakePickers* pickers_ = nullptr;
};

std::string lineOf(const char* field, int relation, const char* value, int open = 0, int close = 0, int next = 0) {
  filter::FilterLine l;
  l.database = "Contact";
  l.field = field;
  l.condition = relation;
  l.value = value;
  l.open = open;
  l.close = close;
  l.connector = next;
  return filter::writeFilterLine(l);
}

}  // namespace

class CriteriaEditorTest : public QObject {
  Q_OBJECT

 private slots:
  void writesAThreeLineFilterWithParentheses();
  void linesComeAndGoAndTheLayoutSwitches();
  void warnsOfUserFieldsOfAnotherDatabase();
  void okFocusesWhatIsWrong();
  void tabFromGenerateReachesTheFirstLine();
  void dateConditionStartsFromToday();
  void realPickersFillTheLines();
  void helpAndPrint();
};

void CriteriaEditorTest::writesAThreeLineFilterWithParentheses() {
  Editor e;
  e.show();
  QVERIFY(e.d().Edfield(1)->isVisible());
  QVERIFY(!e.d().Edfield(2)->isVisible());
  auto* advanced = e.d().findChild<QCheckBox*>("cbAdvanced");
  QVERIFY(!advanced->isChecked());
  QVERIFY(!e.d().cbOpen(1)->isVisible());
  QTest::mouseClick(advanced, Qt::LeftButton);
  QVERIFY(e.d().cbOpen(1)->isVisible());

  e.choose(e.d().cbOpen(1), "(");
  e.pickField(1, "State");
  QCOMPARE(e.d().cbRel(1)->currentText(), QStringLiteral("equals"));
  QVERIFY(e.d().cbRel(1)->hasFocus());
  e.type(1, "MA");
  e.choose(e.d().cbAnd(1), "Or");
  QVERIFY(e.d().Edfield(2)->isVisible());
  e.pickField(2, "State");
  e.type(2, "NY");
  e.choose(e.d().cbClose(2), ")");
  e.choose(e.d().cbAnd(2), "And");
  e.pickField(3, "Completed");
  QCOMPARE(e.d().cbRel(3)->currentText(), QStringLiteral("is true"));
  QVERIFY(!e.d().Edit(3)->isVisible());
  e.d().findChild<QLineEdit*>("edDescript")->setText("East coast");
  QTest::mouseClick(e.button("btOK"), Qt::LeftButton);
  QCOMPARE(e.d().result(), int(QDialog::Accepted));

  auto stored = e.store().read(e.d().record().frecno);
  QVERIFY(stored.ok());
  QCOMPARE(stored->shortname, std::string("East coast"));
  const auto lines = filter::splitMemoLines(stored->selection);
  QCOMPARE(lines.size(), std::size_t(3));
  QCOMPARE(lines[0], lineOf("State", 5, "MA", 1, 0, 2));
  QCOMPARE(lines[1], lineOf("State", 5, "NY", 0, 1, 1));
  QCOMPARE(filter::readFilterLine(lines[2]).condition, 14);
}

void CriteriaEditorTest::linesComeAndGoAndTheLayoutSwitches() {
  dialogs::FilterRecord record;
  for (int n = 1; n <= 10; ++n) {
    record.selection += lineOf("City", 5, ("Town " + std::to_string(n)).c_str(), n == 1, n == 10, n < 10 ? 1 : 0) + "\r\n";
  }
  Editor e(record);
  e.show();
  auto* advanced = e.d().findChild<QCheckBox*>("cbAdvanced");
  QVERIFY(advanced->isChecked());
  QVERIFY(e.d().Edfield(10)->isVisible());
  QCOMPARE(e.d().Edfield(4)->geometry(), QRect(50, 2 + 3 * 27, 119, 23));
  QTest::mouseClick(advanced, Qt::LeftButton);
  QCOMPARE(e.d().Edfield(4)->geometry(), QRect(2, 2 + 3 * 27, 166, 23));
  QCOMPARE(e.d().Edit(4)->width(), 229);
  QVERIFY(!e.d().cbOpen(1)->isVisible());

  e.choose(e.d().cbAnd(3), "");
  QVERIFY(e.d().Edfield(3)->isVisible());
  for (int n = 4; n <= 10; ++n) QVERIFY(!e.d().Edfield(n)->isVisible());
  e.choose(e.d().cbAnd(3), "And");
  QVERIFY(e.d().Edfield(4)->isVisible());
  QVERIFY(!e.d().Edfield(5)->isVisible());
  QCOMPARE(e.d().Edit(4)->text(), QStringLiteral("Town 4"));

  e.pickField(4, "City");
  e.choose(e.d().cbRel(4), "is blank");
  QVERIFY(!e.d().Edit(4)->isVisible());
  e.choose(e.d().cbRel(4), "contains");
  QVERIFY(e.d().Edit(4)->isVisible());

  // The hidden counts still count: line 1 opens one that nothing closes now.
  e.d().findChild<QLineEdit*>("edDescript")->setText("towns");
  host::ScopedMessageRecorder messages;
  e.type(4, "x");
  QTest::mouseClick(e.button("btOK"), Qt::LeftButton);
  QCOMPARE(messages.lastText(), std::string("There are too many open parenthesis."));
  QVERIFY(e.d().isVisible());
}

void CriteriaEditorTest::warnsOfUserFieldsOfAnotherDatabase() {
  const struct {
    const char* field;
    const char* savedFor;
    bool warns;
  } cases[] = {{"User 1", "Clients", true}, {"DateChanged", "Clients", false}, {"User 1", "Sales", false}};
  for (const auto& c : cases) {
    host::ScopedMessageRecorder messages;
    dialogs::FilterRecord record;
    record.db = c.savedFor;
    record.selection = lineOf(c.field, 9, "");
    Editor e(record);
    e.show();
    QCOMPARE(!messages.messages().empty(), c.warns);
    if (c.warns) QCOMPARE(messages.messages().front().icon, host::MessageIcon::kError);
  }
}

void CriteriaEditorTest::okFocusesWhatIsWrong() {
  host::ScopedMessageRecorder messages;
  dialogs::FilterRecord existing;
  existing.shortname = "Taken";
  existing.selection = lineOf("City", 5, "Boston");
  Editor e;
  QVERIFY(e.store().post(existing).ok());
  e.show();
  e.pickField(1, "City");
  e.type(1, "Salem");
  e.choose(e.d().cbAnd(1), "And");
  e.d().findChild<QLineEdit*>("edDescript")->setText("Taken");
  QTest::mouseClick(e.button("btOK"), Qt::LeftButton);
  QCOMPARE(messages.lastText(), std::string("A selected field is blank."));
  // Focusing the empty field box enters it: the field picker opens for it,
  // then the relation box has the focus.
  e.pickers().handed.clear();
  QTest::qWait(1);
  QCOMPARE(e.pickers().handed, std::vector<std::string>{""});
  QVERIFY(e.d().cbRel(2)->hasFocus());
  e.choose(e.d().cbAnd(1), "");
  QTest::mouseClick(e.button("btOK"), Qt::LeftButton);
  QCOMPARE(messages.lastText(), std::string(dialogs::kDuplicateDescription));
  QVERIFY(e.d().findChild<QLineEdit*>("edDescript")->hasFocus());
  QVERIFY(e.d().isVisible());
}

void CriteriaEditorTest::tabFromGenerateReachesTheFirstLine() {
  Editor e;
  e.show();
  QPushButton* generate = e.button("btGenerate");
  generate->setFocus(Qt::MouseFocusReason);
  QTest::keyClick(generate, Qt::Key_Tab);
  QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(e.d().Edfield(1)));
}

void CriteriaEditorTest::dateConditionStartsFromToday() {
  Editor e;
  e.show();
  e.pickField(1, "Date 1 : Date1");
  e.pickers().handed.clear();
  e.pickers().conditions.push_back({dialogs::ConditionPick::Outcome::kChosen, "3/3 (NoYear)", true});
  e.enter(e.d().Edit(1));
  QCOMPARE(e.pickers().handed, std::vector<std::string>{"3/15/2023"});
  QCOMPARE(e.d().Edit(1)->text(), QStringLiteral("3/3 (NoYear)"));
  QCOMPARE(e.d().cbRel(1)->currentText(), QStringLiteral("equals"));
  QVERIFY(e.d().cbAnd(1)->hasFocus());
}

// Fields, a date, a time and a status chosen in the program's own pickers.
void CriteriaEditorTest::realPickersFillTheLines() {
  host::ScopedMessageRecorder messages;
  Editor e({}, "Sales", Editor::Pickers::kReal);
  e.show();

  e.chooseField(1, "Event Date");
  QCOMPARE(e.d().Edfield(1)->text(), QStringLiteral("Event Date"));
  QCOMPARE(e.d().cbRel(1)->currentText(), QStringLiteral("is on or before"));
  whenPickerOpens<dialogs::Tfrmflttoday>([](dialogs::Tfrmflttoday& picker) {
    QCOMPARE(picker.findChild<QPushButton*>("pnlAbsolute")->text(), QStringLiteral("3/15/2023"));
    QTest::mouseClick(picker.findChild<QCheckBox*>("cbIgnoreYear"), Qt::LeftButton);
    clickOK(picker);
  });
  e.enter(e.d().Edit(1));
  QCOMPARE(e.d().Edit(1)->text(), QStringLiteral("3/15/2023 (NoYear )"));
  QCOMPARE(e.d().cbRel(1)->currentText(), QStringLiteral("equals"));
  QCOMPARE(messages.messages().size(), std::size_t(1));
  // The editor takes the activation back from the closed picker.
  QTRY_VERIFY(e.d().cbAnd(1)->hasFocus());
  e.choose(e.d().cbAnd(1), "And");

  e.chooseField(2, "Event Time");
  whenPickerOpens<dialogs::TfrmTimePopup>([](dialogs::TfrmTimePopup& picker) {
    QCOMPARE(picker.time(), (dialogs::HourMinute{12, 0}));
    QTest::keyClick(picker.findChild<QWidget*>("dtTime"), Qt::Key_PageUp);
    clickOK(picker);
  });
  e.enter(e.d().Edit(2));
  QCOMPARE(e.d().Edit(2)->text(), QStringLiteral("1:00:00 PM"));
  e.choose(e.d().cbRel(2), "is on or after");
  e.choose(e.d().cbAnd(2), "Or");

  e.chooseField(3, "Event Status");
  whenPickerOpens<dialogs::TfrmFltStatus>([](dialogs::TfrmFltStatus& picker) {
    picker.findChild<QRadioButton*>("rbPaid")->click();
    clickOK(picker);
  });
  e.enter(e.d().Edit(3));
  QCOMPARE(e.d().Edit(3)->text(), QStringLiteral("Paid"));
  // Cancel keeps the text; the focus still moves on.
  whenPickerOpens<dialogs::TfrmFltStatus>([](dialogs::TfrmFltStatus& picker) {
    QVERIFY(picker.findChild<QRadioButton*>("rbPaid")->isChecked());
    picker.reject();
  });
  e.enter(e.d().Edit(3));
  QCOMPARE(e.d().Edit(3)->text(), QStringLiteral("Paid"));
  QTRY_VERIFY(e.d().cbAnd(3)->hasFocus());

  e.d().findChild<QLineEdit*>("edDescript")->setText("Paid events");
  QTest::mouseClick(e.button("btOK"), Qt::LeftButton);
  QCOMPARE(e.d().result(), int(QDialog::Accepted));
  auto stored = e.store().read(e.d().record().frecno);
  QVERIFY(stored.ok());
  const auto lines = filter::splitMemoLines(stored->selection);
  QCOMPARE(lines.size(), std::size_t(3));
  QCOMPARE(lines[0],
           "database(Event) field(Event Date) condition(5) value(3/15/2023 ) casebox(FALSE) yearbox(TRUE) "
           "daybox(FALSE) punctbox(FALSE) openpara(0) closepara(0) and(1)");
  QCOMPARE(lines[1],
           "database(Event) field(Event Time) condition(19) value(1:00:00 PM) casebox(FALSE) yearbox(FALSE) "
           "daybox(FALSE) punctbox(FALSE) openpara(0) closepara(0) and(2)");
  QCOMPARE(lines[2],
           "database(Event) field(Event Status) condition(5) value(P) casebox(FALSE) yearbox(FALSE) "
           "daybox(FALSE) punctbox(FALSE) openpara(0) closepara(0) and(0)");
}

void CriteriaEditorTest::helpAndPrint() {
  Editor e;
  e.show();
  QTest::mouseClick(e.button("btHelp"), Qt::LeftButton);
  auto* viewer = e.d().findChild<host::HelpViewer*>();
  QVERIFY(viewer != nullptr && viewer->isVisible());
  QCOMPARE(viewer->book(), host::HelpBook::kTaldb);
  QCOMPARE(viewer->windowTitle(), QStringLiteral("Filter Help - Set contact filter"));

  testing::TempDir dir;
  const QString pdf = QString::fromStdString((dir / "editor.pdf").string());
  e.d().setPrinterSetUp([&](QPrinter& printer, QWidget*) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    return true;
  });
  QTest::mouseClick(e.button("btPrint"), Qt::LeftButton);
  QVERIFY(QFileInfo(pdf).size() > 1000);
  QCOMPARE(e.d().Edfield(1)->palette().color(QPalette::Base), QColor(Qt::white));
  QTRY_VERIFY_WITH_TIMEOUT(e.d().Edfield(1)->palette().color(QPalette::Base) != QColor(Qt::white), 4000);
}

QTEST_MAIN(CriteriaEditorTest)
#include "criteria_editor_test.moc"
