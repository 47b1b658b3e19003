// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "host/field_catalog.h"

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace vistrel::dialogs {

// The field picker: a tree of every field a filter can test, with the field
// of the current line selected. OK is enabled only on a field, never on a
// group heading; OK or a double click on a field returns its display text.
class TfrmFilterPopup : public QDialog {
  Q_OBJECT

 public:
  // `fieldText` is the label of the line's field (the text before " : ").
  explicit TfrmFilterPopup(std::string_view fieldText, QWidget* parent = nullptr);

  // Opens the picker modally; the chosen field's display text on OK.
  static std::optional<std::string> execute(std::string_view fieldText, QWidget* parent = nullptr);

  // The display text of the selected node.
  std::string chosenText() const;
  QTreeWidget* tree() const { return tree_; }

 private:
  void nodeClicked(QTreeWidgetItem* item);
  void nodeDoubleClicked(QTreeWidgetItem* item);

  QTreeWidget* tree_;
  QPushButton* btOK_;
  std::array<int, host::kFieldCount> nodeMap_{};
};

}  // namespace vistrel::dialogs
