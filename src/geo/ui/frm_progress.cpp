// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/ui/frm_progress.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace vistrel::geo {

TFrmProgress::TFrmProgress(QWidget* parent)
    : QDialog(parent), heading_(new QLabel(this)), gauge_(new QProgressBar(this)), abort_(new QPushButton(this)) {
  setObjectName(QStringLiteral("FrmProgress"));
  setWindowTitle(QStringLiteral("Counting Records"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  // While it is shown the count runs inside the caller's code: take the input
  // from every other window, including a modal one that started the count.
  setWindowModality(Qt::ApplicationModal);

  heading_->setText(QStringLiteral("Counting Records"));
  heading_->setObjectName(QStringLiteral("LblHeading"));
  QFont f = heading_->font();
  f.setBold(true);
  f.setPointSizeF(f.pointSizeF() * 1.3);
  heading_->setFont(f);
  heading_->setAlignment(Qt::AlignCenter);

  gauge_->setObjectName(QStringLiteral("Gauge1"));
  gauge_->setMinimumWidth(260);
  gauge_->setTextVisible(true);
  gauge_->setStyleSheet(QStringLiteral(
      "QProgressBar { border: 1px solid #808080; background: white; text-align: center; }"
      "QProgressBar::chunk { background-color: #000080; }"));

  abort_->setObjectName(QStringLiteral("BitBtn1"));
  abort_->setText(QStringLiteral("Abort"));
  abort_->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
  abort_->setDefault(true);
  connect(abort_, &QPushButton::clicked, this, &TFrmProgress::BitBtn1Click);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading_);
  layout->addWidget(gauge_);
  layout->addWidget(abort_, 0, Qt::AlignHCenter);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  reset();
}

void TFrmProgress::start(int recordCount) {
  aborted_ = false;
  setRange(1, recordCount);
  setPosition(0);
  show();
  raise();
  QCoreApplication::processEvents();
}

void TFrmProgress::finish() {
  hide();
  setTask(QStringLiteral("Counting Records"), QStringLiteral("Counting Records"), true);
}

void TFrmProgress::setTask(const QString& caption, const QString& heading, bool abortable) {
  setWindowTitle(caption);
  setHeading(heading);
  abortable_ = abortable;
  abort_->setVisible(abortable);
}

void TFrmProgress::setHeading(const QString& heading) { heading_->setText(heading); }

void TFrmProgress::setRange(int minimum, int maximum) {
  gauge_->setRange(minimum, std::max(minimum, maximum));
}

void TFrmProgress::setPosition(int position) {
  if (position < gauge_->minimum()) {
    gauge_->reset();
    return;
  }
  gauge_->setValue(std::min(position, gauge_->maximum()));
}

void TFrmProgress::reset() {
  aborted_ = false;
  gauge_->reset();
}

void TFrmProgress::BitBtn1Click() { aborted_ = true; }

void TFrmProgress::reject() {
  // The count hides the window when it ends; closing it early means stop,
  // where the task can stop at all.
  if (abortable_) BitBtn1Click();
}

TFrmProgress* FrmProgress() {
  static TFrmProgress* window = nullptr;
  if (window == nullptr) window = new TFrmProgress();
  return window;
}

}  // namespace vistrel::geo
