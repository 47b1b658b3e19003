// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include <array>
#include <filesystem>

#include "geo/ranges.h"
#include "host/status.h"

class QPushButton;
class QSpinBox;

namespace vistrel::geo {

// The modal dialog in which the user edits the bounds of the twelve count
// ranges. OK stores the bounds in the range table and the INI file first and
// checks them after: when a percentage from 1 to 100 is held by no range or
// by several, the dialog names it, stays open and no longer lets the user
// cancel (the stored ranges are then the failed ones until an OK passes).
// Cancel stores nothing. The caller reloads the ranges afterwards whatever
// the result. The dialog does not own the table.
class TFrmRanges : public QDialog {
  Q_OBJECT

 public:
  TFrmRanges(RangeTable& table, std::filesystem::path iniFile, QWidget* parent = nullptr);

  // The spin boxes "RangeLow1".."RangeLow12" and "RangeHigh1".."RangeHigh12"
  // by index 0 to 11.
  QSpinBox* rangeLow(int index) const { return lows_[index]; }
  QSpinBox* rangeHigh(int index) const { return highs_[index]; }

 public slots:
  void BitBtn1Click();  // Defaults
  void BtnOKClick();
  void BtnHelpClick();
  // Closing by Cancel, Escape or the title bar; refused once a check failed.
  void reject() override;

 private:
  void FillRanges();
  host::Status WriteAndResetRanges();

  RangeTable& table_;
  std::filesystem::path iniFile_;
  std::array<QSpinBox*, kRangeCount> lows_{};
  std::array<QSpinBox*, kRangeCount> highs_{};
  QPushButton* cancel_ = nullptr;
};

}  // namespace vistrel::geo
