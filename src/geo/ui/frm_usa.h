// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "geo/tally.h"
#include "host/table.h"

class QLabel;
class QPushButton;

namespace vistrel::widgets {
class SortableGrid;
}

namespace vistrel::geo {

// The result window of the four analyses: the distinct values of one
// analysis in a grid, counted on request, with the US (or world) map.
// The main window creates it for one analysis, fills it and shows it
// modally; it works on the main window's contact table, whose range the
// tally left on it. It turns the open-window switch back on when it goes.
class TFrmUSA : public QDialog {
  Q_OBJECT

 public:
  // `contacts` must outlive the window.
  explicit TFrmUSA(host::Table& contacts, QWidget* parent = nullptr);
  ~TFrmUSA() override;

  // Sets the window up for one analysis: title, column heading, help
  // context, and which controls show.
  void setAnalysis(Analysis kind);
  // One grid row per value, in list order, below the heading row; sets the
  // unique-values label.
  void setValues(const std::vector<std::string>& values);
  // The Zip Code analysis's others list; captions the Others button.
  void setOthers(const std::vector<std::string>& others);
  // What the City plot calls to put the range on the contact table again
  // (the main window's Zip Code tally, run with the open-window switch off).
  void setZipTally(std::function<void()> tally) { zipTally_ = std::move(tally); }

  Analysis analysis() const { return analysis_; }
  widgets::SortableGrid* grid() const { return grid_; }

 private:
  host::Table& contacts_;
  Analysis analysis_ = Analysis::kState;
  std::vector<std::string> others_;
  std::function<void()> zipTally_;
  int helpContext_ = 0;
  QLabel* title_ = nullptr;
  QLabel* unique_ = nullptr;
  QPushButton* others_button_ = nullptr;
  widgets::SortableGrid* grid_ = nullptr;
};

}  // namespace vistrel::geo
