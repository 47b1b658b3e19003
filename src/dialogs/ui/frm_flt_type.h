// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QRadioButton;

namespace vistrel::dialogs {

// The event type picker: seven buttons for the event types a filter offers.
// The button whose word equals the condition text is checked ("&Call" when
// none does); OK or a double click returns the checked button's word.
class TfrmFltType : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmFltType(std::string_view conditionText, QWidget* parent = nullptr);

  // Opens the picker modally; the chosen word ("CALL", "TO-DO", ...) on OK.
  static std::optional<std::string> execute(std::string_view conditionText, QWidget* parent = nullptr);

  std::string chosenWord() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::vector<QRadioButton*> buttons_;
};

}  // namespace vistrel::dialogs
