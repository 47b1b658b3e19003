// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "dialogs/ui/picker_buttons.h"

#include <QBoxLayout>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QPushButton>
#include <QRadioButton>

namespace vistrel::dialogs {

QPushButton* addOkCancel(QDialog* dialog, QBoxLayout* layout, const QString& okName, const QString& cancelName) {
  auto* buttons = new QDialogButtonBox(dialog);
  QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(okName);
  ok->setDefault(true);
  buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole)->setObjectName(cancelName);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  layout->addWidget(buttons);
  return ok;
}

bool acceptOnDoubleClick(QDialog* dialog, QObject* watched, QEvent* event) {
  if (event->type() != QEvent::MouseButtonDblClick) return false;
  auto* b = qobject_cast<QRadioButton*>(watched);
  if (b == nullptr) return false;
  b->setChecked(true);
  dialog->accept();
  return true;
}

}  // namespace vistrel::dialogs
