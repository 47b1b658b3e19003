// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "app/ui/frm_get_who.h"
#include "fixture_data.h"
#include "host/engine.h"
#include "host/session.h"
#include "host/ui/messages.h"
#include "host/tallis_schema.h"
#include "testing.h"

using vistrel::app::TfrmGetWho;
using vistrel::host::ScopedMessageRecorder;

namespace {

// A fixture data directory and an engine that may open its user table.
struct Data : vistrel::testing::FixtureEngine {
  Data() : FixtureEngine({vistrel::host::TablePassword::kUsers}) {}
};
QLineEdit* box(TfrmGetWho& w, const char* name) {
  auto* e = w.findChild<QLineEdit*>(QString::fromLatin1(name));
  if (e == nullptr) qFatal("no box %s", name);
  return e;
}

QPushButton* button(TfrmGetWho& w, const char* name) {
  auto* b = w.findChild<QPushButton*>(QString::fromLatin1(name));
  if (b == nullptr) qFatal("no button %s", name);
  return b;
}

void showActive(QWidget& w) {
  w.show();
  QApplication::setActiveWindow(&w);
  if (!QTest::qWaitForWindowActive(&w)) qFatal("window not active");
}

void type(TfrmGetWho& w, const QString& user, const QString& password) {
  box(w, "edWho")->clear();
  box(w, "edPassword")->clear();
  QTest::keyClicks(box(w, "edWho"), user);
  QTest::keyClicks(box(w, "edPassword"), password);
}

}  // namespace

class LoginWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void looksAsStored();
  void loginSucceeds_data();
  void loginSucceeds();
  void fiveWrongPasswordsThenOkSaysGoodbye();
  void unknownUserAndBlankBoxAreNoTries();
  void closesOnlyThroughItsButtons();
};

void LoginWindowTest::looksAsStored() {
  Data data;
  TfrmGetWho w(data.engine, data.session, "");
  showActive(w);
  QCOMPARE(w.windowTitle(), QStringLiteral("Login to Tallis Professional"));
  QCOMPARE(w.size(), QSize(304, 200));
  QCOMPARE(w.minimumSize(), w.maximumSize());
  QVERIFY(!(w.windowFlags() & Qt::WindowCloseButtonHint));
  QVERIFY(!(w.windowFlags() & Qt::WindowSystemMenuHint));
  QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("&Who are you?"));
  QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label2"))->text(), QStringLiteral("Type in your &password."));
  QVERIFY(button(w, "btOK")->isDefault());
  QCOMPARE(QApplication::focusWidget(), box(w, "edWho"));

  QTest::keyClicks(box(w, "edWho"), QStringLiteral("abcd"));
  QCOMPARE(box(w, "edWho")->text(), QStringLiteral("ABC"));
  QTest::keyClicks(box(w, "edPassword"), QStringLiteral("SeCret"));
  QCOMPARE(box(w, "edPassword")->text(), QStringLiteral("secret"));
  QCOMPARE(box(w, "edPassword")->displayText(), QStringLiteral("******"));
}

void LoginWindowTest::loginSucceeds_data() {
  QTest::addColumn<QString>("user");
  QTest::addColumn<QString>("password");
  QTest::addColumn<QString>("who");
  QTest::newRow("no stored password, none typed") << "DEM" << "" << "DEM";
  QTest::newRow("no stored password, one typed") << "DEM" << "anything" << "DEM";
  QTest::newRow("stored scrambled") << "ABC" << "secret" << "ABC";
  QTest::newRow("typed in capitals, turned to lower case") << "ABC" << "SECRET" << "ABC";
  QTest::newRow("stored as typed, user typed in lower case") << "pln" << "tallis" << "PLN";
}

// Enter presses OK, the default button.
void LoginWindowTest::loginSucceeds() {
  QFETCH(QString, user);
  QFETCH(QString, password);
  QFETCH(QString, who);
  Data data;
  ScopedMessageRecorder messages;
  TfrmGetWho w(data.engine, data.session, "");
  showActive(w);
  type(w, user, password);
  QTest::keyClick(box(w, "edPassword"), Qt::Key_Return);
  QVERIFY(!w.isVisible());
  QCOMPARE(w.result(), int(QDialog::Accepted));
  QCOMPARE(QString::fromStdString(w.who()), who);
  QCOMPARE(QString::fromStdString(data.session.CurrentWho), who);
  QVERIFY(messages.messages().empty());
}

void LoginWindowTest::fiveWrongPasswordsThenOkSaysGoodbye() {
  Data data;
  ScopedMessageRecorder messages;
  TfrmGetWho w(data.engine, data.session, "");
  showActive(w);
  QTest::keyClicks(box(w, "edWho"), QStringLiteral("ABC"));
  for (int i = 1; i <= 5; ++i) {
    QTest::keyClicks(box(w, "edPassword"), QStringLiteral("wrong"));
    QTest::mouseClick(button(w, "btOK"), Qt::LeftButton);
    QVERIFY(w.isVisible());
    QCOMPARE(messages.lastText(), std::string("Invalid password for user ABC.  Try again."));
    QVERIFY2(box(w, "edPassword")->text().isEmpty(), "the password box is emptied");
    QCOMPARE(box(w, "edWho")->text(), QStringLiteral("ABC"));
    QCOMPARE(QApplication::focusWidget(), box(w, "edPassword"));
    QVERIFY(button(w, "btOK")->isEnabled());
    QCOMPARE(w.session().tries(), i + 1);
  }
  messages.clear();
  QTest::keyClicks(box(w, "edPassword"), QStringLiteral("secret"));
  QTest::mouseClick(button(w, "btOK"), Qt::LeftButton);
  QCOMPARE(messages.lastText(), std::string("Too many tries.  See the system administrator.  Goodbye."));
  QCOMPARE(messages.messages().size(), std::size_t(1));
  QVERIFY(!w.isVisible());
  QVERIFY(w.who().empty());
  QCOMPARE(w.result(), int(QDialog::Rejected));
}

void LoginWindowTest::unknownUserAndBlankBoxAreNoTries() {
  Data data;
  ScopedMessageRecorder messages;
  TfrmGetWho w(data.engine, data.session, "");
  showActive(w);
  for (int i = 0; i < 3; ++i) {
    type(w, QStringLiteral("XYZ"), QStringLiteral("secret"));
    QTest::mouseClick(button(w, "btOK"), Qt::LeftButton);
    QCOMPARE(messages.lastText(), std::string("User XYZ was not found in Tallis."));
    QVERIFY2(box(w, "edWho")->text().isEmpty(), "the user box is emptied");
    QCOMPARE(box(w, "edPassword")->text(), QStringLiteral("secret"));
    QCOMPARE(QApplication::focusWidget(), box(w, "edWho"));

    type(w, QString(), QStringLiteral("secret"));
    QTest::mouseClick(button(w, "btOK"), Qt::LeftButton);
    QCOMPARE(messages.lastText(), std::string("Fill in the user field with the user id in order to log in."));
    QCOMPARE(QApplication::focusWidget(), box(w, "edWho"));
  }
  QCOMPARE(w.session().tries(), 1);
  QVERIFY(w.isVisible());
  type(w, QStringLiteral("PLN"), QStringLiteral("tallis"));
  QTest::mouseClick(button(w, "btOK"), Qt::LeftButton);
  QVERIFY(!w.isVisible());
  QCOMPARE(w.who(), std::string("PLN"));
}

// Offered a user id, the window waits for the password. Alt+F4 and the
// window manager's close come as a close event, which is refused.
void LoginWindowTest::closesOnlyThroughItsButtons() {
  Data data;
  {
    TfrmGetWho w(data.engine, data.session, "DEM");
    showActive(w);
    QCOMPARE(box(w, "edWho")->text(), QStringLiteral("DEM"));
    QCOMPARE(QApplication::focusWidget(), box(w, "edPassword"));
    QVERIFY(!w.close());
    QVERIFY(w.isVisible());
    QTest::keyClick(box(w, "edPassword"), Qt::Key_Escape);
    QVERIFY(!w.isVisible());
    QVERIFY(w.who().empty());
    QCOMPARE(w.result(), int(QDialog::Rejected));
  }
  {
    TfrmGetWho w(data.engine, data.session, "DEM");
    showActive(w);
    QTest::mouseClick(button(w, "btCancel"), Qt::LeftButton);
    QVERIFY(!w.isVisible());
    QVERIFY(w.who().empty());
  }
}

QTEST_MAIN(LoginWindowTest)
#include "login_window_test.moc"
