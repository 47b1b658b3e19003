// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QListWidget;

namespace vistrel::geo {

// The list of the zip values that are no US zip code, under the heading
// "Others...", with OK. Shown modally for one use.
class TFrmOther : public QDialog {
  Q_OBJECT

 public:
  explicit TFrmOther(QWidget* parent = nullptr);

  void setItems(const std::vector<std::string>& items);
  QListWidget* list() const { return list_; }

 private:
  QListWidget* list_;
};

}  // namespace vistrel::geo
