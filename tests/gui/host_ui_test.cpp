// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "host/help.h"
#include "host/ui/messages.h"
#include "host/ui/help_viewer.h"
#include "host/ui/message_box.h"
#include "host/ui/system_locale.h"
#include "host/date_time.h"
#include "host/locale.h"

using namespace vistrel::host;

class HostUiTest : public QObject {
  Q_OBJECT

 private slots:
  void messageBoxShowsTheMessageAndAnswers_data();
  void messageBoxShowsTheMessageAndAnswers();
  void helpViewerFollowsLinksAndIsReused();
  void helpViewerOpensOnScreenAndEscapeClosesIt();
  void localeFollowsTheDesktopSettings();
};

void HostUiTest::messageBoxShowsTheMessageAndAnswers_data() {
  QTest::addColumn<int>("buttons");
  QTest::addColumn<int>("icon");
  QTest::addColumn<int>("press");
  QTest::addColumn<int>("answer");
  QTest::newRow("error, OK") << int(MessageButtons::kOk) << int(QMessageBox::Critical)
                             << int(QMessageBox::Ok) << int(MessageAnswer::kOk);
  QTest::newRow("yes/no, No") << int(MessageButtons::kYesNo) << int(QMessageBox::Information)
                              << int(QMessageBox::No) << int(MessageAnswer::kNo);
  QTest::newRow("yes/no, Escape") << int(MessageButtons::kYesNo) << int(QMessageBox::Information)
                                  << -1 << int(MessageAnswer::kNo);
  QTest::newRow("yes/no, Yes") << int(MessageButtons::kYesNo) << int(QMessageBox::Information)
                               << int(QMessageBox::Yes) << int(MessageAnswer::kYes);
}

// The box is modal, so a timer inspects and answers it from inside its loop.
void HostUiTest::messageBoxShowsTheMessageAndAnswers() {
  QFETCH(int, buttons);
  QFETCH(int, icon);
  QFETCH(int, press);
  QFETCH(int, answer);
  QString title, text;
  int shownIcon = -1;
  bool buttonIcons = false;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    title = box->windowTitle();
    text = box->text();
    shownIcon = box->icon();
    for (QAbstractButton* b : box->buttons()) buttonIcons = buttonIcons || !b->icon().isNull();
    if (press < 0) {
      QTest::keyClick(box, Qt::Key_Escape);
    } else {
      box->button(QMessageBox::StandardButton(press))->click();
    }
  });
  QtMessageSink sink;
  const Message m{buttons == int(MessageButtons::kOk) ? MessageIcon::kError : MessageIcon::kInformation,
                  MessageButtons(buttons), "No records match.\rChange <<BLANK FIELD>>.", ""};
  QCOMPARE(int(sink.show(m)), answer);
  QCOMPARE(title, QStringLiteral("Vistrel Pro"));
  QCOMPARE(text, QStringLiteral("No records match.\nChange <<BLANK FIELD>>."));
  QCOMPARE(shownIcon, icon);
  QVERIFY(!buttonIcons);
}

void HostUiTest::helpViewerFollowsLinksAndIsReused() {
  QWidget owner;
  owner.show();
  HelpViewer* viewer = showHelp(kHelpStateAnalysis, &owner);
  QVERIFY(viewer->isVisible());
  QCOMPARE(viewer->windowTitle(), QStringLiteral("Vistrel Help - State Analysis"));
  QVERIFY(viewer->browser()->toPlainText().startsWith(QStringLiteral("State Analysis")));

  viewer->browser()->setSource(QUrl(QStringLiteral("ranges.html")));
  QVERIFY(viewer->browser()->toPlainText().contains(QStringLiteral("97 - 100 %")));

  QCOMPARE(showHelp(kHelpFilterList, &owner, HelpBook::kTaldb) == viewer, false);
  QCOMPARE(showHelp(-7, &owner), viewer);
  QVERIFY(viewer->browser()->toPlainText().startsWith(QStringLiteral("Vistrel Help")));
}

void HostUiTest::helpViewerOpensOnScreenAndEscapeClosesIt() {
  const QRect screen(0, 0, 1280, 1024);
  // Centred on the window it belongs to; pushed back on screen at the edges.
  QCOMPARE(centredOnScreen(QSize(560, 480), QRect(100, 100, 600, 400), screen), QRect(120, 60, 560, 480));
  QCOMPARE(centredOnScreen(QSize(560, 480), QRect(900, 800, 300, 200), screen), QRect(720, 544, 560, 480));
  QCOMPARE(centredOnScreen(QSize(560, 1200), QRect(-50, 0, 100, 100), screen), QRect(0, 0, 560, 1024));

  QWidget owner;
  owner.setGeometry(200, 150, 400, 300);
  owner.show();
  HelpViewer* viewer = showHelp(kHelpStateAnalysis, &owner);
  QVERIFY(owner.screen()->availableGeometry().contains(viewer->frameGeometry()));
  QPointer<HelpViewer> alive(viewer);
  QTest::keyClick(viewer, Qt::Key_Escape);
  QVERIFY(alive.isNull() || !alive->isVisible());
}

void HostUiTest::localeFollowsTheDesktopSettings() {
  const struct {
    const char* name;
    char decimal;
    char thousands;
    const char* dates;
    bool clock24;
  } rows[] = {
      {"en_US", '.', ',', "M/d/yyyy", false},
      {"de_DE", ',', '.', "dd.MM.yyyy", true},
      {"en_GB", '.', ',', "dd/MM/yyyy", true},
      {"ja_JP", '.', ',', "yyyy/MM/dd", true},
  };
  for (const auto& r : rows) {
    const Locale l = localeFromQt(QLocale(QString::fromLatin1(r.name)));
    QCOMPARE(l.decimalSeparator, r.decimal);
    QCOMPARE(l.thousandSeparator, r.thousands);
    QCOMPARE(QString::fromStdString(l.shortDateFormat), QString::fromLatin1(r.dates));
    QCOMPARE(l.clock24, r.clock24);
  }
  const Locale german = localeFromQt(QLocale(QStringLiteral("de_DE")));
  QCOMPARE(QString::fromStdString(formatDate(*encodeDate(2024, 12, 25), german)), QStringLiteral("25.12.2024"));
  QCOMPARE(parseNumber("1234,5", german).value_or(0), 1234.5);
}

QTEST_MAIN(HostUiTest)
#include "host_ui_test.moc"
