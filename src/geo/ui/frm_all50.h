// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QPixmap>
#include <QWidget>

#include <string_view>

class QLabel;

namespace vistrel::geo {

// The hidden window that holds the area-code pictures: one image per code of
// the state table, named "Image" followed by the code ("ImageCA"). It is
// never shown; the state window borrows its pictures.
class TFrmAll50 : public QWidget {
  Q_OBJECT

 public:
  explicit TFrmAll50(QWidget* parent = nullptr);

  // The image named "Image" + `code`, the name compared ignoring case;
  // nullptr when there is none.
  QLabel* image(std::string_view code) const;
  // Its picture; a null pixmap when there is no such image.
  QPixmap picture(std::string_view code) const;
};

// The one picture window of the program, made on first use and kept for the
// whole run.
TFrmAll50* FrmAll50();

}  // namespace vistrel::geo
