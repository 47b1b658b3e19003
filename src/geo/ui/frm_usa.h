// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "geo/analysis_report.h"
#include "geo/ranges.h"
#include "geo/raster.h"
#include "geo/tally.h"
#include "host/status.h"
#include "host/table.h"

class QKeyEvent;
class QLabel;
class QPrinter;
class QPushButton;
class QRadioButton;
class QScrollArea;

namespace vistrel::widgets {
class SortableGrid;
}

namespace vistrel::geo {

class MapImage;

// The result window of the four analyses: the distinct values of one
// analysis in a grid, counted on request, with the US (or world) map.
// The main window creates it for one analysis, hands it the analysis report
// and shows it modally; it works on the main window's contact table, whose
// range the tally left on it. The window owns the report (values, others,
// counts); the grid only shows it, in the report's order after a Count.
//
// The window paints its own copies of the maps, so whatever Plot drew is
// gone with it. Count and the City plot walk the contact table on the user
// interface thread; Count lets window messages run now and then so that the
// progress window's Abort is heard, and a busy flag keeps a second start and
// the pointer's hover text out meanwhile.
class TFrmUSA : public QDialog {
  Q_OBJECT

 public:
  // Asks for the name of the file Save As writes; empty means cancelled.
  using SaveFileChooser = std::function<QString(QWidget* parent)>;
  // Sets up the printer Print prints on (the print dialog); false means
  // cancelled.
  using PrintSetup = std::function<bool(QPrinter& printer, QWidget* parent)>;

  // `contacts` must outlive the window.
  explicit TFrmUSA(host::Table& contacts, QWidget* parent = nullptr);

  // Sets the window up for the report's analysis and shows its values (and
  // others); the tally's walk is the gauge's maximum for the first Count.
  void setReport(AnalysisReport report);
  // Sets the window up for one analysis: title, column heading, help
  // context, and which controls show, move and work.
  void setAnalysis(Analysis kind);
  // The report's values: one grid row per value, in list order, below the
  // heading row; sets the unique-values label. Drops the count.
  void setValues(const std::vector<std::string>& values);
  // The Zip Code analysis's others list; captions the Others button.
  void setOthers(const std::vector<std::string>& others);
  // The number of contacts a Count will walk, when the caller knows it (the
  // tally that filled the window has just walked them): the gauge's maximum.
  // Without it the first Count asks the table, which costs a walk of its own
  // on a large table; a complete Count remembers what it walked.
  void setRecordCount(std::int64_t records) { recordCount_ = records; }
  // The saved filter that narrows the contacts (empty for none), named in
  // the reports Save As writes.
  void setActiveFilter(std::string name, bool reversed) {
    filterName_ = std::move(name);
    filterReversed_ = reversed;
  }
  // Seams for tests; by default the file and print dialogs ask the user.
  void setSaveFileChooser(SaveFileChooser chooser) { chooseSaveFile_ = std::move(chooser); }
  void setPrintSetup(PrintSetup setup) { setUpPrinter_ = std::move(setup); }
  // How often Count looks at the clock (every `stride` contacts) and lets
  // window messages run (when `intervalMs` have passed since they last did).
  void setCountPacing(std::int64_t stride, int intervalMs) {
    countStride_ = stride;
    pumpIntervalMs_ = intervalMs;
  }

  Analysis analysis() const { return report_.analysis().kind; }
  const AnalysisReport& report() const { return report_; }
  widgets::SortableGrid* grid() const { return grid_; }
  // The pictures as painted so far (the small one is the world map in the
  // Country mode).
  const Raster& smallMap() const { return smallMap_; }
  const Raster& bigMap() const { return bigMap_; }
  // Contacts that matched a row in the last Count.
  std::int64_t total() const { return report_.total(); }
  bool busy() const { return busy_; }
  // The state under the pointer at its last move over the small map.
  const std::string& hoverCode() const { return hoverCode_; }
  const RangeTable& ranges() const { return ranges_; }

  // Renders the window's image on `printer`. Reports a printer that cannot
  // start (an unwritable PDF file, say) and returns false.
  bool printWindow(QPrinter& printer);
  // The share text that follows a state's name in the hover label:
  // " (12.5%)", or empty before a Count or when the state has no row.
  std::string GetPercent(const std::string& name) const;

 public slots:
  void BtnCountClick();
  void BtnPlotClick();
  void Image1MouseMove(int x, int y);
  void Image1Click();
  void BtnOthersClick();
  void BtnSaveAsClick();
  void BtnPrintClick();
  void BtnRangesClick();
  void BtnHelpClick();
  void RbSmallMapClick();
  void RBBigMapClick();

 private:
  void FormCreate();
  void buildLegend();
  int buildGrid();
  void buildButtons();
  void applyStoredLayout();
  void SetRangeLabels();
  void showPictures();
  void fitCountColumn(const QStringList& counts);
  void showCounts();
  void plotStatesOrZips();
  void plotCity();
  host::Status saveReport(const QString& fileName, bool html);
  void keyPressEvent(QKeyEvent* event) override;

  host::Table& contacts_;
  AnalysisReport report_{Analysis::kState, std::string()};
  SaveFileChooser chooseSaveFile_;
  PrintSetup setUpPrinter_;
  int helpContext_ = 0;
  std::int64_t countStride_;
  int pumpIntervalMs_;
  bool busy_ = false;
  std::optional<std::int64_t> recordCount_;
  std::string filterName_;
  bool filterReversed_ = false;
  std::string hoverCode_;
  RangeTable ranges_;
  Raster smallMap_;
  Raster bigMap_;

  QLabel* title_ = nullptr;
  MapImage* image_ = nullptr;
  QScrollArea* bigPanel_ = nullptr;
  QLabel* bigImage_ = nullptr;
  QLabel* noContactMarker_ = nullptr;
  QLabel* noContactLabel_ = nullptr;
  QLabel* oneContactMarker_ = nullptr;
  QLabel* oneContactLabel_ = nullptr;
  QRadioButton* smallMapButton_ = nullptr;
  QRadioButton* bigMapButton_ = nullptr;
  QLabel* state_ = nullptr;
  QWidget* legend_ = nullptr;
  std::array<QLabel*, kRangeCount> rangeLabels_{};
  QLabel* unique_ = nullptr;
  QLabel* recTotal_ = nullptr;
  widgets::SortableGrid* grid_ = nullptr;
  QPushButton* othersButton_ = nullptr;
  QPushButton* plot_ = nullptr;
  QPushButton* rangesButton_ = nullptr;
};

}  // namespace vistrel::geo
