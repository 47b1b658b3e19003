// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/ui/frm_other.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vistrel::geo {

TFrmOther::TFrmOther(QWidget* parent) : QDialog(parent), list_(new QListWidget(this)) {
  setObjectName(QStringLiteral("FrmOther"));
  setWindowTitle(QStringLiteral("Vistrel Professional"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);

  auto* heading = new QLabel(QStringLiteral("Others..."), this);
  heading->setObjectName(QStringLiteral("Label1"));
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);

  list_->setObjectName(QStringLiteral("ListBox1"));
  list_->setFixedSize(200, 240);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("BtnOK"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading);
  layout->addWidget(list_);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TFrmOther::setItems(const std::vector<std::string>& items) {
  list_->clear();
  QStringList texts;
  texts.reserve(static_cast<qsizetype>(items.size()));
  for (const std::string& item : items) texts << QString::fromStdString(item);
  list_->addItems(texts);
}

}  // namespace vistrel::geo
