// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

#include "filter/ui/frm_flt_set_cat.h"
#include "host/ui/messages.h"

using vistrel::filter::CategoryNames;
using vistrel::filter::Tfrmfltsetcat;

namespace {

template <typename T>
T* child(QObject& parent, const char* name) {
  auto* c = parent.findChild<T*>(QString::fromLatin1(name));
  if (c == nullptr) qFatal("no child %s", name);
  return c;
}

void doubleClick(QListWidget* list, int row) {
  list->setCurrentRow(row);
  const QRect r = list->visualItemRect(list->item(row));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
}

CategoryNames names() {
  CategoryNames n;
  n[0] = "Customers";
  n[1] = "Buyers";
  n[27] = "Staff";
  return n;
}

}  // namespace

class CategoryDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void doubleClicksBuildTheAnswer();
  void okRefusesWhatDoesNotCompile();
  void examplesGrowAndShrinkTheWindow();
};

void CategoryDialogTest::doubleClicksBuildTheAnswer() {
  Tfrmfltsetcat dialog(QString(), names());
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  auto* list = child<QListWidget>(dialog, "catlist");
  QCOMPARE(list->count(), 3);
  QCOMPARE(list->item(2)->text(), QStringLiteral("1 = Staff"));
  auto* ok = child<QPushButton>(dialog, "OKBtn");
  QVERIFY(!ok->isEnabled());
  doubleClick(list, 0);
  doubleClick(list, 2);
  child<QRadioButton>(dialog, "rbOr")->setChecked(true);
  doubleClick(list, 1);
  QCOMPARE(child<QLineEdit>(dialog, "answer")->text(), QStringLiteral("A and 1 or B"));
  QVERIFY(ok->isEnabled());
  QTest::mouseClick(ok, Qt::LeftButton);
  QCOMPARE(dialog.result(), QDialog::Accepted);
  QCOMPARE(dialog.expression(), QStringLiteral("A and 1 or B"));
}

void CategoryDialogTest::okRefusesWhatDoesNotCompile() {
  vistrel::host::ScopedMessageRecorder messages;
  Tfrmfltsetcat dialog(QStringLiteral("A AND(B)"), names());
  dialog.show();
  QTest::mouseClick(child<QPushButton>(dialog, "OKBtn"), Qt::LeftButton);
  QCOMPARE(QString::fromStdString(messages.lastText()), QStringLiteral("A was unexpected in A AND(B)"));
  QVERIFY(dialog.isVisible());
}

void CategoryDialogTest::examplesGrowAndShrinkTheWindow() {
  Tfrmfltsetcat dialog(QStringLiteral("A"), names());
  dialog.show();
  const int small = dialog.height();
  auto* examples = child<QPushButton>(dialog, "btExamples");
  QTest::mouseClick(examples, Qt::LeftButton);
  QVERIFY(dialog.examplesShown());
  QVERIFY(dialog.height() > small);
  auto* grid = child<QTableWidget>(dialog, "exampleGrid");
  QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("Example"));
  QCOMPARE(grid->item(1, 1)->text(), QStringLiteral("Category A people only"));
  child<QRadioButton>(dialog, "rbExample3")->setChecked(true);
  QCOMPARE(grid->item(3, 0)->text(), QStringLiteral("B * T"));
  QCOMPARE(grid->item(4, 1)->text(), QStringLiteral("The \"*\" symbol can be used for the word \"AND\""));
  child<QRadioButton>(dialog, "rbExample6")->setChecked(true);
  QVERIFY(grid->item(4, 0) == nullptr || grid->item(4, 0)->text().isEmpty());
  QTest::mouseClick(examples, Qt::LeftButton);
  QVERIFY(!dialog.examplesShown());
  QCOMPARE(dialog.height(), small);
}

QTEST_MAIN(CategoryDialogTest)
#include "category_dialog_test.moc"
