// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include <array>

#include "filter/category_names.h"
#include "filter/category_selection.h"

class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace vistrel::filter {

// The modal "Category selection" dialog in which the user writes a category
// expression: typed, or built by double clicks on the current database's
// categories, with a group of examples that the window grows to show. OK
// keeps the answer (cut to 80 characters) only when it compiles; the check
// uses the dialog's own expression engine, never the active filter's.
class Tfrmfltsetcat : public QDialog {
  Q_OBJECT

 public:
  // `answer` is the condition the editor holds; `names` the current
  // database's category names (all empty when it has none).
  Tfrmfltsetcat(const QString& answer, const CategoryNames& names, QWidget* parent = nullptr);

  // The expression chosen; valid after the dialog closed with OK.
  QString expression() const { return result_; }
  bool examplesShown() const;

 public slots:
  void catlistDblClick();
  void answerChange(const QString& text);
  void OKBtnClick();
  void btExamplesClick();
  void showExample(int index);

 private:
  // The answer box with the buttons beside it; the category list; the examples.
  void buildAnswerRow();
  void buildDefinitionsBox(const CategoryNames& names);
  void buildExamplesBox();
  void clearExampleGrid();
  void resizeToShow(const QGroupBox* lastGroup);

  CategorySelection selection_;
  QString result_;
  QLineEdit* answer_ = nullptr;
  QPushButton* ok_ = nullptr;
  QListWidget* catlist_ = nullptr;
  QRadioButton* rbAnd_ = nullptr;
  QRadioButton* rbOr_ = nullptr;
  QGroupBox* definitions_ = nullptr;
  QGroupBox* examples_ = nullptr;
  std::array<QRadioButton*, 6> exampleButtons_{};
  QTableWidget* exampleGrid_ = nullptr;
};

}  // namespace vistrel::filter
