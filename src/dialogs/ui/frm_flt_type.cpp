// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "dialogs/ui/frm_flt_type.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "dialogs/ui/picker_buttons.h"
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

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(box);
  addOkCancel(this, layout, QStringLiteral("Button1"), QStringLiteral("Button2"));
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
  if (acceptOnDoubleClick(this, watched, event)) return true;
  return QDialog::eventFilter(watched, event);
}

}  // namespace vistrel::dialogs
