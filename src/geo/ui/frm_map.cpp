// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/ui/frm_map.h"

#include <QLabel>
#include <QPushButton>

namespace vistrel::geo {

TFrmMap::TFrmMap(QWidget* parent) : QDialog(parent), image_(new QLabel(this)) {
  setObjectName(QStringLiteral("FrmMap"));
  // A title bar without the close, help or system-menu icons.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(107, 171);

  image_->setObjectName(QStringLiteral("Image1"));
  image_->setGeometry(1, 1, 105, 105);
  image_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  auto* caption = new QLabel(QStringLiteral("Area Codes"), this);
  caption->setObjectName(QStringLiteral("Label1"));
  QFont italic = caption->font();
  italic.setItalic(true);
  caption->setFont(italic);
  caption->setAlignment(Qt::AlignCenter);
  caption->setGeometry(1, 110, 105, 20);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("BtnOK"));
  ok->setDefault(true);
  ok->setGeometry(16, 136, 75, 27);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void TFrmMap::setPicture(const QPixmap& picture) { image_->setPixmap(picture); }

}  // namespace vistrel::geo
