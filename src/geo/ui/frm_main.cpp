// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/ui/frm_main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFont>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTableView>

#include <memory>

#include "filter/ui/frm_flt_pick.h"
#include "geo/map_pictures.h"
#include "geo/ui/frm_about.h"
#include "geo/ui/frm_usa.h"
#include "geo/ui/raster_image.h"
#include "host/assets.h"
#include "host/help.h"
#include "host/ui/messages.h"
#include "host/ui/help_viewer.h"
#include "host/ui/table_model.h"
#include "widgets/busy_cursor.h"
#include "widgets/fitted_text.h"
#include "widgets/form_helpers.h"

namespace vistrel::geo {
namespace {

using widgets::qtText;

constexpr int kClientWidth = 541;
constexpr int kClientHeight = 402;
constexpr char kFilterOffText[] = "No Filters Selected";
constexpr char kRefuseDatabaseChange[] = "Filter Activated. To swicth databases, deactivate filter first.";
constexpr char kFilterActivated[] = "Activated filter : %s";
constexpr char kNoFilterActivated[] = "No filters activated.  All contacts selected.";

QIcon glyph(const char* asset) {
  const auto bytes = host::asset(asset);
  QPixmap picture;
  if (bytes) picture.loadFromData(reinterpret_cast<const uchar*>(bytes->data()), static_cast<uint>(bytes->size()), "BMP");
  return QIcon(picture);
}

}  // namespace

TFrmMain::TFrmMain(host::Engine& engine, filter::FilterSession& session, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      engine_(engine),
      session_(session),
      tables_(engine) {
  setObjectName(QStringLiteral("FrmMain"));
  buildWindow();
  FormCreate();
}

TFrmMain::~TFrmMain() {
  // The model watches the database table, which goes with tables_ after it.
  delete model_;
  model_ = nullptr;
}

QPushButton* TFrmMain::addButton(const char* name, const QString& caption, int top) {
  auto* b = new QPushButton(caption, this);
  b->setObjectName(QString::fromLatin1(name));
  b->setGeometry(364, top, 161, 27);
  b->setAutoDefault(false);
  return b;
}

void TFrmMain::buildWindow() {
  setFixedSize(kClientWidth, kClientHeight);

  title_ = new QLabel(QStringLiteral("Vistrel"), this);
  title_->setObjectName(QStringLiteral("LblTitle"));
  QFont big = title_->font();
  big.setPointSize(22);
  big.setBold(true);
  title_->setFont(big);
  title_->setStyleSheet(QStringLiteral("color: navy"));
  title_->setGeometry(16, 6, 330, 40);

  auto* american = new QLabel(QStringLiteral("American Version"), this);
  american->setObjectName(QStringLiteral("LblAmerican"));
  QFont italic = american->font();
  italic.setItalic(true);
  american->setFont(italic);
  american->setGeometry(20, 44, 200, 18);

  auto* map = new QLabel(this);
  map->setObjectName(QStringLiteral("Image1"));
  map->setPixmap(QPixmap::fromImage(toQImage(worldMap())));
  map->setGeometry(16, 68, 329, 219);

  int top = 68;
  for (const AnalysisInfo& a : allAnalyses()) {
    QPushButton* b = addButton(std::string(a.buttonName).c_str(), qtText(a.buttonCaption), top);
    connect(b, &QPushButton::clicked, this, [this, kind = a.kind] { BtnZipClick(kind); });
    top += 32;
  }
  // Help and About share one handler and open the About window; the help
  // page of the main window (context 50) is on F1.
  connect(addButton("BtnHelp", QStringLiteral("&Help"), 204), &QPushButton::clicked, this, &TFrmMain::BtnAboutClick);
  connect(addButton("BtnAbout", QStringLiteral("&About"), 236), &QPushButton::clicked, this,
          &TFrmMain::BtnAboutClick);
  connect(addButton("BtnClose", QStringLiteral("E&xit"), 268), &QPushButton::clicked, this,
          &TFrmMain::BtnCloseClick);

  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("Panel1"));
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Raised);
  panel->setGeometry(8, 298, 525, 98);

  grid_ = new QTableView(panel);
  grid_->setObjectName(QStringLiteral("wwDBGrid1"));
  grid_->setGeometry(6, 6, 384, 86);

  filterButton_ = new QPushButton(QStringLiteral("&Select a filter"), panel);
  filterButton_->setObjectName(QStringLiteral("btFilter"));
  filterButton_->setGeometry(398, 8, 120, 27);
  // Shown, unlike the stored layout, so that the filter list can be reached.
  connect(filterButton_, &QPushButton::clicked, this, &TFrmMain::btFilterClick);

  filterLine_ = new QLabel(panel);
  filterLine_->setObjectName(QStringLiteral("LblFilter"));
  filterLine_->setWordWrap(true);
  // A filter name is never markup.
  filterLine_->setTextFormat(Qt::PlainText);
  filterLine_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  filterLine_->setGeometry(398, 40, 120, 52);
  setFilterLine(QString::fromLatin1(kFilterOffText));
}

void TFrmMain::FormCreate() {
  title_->setText(QString::fromUtf8(host::kProgramTitle.data(), static_cast<qsizetype>(host::kProgramTitle.size())));
  setWindowTitle(title_->text());
  const host::Status opened = tables_.open();
  busy_ = false;
  refusing_ = false;
  session_.CurrentDB = tables_.currentDatabase();
  shown_ = false;

  model_ = new host::TableModel(tables_.databases(),
                                {{"DB", QStringLiteral("DB"), 11}, {"Description", QStringLiteral("Description"), 36}});
  const host::Status read = tables_.databases().isOpen() ? model_->reload() : host::Status::OK();
  host::bindTableView(grid_, model_);
  connect(model_, &host::TableModel::currentRowChanged, this, [this] { wwDataSource1DataChange(); });

  if (!opened.ok()) host::ShowError(opened.message());
  if (!read.ok()) host::ShowError(read.message());
}

void TFrmMain::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (event->spontaneous()) return;  // brought back from the task bar
  if (!centred_ && screen() != nullptr) {
    centred_ = true;
    move(screen()->availableGeometry().center() - rect().center());
  }
  FormShow();
}

void TFrmMain::FormShow() {
  shown_ = true;
  session_.CurrentDB = tables_.currentDatabase();
  toggleFilterGlyph();
}

void TFrmMain::closeEvent(QCloseEvent* event) {
  FormClose();
  QWidget::closeEvent(event);
}

void TFrmMain::FormClose() { session_.activeFilter.deactivate(); }

void TFrmMain::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    BtnHelpClick();
    return;
  }
  QWidget::keyPressEvent(event);
}

bool TFrmMain::filterActive() const { return session_.activeFilter.active(); }

void TFrmMain::installFilter() {
  const host::Status s = session_.activeFilter.install(tables_.contacts(), engine_);
  if (!s.ok()) host::ShowError(s.message());
}

void TFrmMain::toggleFilterGlyph() {
  filterButton_->setIcon(glyph(shown_ && filterActive() ? "filter/flt_on.bmp" : "filter/flt_off.bmp"));
}

void TFrmMain::btFilterClick() {
  if (filterList_ == nullptr) return;
  session_.CurrentDB = tables_.currentDatabase();
  host::Table& contacts = tables_.contacts();
  contacts.setFilterLines({"DB = \"" + session_.CurrentDB + "\""});
  installFilter();
  filterList_->selectinit(session_.CurrentDB);
  filterList_->setToolTipDuration(toolTipDuration());
  if (filterList_->exec() != QDialog::Rejected) filterList_->selectinit(session_.CurrentDB);
  installFilter();
  if (host::Status s = contacts.refresh(); !s.ok()) host::ShowError(s.message());
  showFilterLine();
  toggleFilterGlyph();
}

// The status line names the active filter ("[NOT]" before a reversed one's
// name, as the filter list has it); a name too long for it is cut with an
// ellipsis and shown whole as the line's tooltip.
void TFrmMain::showFilterLine() {
  QString text = QString::fromLatin1(kNoFilterActivated);
  if (filterActive()) {
    const filter::CompiledFilter& active = session_.activeFilter;
    const QString name = (active.reverse() ? QStringLiteral("[NOT] ") : QString()) + qtText(active.name());
    text = QString::fromLatin1(kFilterActivated).replace(QStringLiteral("%s"), name);
  }
  setFilterLine(text);
}

void TFrmMain::setFilterLine(const QString& text) {
  const widgets::FittedText fitted = widgets::fitText(text, filterLine_->font(), filterLine_->contentsRect().size());
  filterLine_->setText(fitted.shown);
  filterLine_->setToolTip(fitted.cut ? text : QString());
}

void TFrmMain::wwDataSource1DataChange() {
  if (!shown_ || !filterActive() || refusing_) return;
  // While a filter is active the database stays the one it was made for;
  // moving back raises this notification again, which refusing_ swallows.
  // The list is back on that database before the message shows.
  refusing_ = true;
  const auto back = tables_.databases().findKey({host::Value(session_.CurrentDB)});
  host::ShowInformation(kRefuseDatabaseChange);
  if (!back.ok()) host::ShowError(back.status().message());
  refusing_ = false;
}

void TFrmMain::BtnZipClick(Analysis kind) {
  if (busy_) return;
  busy_ = true;
  session_.CurrentDB = tables_.currentDatabase();
  TallyOutcome tally;
  {
    widgets::BusyCursor hourglass;
    installFilter();
    tally = tallyForWindow(tables_, session_.CurrentDB, kind);
  }
  if (tally.step != TallyStep::kOpenWindow) {
    busy_ = false;
    if (tally.step == TallyStep::kFailed) host::ShowError(tally.status.message());
    if (tally.step == TallyStep::kNoRecords) host::ShowInformation(kNoRecordsMessage);
    return;
  }

  auto window = std::make_unique<TFrmUSA>(tables_.contacts(), this);
  window->setReport(std::move(tally.report));
  const filter::CompiledFilter& active = session_.activeFilter;
  window->setActiveFilter(active.active() ? active.name() : std::string(), active.active() && active.reverse());
  busy_ = false;
  window->exec();
  window.reset();
  busy_ = false;
}

void TFrmMain::BtnAboutClick() {
  TfrmAbout about(QCoreApplication::applicationFilePath().toStdString(), tables_.databases().engine().locale(), this);
  about.exec();
}

void TFrmMain::BtnHelpClick() { host::showHelp(host::kHelpMainWindow, this); }

void TFrmMain::BtnCloseClick() { close(); }

}  // namespace vistrel::geo
