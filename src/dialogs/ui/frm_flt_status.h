// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/value_pickers_model.h"

class QPushButton;
class QRadioButton;

namespace vistrel::dialogs {

// A picker of one event status list entry: captioned groups of buttons, each
// standing for an entry. It opens with the button of the preselected
// position checked (none when no button stands for it); OK stays off until a
// button is checked. OK or a double click returns the checked entry's
// position in the status list.
class StatusPicker : public QDialog {
  Q_OBJECT

 public:
  StatusPicker(std::span<const StatusGroup> groups, int preselected, QWidget* parent);

  // The checked button's position in the status list, -1 when none.
  int chosenPosition() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void addNote(const QString& text);

 private:
  struct Button {
    QRadioButton* button;
    int position;
  };
  std::vector<Button> buttons_;
  QPushButton* btOK_;
};

// The event status picker.
class TfrmFltStatus : public StatusPicker {
  Q_OBJECT

 public:
  explicit TfrmFltStatus(int preselected, QWidget* parent = nullptr);
  // For the condition text of a Status line: the name of the chosen status
  // on OK, nothing on Cancel (the line keeps its text).
  static std::optional<std::string> execute(std::string_view conditionText, QWidget* parent = nullptr);
};

// The letter type picker.
class Tfrmfltlettertype : public StatusPicker {
  Q_OBJECT

 public:
  explicit Tfrmfltlettertype(int preselected, QWidget* parent = nullptr);
  // As TfrmFltStatus::execute, for a LetterType line.
  static std::optional<std::string> execute(std::string_view conditionText, QWidget* parent = nullptr);
};

}  // namespace vistrel::dialogs
