// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/ui/frm_ranges.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "host/help.h"
#include "host/ui/messages.h"
#include "host/ui/help_viewer.h"
#include "widgets/form_helpers.h"

namespace vistrel::geo {
namespace {

using widgets::namedButton;

constexpr int kLowestPercent = 1;
constexpr int kHighestPercent = 100;

QLabel* colourPanel(int index, QWidget* parent) {
  const Rgb c = kRangeColors[index];
  // Dark panels get a white caption so it stays readable.
  const bool dark = 299 * c.r + 587 * c.g + 114 * c.b < 128 * 1000;
  auto* panel = new QLabel(QStringLiteral("Range %1").arg(index + 1), parent);
  panel->setObjectName(QStringLiteral("PnlRange%1").arg(index + 1));
  panel->setAlignment(Qt::AlignCenter);
  panel->setMinimumSize(90, 22);
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setStyleSheet(QStringLiteral("QLabel { background-color: rgb(%1, %2, %3); color: %4; }")
                           .arg(c.r).arg(c.g).arg(c.b)
                           .arg(dark ? QStringLiteral("white") : QStringLiteral("black")));
  return panel;
}

QSpinBox* percentBox(const QString& name, QWidget* parent) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(name);
  box->setRange(kLowestPercent, kHighestPercent);
  box->setMinimumWidth(70);
  return box;
}

}  // namespace

TFrmRanges::TFrmRanges(RangeTable& table, std::filesystem::path iniFile, QWidget* parent)
    : QDialog(parent), table_(table), iniFile_(std::move(iniFile)) {
  setObjectName(QStringLiteral("FrmRanges"));
  setWindowTitle(QStringLiteral("Ranges"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);

  auto* grid = new QGridLayout;
  auto* legend = new QLabel(QStringLiteral("Legend"), this);
  QFont bold = legend->font();
  bold.setBold(true);
  legend->setFont(bold);
  grid->addWidget(legend, 0, 0, Qt::AlignCenter);
  grid->addWidget(new QLabel(QStringLiteral("Range Low"), this), 0, 1, Qt::AlignCenter);
  grid->addWidget(new QLabel(QStringLiteral("Range High"), this), 0, 2, Qt::AlignCenter);
  for (int i = 0; i < kRangeCount; ++i) {
    lows_[i] = percentBox(QStringLiteral("RangeLow%1").arg(i + 1), this);
    highs_[i] = percentBox(QStringLiteral("RangeHigh%1").arg(i + 1), this);
    grid->addWidget(colourPanel(i, this), i + 1, 0);
    grid->addWidget(lows_[i], i + 1, 1);
    grid->addWidget(highs_[i], i + 1, 2);
  }

  auto* ok = namedButton(QStringLiteral("OK"), QStringLiteral("BtnOK"), this);
  cancel_ = namedButton(QStringLiteral("Cancel"), QStringLiteral("BtnCancel"), this);
  auto* help = namedButton(QStringLiteral("&Help"), QStringLiteral("BtnHelp"), this);
  auto* defaults = namedButton(QStringLiteral("Defaults"), QStringLiteral("BitBtn1"), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &TFrmRanges::BtnOKClick);
  connect(cancel_, &QPushButton::clicked, this, &TFrmRanges::reject);
  connect(help, &QPushButton::clicked, this, &TFrmRanges::BtnHelpClick);
  connect(defaults, &QPushButton::clicked, this, &TFrmRanges::BitBtn1Click);

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(ok);
  buttons->addWidget(cancel_);
  buttons->addWidget(help);
  buttons->addStretch();
  buttons->addWidget(defaults);

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(grid);
  layout->addSpacing(12);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  FillRanges();
}

void TFrmRanges::FillRanges() {
  for (int i = 0; i < kRangeCount; ++i) {
    highs_[i]->setValue(table_.range(i).high);
    lows_[i]->setValue(table_.range(i).low);
  }
}

void TFrmRanges::BitBtn1Click() {
  if (!host::AskYesNo("Do you want to restore your ranges to default values?")) return;
  const RangeTable& defaults = RangeTable::defaults();
  for (int i = 0; i < kRangeCount; ++i) {
    lows_[i]->setValue(defaults.range(i).low);
    highs_[i]->setValue(defaults.range(i).high);
  }
}

host::Status TFrmRanges::WriteAndResetRanges() {
  RangeTable edited;
  for (int i = 0; i < kRangeCount; ++i) edited.setRange(i, {lows_[i]->value(), highs_[i]->value()});
  VISTREL_RETURN_IF_ERROR(edited.save(iniFile_));
  table_ = edited;
  return host::Status::OK();
}

void TFrmRanges::BtnOKClick() {
  const host::Status written = WriteAndResetRanges();
  if (!written.ok()) {
    // Nothing reached the file, so the caller's reload would silently bring
    // back the old ranges: say so and let the user decide.
    host::ShowError("Unable to save the ranges. " + written.message());
    return;
  }
  const RangeProblem problem = table_.check();
  if (!problem.ok()) {
    host::ShowError(problem.message());
    cancel_->setEnabled(false);
    return;
  }
  accept();
}

void TFrmRanges::BtnHelpClick() { host::showHelp(host::kHelpRanges, this); }

void TFrmRanges::reject() {
  if (!cancel_->isEnabled()) return;
  QDialog::reject();
}

}  // namespace vistrel::geo
