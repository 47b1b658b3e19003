// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QPixmap>

class QLabel;

namespace vistrel::geo {

// The state window: the area-code picture of one state under its name, the
// italic caption "Area Codes" and OK. Shown modally for one use.
class TFrmMap : public QDialog {
  Q_OBJECT

 public:
  explicit TFrmMap(QWidget* parent = nullptr);

  void setPicture(const QPixmap& picture);
  QLabel* image() const { return image_; }

 private:
  QLabel* image_;
};

}  // namespace vistrel::geo
