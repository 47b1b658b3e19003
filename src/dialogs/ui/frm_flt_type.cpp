// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "dialogs/ui/frm_flt_type.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "dialogs/value_pickers_model.h"

namespace vistrel::dialogs {

TfrmFltType::TfrmFltType(std::string_view conditionText, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmFltType"));
  setWindowTitle(QStringLiteral("Type of Event"));
  auto* box = new QGroupBox(this);
  auto* boxLayout = new QVBoxLayout(box);
  for (const EventTypeChoice& choice : kEventTypeChoices) {
    auto* b = new QRadioButton(QString::fromUtf8(choice.caption.data(), static_cast<int>(choice.caption.size())), box);
    b->setObjectName(QStringLiteral("rb") + QString::fromUtf8(choice.word.data(), static_cast<int>(choice.word.size())));
    b->installEventFilter(this);
    boxLayout->addWidget(b);
    buttons_.push_back(b);
  }
  buttons_[static_cast<std::size_t>(eventTypeChoiceFor(conditionText))]->setChecked(true);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("Button1"));
  ok->setDefault(true);
  buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("Button2"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(box);
  layout->addWidget(buttons);
}

std::optional<std::string> TfrmFltType::execute(std::string_view conditionText, QWidget* parent) {
  TfrmFltType picker(conditionText, parent);
  if (picker.exec() != QDialog::Accepted) return std::nullopt;
  return picker.chosenWord();
}

std::string TfrmFltType::chosenWord() const {
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    if (buttons_[i]->isChecked()) return std::string(kEventTypeChoices[i].word);
  }
  return std::string(kEventTypeChoices[0].word);
}

// A double click on a button chooses it and closes with OK.
bool TfrmFltType::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick) {
    if (auto* b = qobject_cast<QRadioButton*>(watched)) {
      b->setChecked(true);
      accept();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace vistrel::dialogs
