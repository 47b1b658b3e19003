// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "geo/ranges.h"
#include "geo/ui/frm_ranges.h"
#include "host/ui/messages.h"
#include "host/ui/help_viewer.h"
#include "testing.h"

using vistrel::geo::RangeTable;
using vistrel::geo::TFrmRanges;
using vistrel::host::MessageAnswer;
using vistrel::host::MessageIcon;
using vistrel::host::ScopedMessageRecorder;

namespace {

// Ranges that pass the check but differ from the defaults.
const char kCustomIni[] =
    "[Aliases]\r\nTALDB=/data\r\n[Ranges]\r\nR1Lo=1\r\nR1Hi=10\r\nR2Lo=11\r\nR2Hi=16\r\n";

QPushButton* buttonOf(QDialog& dialog, const char* name) {
  auto* b = dialog.findChild<QPushButton*>(QString::fromLatin1(name));
  if (b == nullptr) qFatal("no button %s", name);
  return b;
}

void show(QDialog& dialog) {
  dialog.show();
  if (!QTest::qWaitForWindowExposed(&dialog)) qFatal("dialog not exposed");
}

}  // namespace

class RangesDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void fillsTheSpinBoxesFromTheTable();
  void okReportsTheFirstOffendingPercentage_data();
  void okReportsTheFirstOffendingPercentage();
  void okWithSoundRangesStoresAndCloses();
  void fixingAfterAFailedCheckStillCloses();
  void defaultsThenCancelLeavesTheStoredRanges();
  void aFailedWriteIsReportedAndCancelStays();
  void helpOpensTheRangesPage();
};

void RangesDialogTest::fillsTheSpinBoxesFromTheTable() {
  vistrel::testing::TempDir dir;
  vistrel::testing::writeFile(dir / "v.ini", kCustomIni);
  RangeTable table = RangeTable::load(dir / "v.ini");
  TFrmRanges dialog(table, dir / "v.ini");
  QCOMPARE(dialog.windowTitle(), QStringLiteral("Ranges"));
  for (int n = 1; n <= 12; ++n) {
    const auto* low = dialog.findChild<QSpinBox*>(QStringLiteral("RangeLow%1").arg(n));
    const auto* high = dialog.findChild<QSpinBox*>(QStringLiteral("RangeHigh%1").arg(n));
    QVERIFY(low && high);
    QCOMPARE(low->value(), table.range(n - 1).low);
    QCOMPARE(high->value(), table.range(n - 1).high);
    QCOMPARE(low->minimum(), 1);
    QCOMPARE(high->maximum(), 100);
  }
  QCOMPARE(dialog.rangeHigh(0)->value(), 10);
}

void RangesDialogTest::okReportsTheFirstOffendingPercentage_data() {
  QTest::addColumn<QString>("box");
  QTest::addColumn<int>("value");
  QTest::addColumn<QString>("message");
  QTest::newRow("gap: range 3 from 18") << "RangeLow3" << 18
                                        << "17 percentile not represented. Repair ranges.";
  QTest::newRow("overlap: range 1 to 9") << "RangeHigh1" << 9
                                         << "9 representated in multple ranges. Repair ranges.";
}

void RangesDialogTest::okReportsTheFirstOffendingPercentage() {
  QFETCH(QString, box);
  QFETCH(int, value);
  QFETCH(QString, message);
  vistrel::testing::TempDir dir;
  const auto ini = dir / "v.ini";
  RangeTable table;
  ScopedMessageRecorder messages;
  TFrmRanges dialog(table, ini);
  show(dialog);

  dialog.findChild<QSpinBox*>(box)->setValue(value);
  QTest::mouseClick(buttonOf(dialog, "BtnOK"), Qt::LeftButton);

  QCOMPARE(messages.messages().size(), std::size_t{1});
  QCOMPARE(QString::fromStdString(messages.lastText()), message);
  QVERIFY(messages.messages().back().icon == MessageIcon::kError);
  QVERIFY(dialog.isVisible());
  QVERIFY(!buttonOf(dialog, "BtnCancel")->isEnabled());
  // The failed bounds are already stored, in the table and in the file.
  QCOMPARE(table, RangeTable::load(ini));
  QVERIFY(table.check().message() == message.toStdString());
  // Escape no longer closes the dialog either.
  QTest::keyClick(&dialog, Qt::Key_Escape);
  QVERIFY(dialog.isVisible());
}

void RangesDialogTest::okWithSoundRangesStoresAndCloses() {
  vistrel::testing::TempDir dir;
  const auto ini = dir / "v.ini";
  vistrel::testing::writeFile(ini, "[Aliases]\nTALDB=/data\n");
  RangeTable table;
  ScopedMessageRecorder messages;
  TFrmRanges dialog(table, ini);
  show(dialog);
  dialog.rangeHigh(0)->setValue(5);
  dialog.rangeLow(1)->setValue(6);
  QTest::mouseClick(buttonOf(dialog, "BtnOK"), Qt::LeftButton);

  QVERIFY(messages.messages().empty());
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QVERIFY(!dialog.isVisible());
  QCOMPARE(table.range(1).low, 6);
  QCOMPARE(RangeTable::load(ini), table);
  QVERIFY(vistrel::testing::readFile(ini).find("TALDB=/data") != std::string::npos);
}

void RangesDialogTest::fixingAfterAFailedCheckStillCloses() {
  vistrel::testing::TempDir dir;
  RangeTable table;
  ScopedMessageRecorder messages;
  TFrmRanges dialog(table, dir / "v.ini");
  show(dialog);
  dialog.rangeLow(2)->setValue(18);
  QTest::mouseClick(buttonOf(dialog, "BtnOK"), Qt::LeftButton);
  QVERIFY(dialog.isVisible());
  dialog.rangeHigh(1)->setValue(17);
  QTest::mouseClick(buttonOf(dialog, "BtnOK"), Qt::LeftButton);
  QCOMPARE(messages.messages().size(), std::size_t{1});
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QCOMPARE(RangeTable::load(dir / "v.ini").range(1).high, 17);
}

void RangesDialogTest::defaultsThenCancelLeavesTheStoredRanges() {
  vistrel::testing::TempDir dir;
  const auto ini = dir / "v.ini";
  vistrel::testing::writeFile(ini, kCustomIni);
  RangeTable table = RangeTable::load(ini);
  const RangeTable before = table;
  ScopedMessageRecorder messages;
  messages.setNextAnswer(MessageAnswer::kYes);
  TFrmRanges dialog(table, ini);
  show(dialog);

  QTest::mouseClick(buttonOf(dialog, "BitBtn1"), Qt::LeftButton);
  QCOMPARE(QString::fromStdString(messages.lastText()),
           QStringLiteral("Do you want to restore your ranges to default values?"));
  QCOMPARE(dialog.rangeHigh(0)->value(), 8);
  QCOMPARE(dialog.rangeLow(1)->value(), 9);
  QTest::mouseClick(buttonOf(dialog, "BtnCancel"), Qt::LeftButton);

  QCOMPARE(dialog.result(), int(QDialog::Rejected));
  QCOMPARE(table, before);
  QCOMPARE(vistrel::testing::readFile(ini), std::string(kCustomIni));
}

void RangesDialogTest::aFailedWriteIsReportedAndCancelStays() {
  vistrel::testing::TempDir dir;
  RangeTable table;
  ScopedMessageRecorder messages;
  TFrmRanges dialog(table, dir / "missing folder" / "v.ini");
  show(dialog);
  dialog.rangeHigh(0)->setValue(5);
  dialog.rangeLow(1)->setValue(6);
  QTest::mouseClick(buttonOf(dialog, "BtnOK"), Qt::LeftButton);

  QCOMPARE(messages.messages().size(), std::size_t{1});
  QVERIFY(messages.lastText().rfind("Unable to save the ranges.", 0) == 0);
  QVERIFY(dialog.isVisible());
  QVERIFY(buttonOf(dialog, "BtnCancel")->isEnabled());
  QCOMPARE(table, RangeTable::defaults());
}

void RangesDialogTest::helpOpensTheRangesPage() {
  vistrel::testing::TempDir dir;
  RangeTable table;
  TFrmRanges dialog(table, dir / "v.ini");
  show(dialog);
  QTest::mouseClick(buttonOf(dialog, "BtnHelp"), Qt::LeftButton);
  auto* viewer = dialog.findChild<vistrel::host::HelpViewer*>();
  QVERIFY(viewer != nullptr);
  QVERIFY(viewer->isVisible());
  QVERIFY(!viewer->isModal());
  QVERIFY(viewer->browser()->toPlainText().contains(QStringLiteral("Count ranges")));
}

QTEST_MAIN(RangesDialogTest)
#include "ranges_dialog_test.moc"
