// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "dialogs/ui/frm_flt_status.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "dialogs/ui/picker_buttons.h"
#include "host/host_lists.h"
#include "widgets/form_helpers.h"

namespace vistrel::dialogs {
namespace {

using widgets::qtText;

template <typename Picker>
std::optional<std::string> runPicker(std::string_view conditionText, QWidget* parent) {
  Picker picker(preselectedStatus(conditionText), parent);
  if (picker.exec() != QDialog::Accepted) return std::nullopt;
  const int position = picker.chosenPosition();
  if (position < 0) return std::nullopt;
  return std::string(host::EventStatusList[static_cast<std::size_t>(position)].name);
}

}  // namespace

StatusPicker::StatusPicker(std::span<const StatusGroup> groups, int preselected, QWidget* parent)
    : QDialog(parent) {
  auto* layout = new QVBoxLayout(this);
  for (const StatusGroup& group : groups) {
    auto* box = new QGroupBox(qtText(group.caption), this);
    auto* boxLayout = new QVBoxLayout(box);
    for (const StatusChoice& choice : group.choices) {
      auto* b = new QRadioButton(qtText(choice.caption), box);
      b->setObjectName(QStringLiteral("rb") + qtText(choice.caption).remove(QLatin1Char(' ')));
      b->installEventFilter(this);
      boxLayout->addWidget(b);
      const int position = statusPositionOf(choice);
      if (position == preselected) b->setChecked(true);
      buttons_.push_back({b, position});
    }
    layout->addWidget(box);
  }
  btOK_ = addOkCancel(this, layout, QStringLiteral("btOK"), QStringLiteral("btCancel"));
  btOK_->setEnabled(chosenPosition() >= 0);
  for (const Button& b : buttons_) {
    connect(b.button, &QRadioButton::toggled, this, [this] { btOK_->setEnabled(chosenPosition() >= 0); });
  }
}

int StatusPicker::chosenPosition() const {
  for (const Button& b : buttons_) {
    if (b.button->isChecked()) return b.position;
  }
  return -1;
}

void StatusPicker::addNote(const QString& text) {
  auto* note = new QLabel(text, this);
  note->setObjectName(QStringLiteral("lblNote"));
  note->setWordWrap(true);
  static_cast<QVBoxLayout*>(layout())->insertWidget(0, note);
}

bool StatusPicker::eventFilter(QObject* watched, QEvent* event) {
  if (acceptOnDoubleClick(this, watched, event)) return true;
  return QDialog::eventFilter(watched, event);
}

TfrmFltStatus::TfrmFltStatus(int preselected, QWidget* parent)
    : StatusPicker(eventStatusGroups(), preselected, parent) {
  setObjectName(QStringLiteral("frmFltStatus"));
  setWindowTitle(QStringLiteral("Event status"));
  addNote(QStringLiteral("The meaning of event status  depends on the type of event"));
}

std::optional<std::string> TfrmFltStatus::execute(std::string_view conditionText, QWidget* parent) {
  return runPicker<TfrmFltStatus>(conditionText, parent);
}

Tfrmfltlettertype::Tfrmfltlettertype(int preselected, QWidget* parent)
    : StatusPicker(letterTypeGroups(), preselected, parent) {
  setObjectName(QStringLiteral("frmFltLetterType"));
  setWindowTitle(QStringLiteral("Letter Type"));
}

std::optional<std::string> Tfrmfltlettertype::execute(std::string_view conditionText, QWidget* parent) {
  return runPicker<Tfrmfltlettertype>(conditionText, parent);
}

}  // namespace vistrel::dialogs
