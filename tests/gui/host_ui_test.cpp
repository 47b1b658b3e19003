// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "host/help.h"
#include "host/messages.h"
#include "host/ui/help_viewer.h"
#include "host/ui/message_box.h"

using namespace vistrel::host;

class HostUiTest : public QObject {
  Q_OBJECT

 private slots:
  void messageBoxShowsTheMessageAndAnswers_data();
  void messageBoxShowsTheMessageAndAnswers();
  void helpViewerFollowsLinksAndIsReused();
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
  QApplication::setApplicationDisplayName(QStringLiteral("Vistrel Pro"));
  QString title, text;
  int shownIcon = -1;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    title = box->windowTitle();
    text = box->text();
    shownIcon = box->icon();
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

QTEST_MAIN(HostUiTest)
#include "host_ui_test.moc"
