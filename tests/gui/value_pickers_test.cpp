// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

#include "dialogs/ui/frm_filter_popup.h"
#include "dialogs/ui/frm_flt_status.h"
#include "dialogs/ui/frm_flt_type.h"
#include "gui_testing.h"
#include "host/field_catalog.h"

using namespace vistrel::dialogs;
using vistrel::testing::child;
using vistrel::testing::whenModal;

namespace {

void clickOnItem(QTreeWidget* tree, QTreeWidgetItem* item, bool twice = false) {
  const QPoint at = tree->visualItemRect(item).center();
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
  if (twice) QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
}

}  // namespace

class ValuePickersTest : public QObject {
  Q_OBJECT

 private slots:
  void fieldPickerPreselectsAndChoosesOnlyFields() {
    vistrel::host::applyFieldAliases({{"User1", "Newsletter"}});
    TfrmFilterPopup empty("");
    QCOMPARE(empty.tree()->currentItem()->text(0), QStringLiteral("Biographical"));
    QVERIFY(!child<QPushButton>(&empty, "btOK")->isEnabled());

    TfrmFilterPopup picker("user 1");
    picker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&picker));
    QCOMPARE(picker.tree()->currentItem()->text(0), QStringLiteral("User 1 : Newsletter"));
    QVERIFY(child<QPushButton>(&picker, "btOK")->isEnabled());

    QTreeWidgetItem* heading = picker.tree()->topLevelItem(0);
    clickOnItem(picker.tree(), heading, true);
    QVERIFY(!child<QPushButton>(&picker, "btOK")->isEnabled());
    QVERIFY(picker.isVisible());
    vistrel::host::applyFieldAliases({});
  }

  void fieldPickerReturnsTheChosenField() {
    whenModal([](QWidget* w) {
      auto* tree = child<QTreeWidget>(w, "tvFields");
      QTreeWidgetItem* city = tree->findItems(QStringLiteral("City"), Qt::MatchExactly | Qt::MatchRecursive)[0];
      tree->scrollToItem(city);
      clickOnItem(tree, city, true);
    });
    QCOMPARE(TfrmFilterPopup::execute("Last Name"), std::optional<std::string>("City"));
  }

  void eventTypePicker() {
    TfrmFltType sale("SALE");
    QVERIFY(child<QRadioButton>(&sale, "rbSALE")->isChecked());
    TfrmFltType holiday("HOLIDAY");
    QVERIFY(child<QRadioButton>(&holiday, "rbCALL")->isChecked());

    whenModal([](QWidget* w) {
      child<QRadioButton>(w, "rbTO-DO")->click();
      child<QPushButton>(w, "Button1")->click();
    });
    QCOMPARE(TfrmFltType::execute("SALE"), std::optional<std::string>("TO-DO"));
    whenModal([](QWidget* w) { child<QPushButton>(w, "Button2")->click(); });
    QCOMPARE(TfrmFltType::execute("SALE"), std::optional<std::string>());
  }

  void statusAndLetterTypePickers() {
    whenModal([](QWidget* w) {
      QVERIFY(child<QRadioButton>(w, "rbIncoming")->isChecked());
      child<QPushButton>(w, "btOK")->click();
    });
    QCOMPARE(TfrmFltStatus::execute("Incoming Call"), std::optional<std::string>("Incoming Call"));

    whenModal([](QWidget* w) {
      QVERIFY(!child<QPushButton>(w, "btOK")->isEnabled());  // "Label" has no button here
      child<QRadioButton>(w, "rbPaid")->click();
      child<QPushButton>(w, "btOK")->click();
    });
    QCOMPARE(TfrmFltStatus::execute("Label"), std::optional<std::string>("Paid"));

    whenModal([](QWidget* w) {
      QVERIFY(child<QRadioButton>(w, "rbFax")->isChecked());
      QTest::mouseDClick(child<QRadioButton>(w, "rbEMail"), Qt::LeftButton);
    });
    QCOMPARE(Tfrmfltlettertype::execute("Fax"), std::optional<std::string>("EMail"));
  }
};

QTEST_MAIN(ValuePickersTest)
#include "value_pickers_test.moc"
