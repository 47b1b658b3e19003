// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/ui/frm_usa.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStringList>

#include <algorithm>
#include <climits>

#include "geo/address.h"
#include "geo/hit_table.h"
#include "geo/map_pictures.h"
#include "geo/plot.h"
#include "geo/report_export.h"
#include "geo/ui/frm_all50.h"
#include "geo/ui/frm_map.h"
#include "geo/ui/frm_other.h"
#include "geo/ui/frm_progress.h"
#include "geo/ui/frm_ranges.h"
#include "geo/ui/raster_image.h"
#include "host/clock.h"
#include "host/engine.h"
#include "host/environment.h"
#include "host/file_write.h"
#include "host/ui/messages.h"
#include "host/text.h"
#include "host/ui/help_viewer.h"
#include "widgets/sortable_grid.h"
#include "widgets/form_helpers.h"

namespace vistrel::geo {

// The small map's image control: shows its picture unscaled at its top left
// corner, so pointer positions over it are picture coordinates, and reports
// pointer moves and clicks.
class MapImage : public QLabel {
 public:
  explicit MapImage(QWidget* parent) : QLabel(parent) {
    setMouseTracking(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
  }

  std::function<void(int x, int y)> onMove;
  std::function<void()> onClick;

 protected:
  void mouseMoveEvent(QMouseEvent* event) override {
    const QPoint p = event->position().toPoint();
    if (onMove) onMove(p.x(), p.y());
    QLabel::mouseMoveEvent(event);
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && onClick) onClick();
  }
};

namespace {

using widgets::namedButton;

// The stored layout, in pixels of the client area.
constexpr int kClientHeight = 453;
constexpr QRect kSmallMapRect(8, 40, 464, 231);
constexpr QRect kWorldMapRect(20, 100, 329, 219);
constexpr QRect kBigPanelRect(8, 40, 425, 225);
constexpr QRect kNoContactMarkerRect(8, 281, 12, 12);
constexpr QRect kNoContactLabelRect(24, 278, 100, 18);
constexpr QRect kOneContactMarkerRect(8, 301, 12, 12);
constexpr QRect kOneContactLabelRect(24, 298, 100, 18);
constexpr QRect kSmallMapButtonRect(128, 276, 100, 20);
constexpr QRect kBigMapButtonRect(128, 296, 100, 20);
constexpr QRect kStateLabelRect(236, 285, 236, 20);
constexpr QRect kLegendRect(8, 318, 464, 96);
constexpr int kGridLeft = 478;
constexpr int kGridTop = 40;
constexpr int kGridHeight = 330;
constexpr int kValueColumnWidth = 122;
constexpr int kCountColumnWidth = 38;
constexpr int kButtonTop = 418;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 27;
// The City mode has no legend and moves the map and its controls down.
constexpr int kCityShift = 40;

// The count walks this many contacts between looks at the clock, and lets
// window messages run when this many milliseconds have passed since they
// last did: often enough for Abort and the gauge, rarely enough not to slow
// the count.
constexpr std::int64_t kCountStride = 1024;
constexpr int kPumpIntervalMs = 40;

constexpr Rgb kNavy{0, 0, 128};

QString qText(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QColor qColour(Rgb c) { return QColor(c.r, c.g, c.b); }

void colourMarker(QLabel* marker, Rgb c) {
  marker->setStyleSheet(
      QStringLiteral("QLabel { background-color: rgb(%1, %2, %3); border: 1px solid black; }").arg(c.r).arg(c.g).arg(c.b));
}

QLabel* marker(Rgb colour, const QString& name, QWidget* parent) {
  auto* m = new QLabel(parent);
  m->setObjectName(name);
  colourMarker(m, colour);
  return m;
}

QLabel* label(const QString& text, const QString& name, QWidget* parent) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(name);
  return l;
}

QString askSaveFileName(QWidget* parent) {
  QFileDialog dialog(parent, QStringLiteral("Create BMP"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters({QStringLiteral("Bitmap Files (*.bmp)"), QStringLiteral("HTML report (*.html)"),
                         QStringLiteral("GeoJSON (*.geojson)")});
  dialog.setDefaultSuffix(QStringLiteral("bmp"));
  // A name typed without an extension takes the chosen kind's.
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
    const qsizetype star = filter.lastIndexOf(QStringLiteral("*."));
    dialog.setDefaultSuffix(filter.mid(star + 2).chopped(1));
  });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().constFirst();
}

bool askPrinter(QPrinter& printer, QWidget* parent) {
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

// Writes the picture as a PNG file when the name ends in ".png", otherwise
// as a bitmap; the file appears whole or not at all.
host::Status writePicture(const Raster& picture, const QString& fileName) {
  if (picture.empty()) return host::Status::InvalidArgument("there is no picture to write");
  const bool png = fileName.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive);
  return host::writeFileAtomically(fileName.toStdString(), png ? picture.toPng() : picture.toBmp());
}

}  // namespace

TFrmUSA::TFrmUSA(host::Table& contacts, QWidget* parent)
    : QDialog(parent), contacts_(contacts), countStride_(kCountStride), pumpIntervalMs_(kPumpIntervalMs) {
  setObjectName(QStringLiteral("FrmUSA"));
  setWindowTitle(QStringLiteral("Vistrel Professional"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

  title_ = label(QString(), QStringLiteral("LblTitle"), this);
  QFont big = title_->font();
  big.setPointSize(16);
  big.setBold(true);
  title_->setFont(big);
  QPalette navy = title_->palette();
  navy.setColor(QPalette::WindowText, qColour(kNavy));
  title_->setPalette(navy);
  title_->setGeometry(8, 4, kSmallMapRect.width(), 32);

  image_ = new MapImage(this);
  image_->setObjectName(QStringLiteral("Image1"));
  image_->onMove = [this](int x, int y) { Image1MouseMove(x, y); };
  image_->onClick = [this] { Image1Click(); };

  noContactMarker_ = marker(kNoContactColor, QStringLiteral("ShpNoContact"), this);
  noContactLabel_ = label(QString(), QStringLiteral("LblNoContact"), this);
  oneContactMarker_ = marker(kOneContactColor, QStringLiteral("ShpOneContact"), this);
  oneContactLabel_ = label(QStringLiteral("1 Contact"), QStringLiteral("LblOneContact"), this);
  smallMapButton_ = new QRadioButton(QStringLiteral("S&mall Map"), this);
  smallMapButton_->setObjectName(QStringLiteral("RbSmallMap"));
  bigMapButton_ = new QRadioButton(QStringLiteral("&Big Map"), this);
  bigMapButton_->setObjectName(QStringLiteral("RBBigMap"));
  connect(smallMapButton_, &QRadioButton::clicked, this, &TFrmUSA::RbSmallMapClick);
  connect(bigMapButton_, &QRadioButton::clicked, this, &TFrmUSA::RBBigMapClick);
  state_ = label(QString(), QStringLiteral("LblState"), this);
  QFont bold = state_->font();
  bold.setBold(true);
  state_->setFont(bold);

  buildLegend();

  const int gridWidth = buildGrid();

  bigPanel_ = new QScrollArea(this);
  bigPanel_->setObjectName(QStringLiteral("PnlBigMap"));
  bigImage_ = new QLabel;
  bigImage_->setObjectName(QStringLiteral("Image2"));
  bigPanel_->setWidget(bigImage_);

  buildButtons();
  setFixedSize(kGridLeft + gridWidth + 8, kClientHeight);
  FormCreate();
}

// The value and count grid with the Others button below it; returns the
// grid's width.
int TFrmUSA::buildGrid() {
  grid_ = new widgets::SortableGrid(this);
  grid_->setObjectName(QStringLiteral("StringGrid1"));
  grid_->setColumnCount(2);
  grid_->setColumnWidth(0, kValueColumnWidth);
  grid_->setColumnWidth(1, kCountColumnWidth);
  grid_->horizontalHeader()->setStretchLastSection(false);
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // Both columns and the scroll bar fit side by side.
  const int gridWidth = kValueColumnWidth + kCountColumnWidth + 2 * grid_->frameWidth() +
                        grid_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid_);
  grid_->setGeometry(kGridLeft, kGridTop, gridWidth, kGridHeight);
  othersButton_ = namedButton(QString(), QStringLiteral("BtnOthers"), this);
  othersButton_->setGeometry(kGridLeft, kGridTop + kGridHeight + 6, gridWidth, 26);
  connect(othersButton_, &QPushButton::clicked, this, &TFrmUSA::BtnOthersClick);
  return gridWidth;
}

void TFrmUSA::buildLegend() {
  legend_ = new QWidget(this);
  legend_->setObjectName(QStringLiteral("PnlLegend"));
  legend_->setGeometry(kLegendRect);
  auto* heading = label(QStringLiteral("Legend"), QStringLiteral("LblLegend"), legend_);
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  heading->setGeometry(4, 0, 100, 18);
  constexpr int kPerRow = 4;
  constexpr int kCellWidth = 114;
  for (int i = 0; i < kRangeCount; ++i) {
    const int x = 4 + (i % kPerRow) * kCellWidth;
    const int y = 20 + (i / kPerRow) * 18;
    marker(kRangeColors[i], QStringLiteral("ShpRange%1").arg(i + 1), legend_)->setGeometry(x, y + 2, 12, 12);
    rangeLabels_[i] = label(QString(), QStringLiteral("LblRange%1").arg(i + 1), legend_);
    rangeLabels_[i]->setGeometry(x + 16, y, kCellWidth - 18, 16);
  }
  unique_ = label(QStringLiteral("Unique Values"), QStringLiteral("LblUnique"), legend_);
  unique_->setGeometry(4, 76, 200, 18);
  recTotal_ = label(QStringLiteral("Total Records (Not Counted)"), QStringLiteral("LblRecTotal"), legend_);
  recTotal_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  recTotal_->setGeometry(204, 76, kLegendRect.width() - 208, 18);
}

void TFrmUSA::buildButtons() {
  const struct {
    const char* text;
    const char* name;
    void (TFrmUSA::*click)();
  } row[] = {
      {"&Count", "BtnCount", &TFrmUSA::BtnCountClick},  {"P&lot", "BtnPlot", &TFrmUSA::BtnPlotClick},
      {"&Ranges", "BtnRanges", &TFrmUSA::BtnRangesClick}, {"&Print", "BtnPrint", &TFrmUSA::BtnPrintClick},
      {"Save &As", "BtnSaveAs", &TFrmUSA::BtnSaveAsClick}, {"&Help", "BtnHelp", &TFrmUSA::BtnHelpClick},
      {"E&xit", "BtnExit", nullptr},
  };
  int x = 8;
  for (const auto& b : row) {
    QPushButton* pb = namedButton(QString::fromLatin1(b.text), QString::fromLatin1(b.name), this);
    pb->setGeometry(x, kButtonTop, kButtonWidth, kButtonHeight);
    x += kButtonWidth + 8;
    if (b.click != nullptr) {
      connect(pb, &QPushButton::clicked, this, b.click);
    } else {
      connect(pb, &QPushButton::clicked, this, &QDialog::accept);
    }
  }
  plot_ = findChild<QPushButton*>(QStringLiteral("BtnPlot"));
  rangesButton_ = findChild<QPushButton*>(QStringLiteral("BtnRanges"));
}

void TFrmUSA::FormCreate() {
  busy_ = false;
  grid_->setCell(1, 0, QStringLiteral("#"));
  grid_->setSortFormat(1, widgets::SortFormat::kNumeric);
  SetRangeLabels();
  applyStoredLayout();
}

// Every control where the window's stored layout has it; setAnalysis() then
// makes the mode's changes.
void TFrmUSA::applyStoredLayout() {
  image_->setGeometry(kSmallMapRect);
  bigPanel_->setGeometry(kBigPanelRect);
  bigPanel_->hide();
  smallMapButton_->setChecked(true);
  image_->show();
  noContactMarker_->setGeometry(kNoContactMarkerRect);
  colourMarker(noContactMarker_, kNoContactColor);
  noContactLabel_->setGeometry(kNoContactLabelRect);
  noContactLabel_->setText(QStringLiteral("0 Contacts"));
  oneContactMarker_->setGeometry(kOneContactMarkerRect);
  oneContactLabel_->setGeometry(kOneContactLabelRect);
  smallMapButton_->setGeometry(kSmallMapButtonRect);
  bigMapButton_->setGeometry(kBigMapButtonRect);
  state_->setGeometry(kStateLabelRect);
  state_->setText(QStringLiteral("Selected State"));
  for (QWidget* w : std::initializer_list<QWidget*>{noContactMarker_, noContactLabel_, oneContactMarker_,
                                                     oneContactLabel_, smallMapButton_, bigMapButton_, state_,
                                                     legend_, othersButton_}) {
    w->show();
  }
  plot_->setEnabled(false);
  rangesButton_->setEnabled(true);
  smallMap_ = smallUsMap();
  bigMap_ = bigUsMap();
  showPictures();
}

void TFrmUSA::setReport(AnalysisReport report) {
  const std::vector<std::string> values = report.values();
  const std::vector<std::string> others = report.others();
  report_ = std::move(report);
  setAnalysis(report_.analysis().kind);
  setValues(values);
  setOthers(others);
  recordCount_ = report_.walked();
}

void TFrmUSA::setAnalysis(Analysis kind) {
  const AnalysisInfo& info = analysisInfo(kind);
  if (kind != report_.analysis().kind) {
    AnalysisReport fresh(kind, report_.database());
    fresh.setTally(TallyResult{report_.values(), report_.others(), report_.walked()});
    report_ = std::move(fresh);
  }
  title_->setText(qText(info.title));
  grid_->setCell(0, 0, qText(info.heading));
  helpContext_ = info.helpContext;
  applyStoredLayout();
  smallMapButton_->setVisible(info.bigMap);
  bigMapButton_->setVisible(info.bigMap);
  othersButton_->setVisible(info.others);
  legend_->setVisible(info.hasLegend());
  rangesButton_->setEnabled(info.hasLegend());
  plot_->setEnabled(info.map == MapKind::kContactDots);
  if (info.map == MapKind::kContactDots) {
    // The hover label goes down with the map, which would cover it.
    for (QWidget* w : std::initializer_list<QWidget*>{noContactMarker_, noContactLabel_, image_, bigPanel_,
                                                       smallMapButton_, bigMapButton_, state_}) {
      w->move(w->x(), w->y() + kCityShift);
    }
    colourMarker(noContactMarker_, kOneContactColor);
    noContactLabel_->setText(QStringLiteral("Contacts Found"));
    oneContactMarker_->hide();
    oneContactLabel_->hide();
  }
  if (info.map == MapKind::kWorld) {
    smallMap_ = worldMap();
    image_->setGeometry(kWorldMapRect);
    showPictures();
    for (QWidget* w : std::initializer_list<QWidget*>{noContactMarker_, noContactLabel_, oneContactMarker_,
                                                       oneContactLabel_, state_}) {
      w->hide();
    }
  }
}

void TFrmUSA::setValues(const std::vector<std::string>& values) {
  report_.setTally(TallyResult{values, report_.others(), report_.walked()});
  grid_->setRowCount(static_cast<int>(values.size()) + 1);
  QStringList texts;
  texts.reserve(static_cast<qsizetype>(values.size()));
  for (const std::string& v : values) texts << QString::fromStdString(v);
  grid_->setColumnTexts(0, texts);
  unique_->setText(QStringLiteral("%1 Unique Values").arg(values.size()));
}

void TFrmUSA::setOthers(const std::vector<std::string>& others) {
  report_.setTally(TallyResult{report_.values(), others, report_.walked()});
  othersButton_->setText(QStringLiteral("Others (%1)").arg(others.size()));
  othersButton_->setEnabled(!others.empty());
}

void TFrmUSA::SetRangeLabels() {
  ranges_ = RangeTable::load(host::programIniPath());
  for (int i = 0; i < kRangeCount; ++i) rangeLabels_[i]->setText(qText(ranges_.label(i)));
}

void TFrmUSA::showPictures() {
  image_->setPixmap(QPixmap::fromImage(toQImage(smallMap_)));
  bigImage_->setPixmap(QPixmap::fromImage(toQImage(bigMap_)));
  bigImage_->resize(bigImage_->sizeHint());
}

void TFrmUSA::BtnCountClick() {
  if (busy_) return;
  busy_ = true;
  if (!recordCount_) {
    const auto records = contacts_.recordCount();
    if (!records.ok()) {
      host::ShowError(records.status().message());
      busy_ = false;
      return;
    }
    recordCount_ = *records;
  }

  TFrmProgress* progress = FrmProgress();
  progress->start(static_cast<int>(std::min<std::int64_t>(*recordCount_, INT_MAX)));
  grid_->setSortable(false);
  report_.clearCount();
  showCounts();

  QElapsedTimer clock;
  clock.start();
  qint64 nextPump = pumpIntervalMs_;
  const host::Status counted = report_.count(
      contacts_,
      [&](std::int64_t visited) {
        if (clock.elapsed() < nextPump) return false;
        progress->setPosition(static_cast<int>(std::min<std::int64_t>(visited, INT_MAX)));
        QCoreApplication::processEvents();
        nextPump = clock.elapsed() + pumpIntervalMs_;
        return progress->aborted();
      },
      countStride_);
  const bool aborted = progress->aborted();
  progress->finish();
  grid_->setSortable(true);
  busy_ = false;
  if (aborted) report_.markIncomplete();
  showCounts();
  if (!counted.ok()) {
    host::ShowError(counted.message());
    return;
  }
  if (report_.complete()) recordCount_ = report_.countWalked();
  if (report_.analysis().map != MapKind::kWorld) plot_->setEnabled(true);
}

// The count column and the total label as the report has them; the rows go
// back to the report's order.
void TFrmUSA::showCounts() {
  const int rows = static_cast<int>(report_.values().size());
  QStringList values, counts;
  values.reserve(rows);
  counts.reserve(rows);
  for (std::size_t i = 0; i < report_.values().size(); ++i) {
    values << QString::fromStdString(report_.values()[i]);
    counts << (report_.counted() ? QString::number(report_.counts()[i]) : QString());
  }
  grid_->setColumnTexts(0, values);
  grid_->setColumnTexts(1, counts);
  fitCountColumn(counts);
  recTotal_->setText(QString::fromStdString(report_.totalText()));
}

// Large counts get the room they need from the value column, so that no
// digit is cut off; the two columns keep their joint width.
void TFrmUSA::fitCountColumn(const QStringList& counts) {
  qsizetype widest = 0;
  for (const QString& c : counts) widest = std::max(widest, c.size());
  const int needed = grid_->fontMetrics().horizontalAdvance(QString(widest, QLatin1Char('8'))) + 10;
  const int count = std::max(kCountColumnWidth, needed);
  grid_->setColumnWidth(1, count);
  grid_->setColumnWidth(0, kValueColumnWidth + kCountColumnWidth - count);
}

void TFrmUSA::BtnPlotClick() {
  if (busy_) return;
  if (report_.analysis().map == MapKind::kContactDots) {
    plotCity();
  } else if (report_.analysis().hasLegend()) {
    plotStatesOrZips();
  }
}

void TFrmUSA::plotStatesOrZips() {
  if (report_.total() <= 0) {
    host::ShowInformation("No contacts were counted, so there is nothing to plot.");
    return;
  }
  (void)report_.plot(contacts_, smallMap_, bigMap_, ranges_);
  showPictures();
}

void TFrmUSA::plotCity() {
  busy_ = true;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const host::Status drawn = report_.plot(contacts_, smallMap_, bigMap_, ranges_);
  QApplication::restoreOverrideCursor();
  busy_ = false;
  showPictures();
  if (!drawn.ok()) host::ShowError(drawn.message());
}

std::string TFrmUSA::GetPercent(const std::string& name) const {
  return report_.GetPercent(name, contacts_.engine().locale());
}

void TFrmUSA::Image1MouseMove(int x, int y) {
  if (report_.analysis().map == MapKind::kWorld || busy_) return;
  busy_ = true;
  const std::string name = StateAtPoint(x, y);
  hoverCode_ = name.empty() ? std::string() : std::string(host::utf8Left(StateAbbreviation(name), 2));
  if (report_.analysis().hoverShare) {
    state_->setText(name.empty() ? QString() : QString::fromStdString(name + GetPercent(name)));
  } else {
    state_->setText(QString::fromStdString(name));
  }
  busy_ = false;
}

void TFrmUSA::Image1Click() {
  if (hoverCode_.empty()) return;
  TFrmMap map(this);
  map.setWindowTitle(qText(StateDisplayName(hoverCode_)));
  map.setPicture(FrmAll50()->picture(hoverCode_));
  map.exec();
}

void TFrmUSA::BtnOthersClick() {
  TFrmOther others(this);
  others.setItems(report_.others());
  others.exec();
}

void TFrmUSA::BtnSaveAsClick() {
  const QString fileName = chooseSaveFile_ ? chooseSaveFile_(this) : askSaveFileName(this);
  if (fileName.isEmpty()) return;
  const bool html = fileName.endsWith(QStringLiteral(".html"), Qt::CaseInsensitive) ||
                    fileName.endsWith(QStringLiteral(".htm"), Qt::CaseInsensitive);
  if (html || fileName.endsWith(QStringLiteral(".geojson"), Qt::CaseInsensitive)) {
    const host::Status written = saveReport(fileName, html);
    if (!written.ok()) {
      host::ShowError("Unable to save the report to " + fileName.toStdString() + ": " + written.message());
    }
    return;
  }
  // The radio buttons only show where there is a big map.
  const bool big = bigMapButton_->isChecked() && report_.analysis().bigMap;
  const host::Status written = writePicture(big ? bigMap_ : smallMap_, fileName);
  if (!written.ok()) host::ShowError("Unable to save the map to " + fileName.toStdString() + ": " + written.message());
}

// The report of what the window holds: its values, the count when there is
// one, its ranges. The City page walks the contacts for the dots of their
// zip codes, as Plot does.
host::Status TFrmUSA::saveReport(const QString& fileName, bool html) {
  ReportContext context;
  context.filter = filterName_;
  context.reversed = !filterName_.empty() && filterReversed_;
  context.date = reportDate(host::SystemClock::instance().now());
  context.ranges = ranges_;
  context.locale = contacts_.engine().locale();
  if (html && report_.analysis().map == MapKind::kContactDots) {
    busy_ = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto zips = contactZipCodes(contacts_, report_.database());
    QApplication::restoreOverrideCursor();
    busy_ = false;
    if (!zips.ok()) return zips.status();
    context.contactZips = std::move(zips).value();
  }
  const std::string text = html ? htmlReport(report_, context) : geoJsonReport(report_, context);
  return host::writeFileAtomically(fileName.toStdString(), text);
}

void TFrmUSA::BtnPrintClick() {
  QPrinter printer(QPrinter::HighResolution);
  const bool confirmed = setUpPrinter_ ? setUpPrinter_(printer, this) : askPrinter(printer, this);
  if (confirmed) printWindow(printer);
}

bool TFrmUSA::printWindow(QPrinter& printer) {
  const QPixmap image = grab();
  QPainter painter;
  if (!painter.begin(&printer)) {
    host::ShowError("Unable to print: the printer could not be started.");
    return false;
  }
  // The window at its size on the screen, or smaller when the page is.
  const QRect page = painter.viewport();
  const double scale = static_cast<double>(printer.logicalDpiX()) / std::max(1, logicalDpiX());
  QSize size = image.size() * scale;
  if (size.width() > page.width() || size.height() > page.height()) size.scale(page.size(), Qt::KeepAspectRatio);
  painter.drawPixmap(QRect(page.topLeft(), size), image);
  return painter.end();
}

void TFrmUSA::BtnRangesClick() {
  {
    TFrmRanges dialog(ranges_, host::programIniPath(), this);
    dialog.exec();
  }
  SetRangeLabels();
}

void TFrmUSA::BtnHelpClick() { host::showHelp(helpContext_, this); }

void TFrmUSA::keyPressEvent(QKeyEvent* event) {
  // Only Exit closes the window: Escape would throw away the counts and the
  // painted map.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TFrmUSA::RbSmallMapClick() {
  bigPanel_->hide();
  image_->show();
}

void TFrmUSA::RBBigMapClick() {
  // The panel is a little smaller than the small map; hide what it would
  // leave showing around it.
  image_->hide();
  bigPanel_->show();
  bigPanel_->raise();
}

}  // namespace vistrel::geo
