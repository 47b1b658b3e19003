// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "dialogs/relative_date_dialog_model.h"
#include "dialogs/ui/frm_pick_date.h"

class QBoxLayout;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QWidget;

namespace vistrel::dialogs {

// The picker of a date condition: a calendar date (with the year or the day
// disregarded) or a date relative to TODAY. The window binds a
// RelativeDateDialogModel, which holds the texts and the rules.
class Tfrmflttoday : public QDialog {
  Q_OBJECT

 public:
  Tfrmflttoday(std::string_view conditionText, const PickDateContext& context, QWidget* parent = nullptr);

  using Result = RelativeDateDialogModel::Result;
  // Opens the dialog modally for a condition text; on OK the new text and
  // whether the year or the day is disregarded (the editor then selects
  // "equals"); nothing on Cancel.
  static std::optional<Result> execute(std::string_view conditionText, const PickDateContext& context,
                                       QWidget* parent = nullptr);

  const RelativeDateDialogModel& model() const { return model_; }
  // OK: the warning when a part is disregarded, then close.
  void btOKClick();
  void popStartDateClick();

 private:
  // The window's parts, top to bottom.
  void buildCalendarPanel();
  void buildRelativePanel();
  QWidget* buildButtons();
  // Opens the model on the condition text and shows it.
  void showCondition(std::string_view conditionText);
  void connectControls();
  void keepOneSize(QBoxLayout* layout);
  void showMode();
  void showCalendarLabels();
  void showAnswer();

  PickDateContext context_;
  RelativeDateDialogModel model_;
  QRadioButton* rbDate_;
  QRadioButton* rbRelative_;
  QWidget* pnlTop_;
  QWidget* pnlBottom_;
  QPushButton* pnlAbsolute_;
  QLineEdit* Date1_;
  QCheckBox* cbIgnoreYear_;
  QCheckBox* cbIgnoreDay_;
  QLabel* lblMonth_;
  QLabel* lblDay_;
  QLabel* lblYear_;
  QLabel* pnlAnswer_;
  QLabel* lblComputeDate_;
  std::array<QSpinBox*, 4> spin_{};
};

}  // namespace vistrel::dialogs
