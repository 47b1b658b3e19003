// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "filter/ui/frm_flt_pick.h"

#include <QApplication>
#include <QFontMetrics>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFrame>
#include <QHeaderView>
#include <QImage>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>

#include <algorithm>
#include <set>

#include "host/assets.h"
#include "host/help.h"
#include "host/ui/messages.h"
#include "host/table.h"
#include "host/table_lookups.h"
#include "host/tallis_schema.h"
#include "host/ui/help_viewer.h"
#include "widgets/busy_cursor.h"
#include "widgets/form_helpers.h"

namespace vistrel::filter {
namespace {

using widgets::qtText;

constexpr int kAnimationFrames = 8;
constexpr int kAnimationSize = 32;
constexpr char kActivatedFilter[] = "Activated filter:";

QPixmap animationFrame(int frame) {
  static const QImage strip = [] {
    const auto bytes = host::asset("filter/animation.bmp");
    QImage image;
    if (bytes) image.loadFromData(reinterpret_cast<const uchar*>(bytes->data()), static_cast<int>(bytes->size()), "BMP");
    return image;
  }();
  if (strip.isNull()) return QPixmap();
  return QPixmap::fromImage(strip.copy(frame * kAnimationSize, 0, kAnimationSize, kAnimationSize));
}

}  // namespace

TfrmFltPick::TfrmFltPick(host::Engine& engine, FilterSession& session, QWidget* parent)
    : QDialog(parent),
      engine_(engine),
      session_(session),
      clock_(&host::SystemClock::instance()),
      filter_(session.activeFilter) {
  setObjectName(QStringLiteral("frmFltPick"));
  inputBox_ = [this](const QString& caption, const QString& prompt,
                     const QString& initial) -> std::optional<std::string> {
    bool ok = false;
    const QString text = QInputDialog::getText(this, caption, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok) return std::nullopt;
    return text.toStdString();
  };
  buildWindow();
  FormCreate();
}

TfrmFltPick::~TfrmFltPick() = default;

QPushButton* TfrmFltPick::addButton(const char* name, const QString& caption, int top,
                                    void (TfrmFltPick::*handler)()) {
  auto* b = new QPushButton(caption, this);
  b->setObjectName(QString::fromLatin1(name));
  b->setGeometry(468, top, 124, 26);
  b->setAutoDefault(false);
  connect(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
  return b;
}

void TfrmFltPick::buildWindow() {
  setWindowTitle(QStringLiteral("Select a filter"));
  setFixedSize(600, 420);
  buildHeader();
  buildGrid();
  buildTotals();
  buildButtons();
}

// The animation, the title and the WHO choice above the grid.
void TfrmFltPick::buildHeader() {
  animation_ = new QLabel(this);
  animation_->setObjectName(QStringLiteral("Animate1"));
  animation_->setGeometry(8, 6, kAnimationSize, kAnimationSize);
  animation_->setPixmap(animationFrame(0));
  animation_->setToolTip(QStringLiteral("Click to start or stop"));
  animation_->installEventFilter(this);
  animationTimer_ = new QTimer(this);
  animationTimer_->setInterval(120);
  connect(animationTimer_, &QTimer::timeout, this, [this] {
    animationFrame_ = (animationFrame_ + 1) % kAnimationFrames;
    animation_->setPixmap(animationFrame(animationFrame_));
  });

  title_ = new QLabel(this);
  title_->setObjectName(QStringLiteral("lblTitle"));
  QFont bold = title_->font();
  bold.setBold(true);
  bold.setPointSize(bold.pointSize() + 2);
  title_->setFont(bold);
  title_->setGeometry(48, 12, 200, 22);

  users_ = new QComboBox(this);
  users_->setObjectName(QStringLiteral("cbUsers"));
  users_->setToolTip(QStringLiteral("Filter the list by WHO"));
  users_->setGeometry(340, 10, 120, 24);
  connect(users_, &QComboBox::activated, this, [this] { cbUsersClick(); });
}

// The list of filters and its pop-up menu.
void TfrmFltPick::buildGrid() {
  model_ = new QStandardItemModel(0, 3, this);
  model_->setHorizontalHeaderLabels({QStringLiteral("Description"), QStringLiteral("DB"), QStringLiteral("Who")});
  grid_ = new QTableView(this);
  grid_->setObjectName(QStringLiteral("wwDBGrid1"));
  grid_->setModel(model_);
  grid_->setGeometry(8, 44, 452, 262);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->verticalHeader()->hide();
  // The arrows walk the rows; Tab goes on to the buttons.
  grid_->setTabKeyNavigation(false);
  // Widths in characters (54, 9 and 4), never narrower than the heading.
  const QFontMetrics fm = grid_->fontMetrics();
  const int chars[] = {54, 9, 4};
  for (int c = 0; c < 3; ++c) {
    const int heading = fm.horizontalAdvance(model_->headerData(c, Qt::Horizontal).toString()) + 16;
    grid_->setColumnWidth(c, std::max(chars[c] * fm.averageCharWidth(), heading));
  }
  connect(grid_, &QTableView::doubleClicked, this, [this] { BtActivateClick(); });

  menu_ = new QMenu(this);
  menu_->setObjectName(QStringLiteral("PopupMenu1"));
  const std::pair<const char*, void (TfrmFltPick::*)()> items[] = {
      {"Add", &TfrmFltPick::BtAddClick},           {"Delete", &TfrmFltPick::BtDeleteClick},
      {"Edit", &TfrmFltPick::BtEditClick},         {"Copy", &TfrmFltPick::btCopyClick},
      {"Activate", &TfrmFltPick::BtActivateClick}, {"Active Reverse", &TfrmFltPick::BtReverseClick},
      {"Deactivate", &TfrmFltPick::BtDeactivateClick}, {"Count", &TfrmFltPick::BtcountClick}};
  for (const auto& [text, handler] : items) {
    menu_->addAction(QString::fromLatin1(text), this, [this, h = handler] { (this->*h)(); });
  }
  grid_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(grid_, &QTableView::customContextMenuRequested, this,
          [this](const QPoint& p) { menu_->popup(grid_->viewport()->mapToGlobal(p)); });
}

// The three counters, the gauge and the yellow strip naming the active filter.
void TfrmFltPick::buildTotals() {
  const struct {
    const char* name;
    const char* caption;
    int left;
  } panels[] = {{"pnlActive", "Active", 8}, {"pnlReverse", "Reverse", 160}, {"pnlTotal", "Total", 312}};
  QLabel** values[] = {&active_, &reverse_, &total_};
  for (int i = 0; i < 3; ++i) {
    auto* caption = new QLabel(QString::fromLatin1(panels[i].caption), this);
    caption->setGeometry(panels[i].left, 312, 60, 22);
    auto* value = new QLabel(QStringLiteral("0"), this);
    value->setObjectName(QString::fromLatin1(panels[i].name));
    value->setFrameShape(QFrame::Panel);
    value->setFrameShadow(QFrame::Sunken);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setGeometry(panels[i].left + 60, 312, 84, 22);
    *values[i] = value;
  }
  gauge_ = new QProgressBar(this);
  gauge_->setObjectName(QStringLiteral("Gauge1"));
  gauge_->setRange(0, 100);
  gauge_->setValue(0);
  gauge_->setTextVisible(false);
  gauge_->setStyleSheet(QStringLiteral("QProgressBar { border: 1px solid gray; background: white; }"
                                       "QProgressBar::chunk { background: red; }"));
  gauge_->setGeometry(8, 340, 452, 6);

  yellow_ = new QFrame(this);
  yellow_->setObjectName(QStringLiteral("pnlYellow"));
  yellow_->setStyleSheet(QStringLiteral("background: yellow"));
  yellow_->setGeometry(8, 356, 452, 30);
  name_ = new QLabel(QString::fromLatin1(kActivatedFilter), this);
  name_->setObjectName(QStringLiteral("PFiltername"));
  name_->setGeometry(12, 360, 444, 22);
  name_->raise();
}

// The column of buttons on the right.
void TfrmFltPick::buildButtons() {
  activate_ = addButton("btActivate", QStringLiteral("Acti&vate"), 44, &TfrmFltPick::BtActivateClick);
  activate_->setDefault(true);
  reverseButton_ = addButton("btReverse", QStringLiteral("Activate &Reverse"), 74, &TfrmFltPick::BtReverseClick);
  deactivate_ = addButton("btDeactivate", QStringLiteral("&Deactivate"), 104, &TfrmFltPick::BtDeactivateClick);
  count_ = addButton("Btcount", QStringLiteral("&Count"), 134, &TfrmFltPick::BtcountClick);
  add_ = addButton("btAdd", QStringLiteral("&Add"), 174, &TfrmFltPick::BtAddClick);
  edit_ = addButton("btEdit", QStringLiteral("Edi&t"), 204, &TfrmFltPick::BtEditClick);
  copy_ = addButton("btCopy", QStringLiteral("Co&py"), 234, &TfrmFltPick::btCopyClick);
  delete_ = addButton("btDelete", QStringLiteral("D&elete"), 264, &TfrmFltPick::BtDeleteClick);
  help_ = addButton("btHelp", QStringLiteral("&Help"), 320, &TfrmFltPick::BtHelpClick);
  cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  cancel_->setObjectName(QStringLiteral("btCancel"));
  cancel_->setGeometry(468, 356, 124, 26);
  cancel_->setAutoDefault(false);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmFltPick::FormCreate() {
  counting_ = false;
  auto users = host::userListItems(engine_, true, session_.CurrentWho);
  if (!users.ok()) {
    host::ShowError(users.status().message());
    return;
  }
  for (const std::string& item : users->items) users_->addItem(qtText(item));
  users_->setCurrentIndex(users->selected);
  cbUsersClick();
  showActiveFilter();
}

void TfrmFltPick::selectinit(std::string database) {
  database_ = std::move(database);
  // The TODAY dates of an active filter count from now.
  if (filter_.active()) showFaults(filter_.prepareapply(*clock_, engine_.locale()));
  cbUsersClick();
  showActiveFilter();
}

void TfrmFltPick::showFaults(const DefinitionFaults& faults) {
  for (const DefinitionFault& f : faults) host::ShowError(f.message);
}

void TfrmFltPick::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TfrmFltPick::FormShow() {
  cbUsersClick();
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].shortname == filter_.name()) selectGridRow(static_cast<int>(i));
  }
}

void TfrmFltPick::closeEvent(QCloseEvent* event) {
  animationTimer_->stop();
  QDialog::closeEvent(event);
}

void TfrmFltPick::done(int result) {
  animationTimer_->stop();
  QDialog::done(result);
}

bool TfrmFltPick::eventFilter(QObject* watched, QEvent* event) {
  if (watched == animation_ && event->type() == QEvent::MouseButtonPress) {
    toggleAnimation();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

bool TfrmFltPick::animating() const { return animationTimer_->isActive(); }

void TfrmFltPick::toggleAnimation() {
  if (animationTimer_->isActive()) {
    animationTimer_->stop();
  } else {
    animationTimer_->start();
  }
}

void TfrmFltPick::reloadRows() {
  const std::string who = users_->currentIndex() > 0 ? users_->currentText().toStdString() : std::string();
  auto rows = listFilters(engine_, who);
  if (!rows.ok()) {
    host::ShowError(rows.status().message());
    rows_.clear();
  } else {
    rows_ = std::move(rows).value();
  }
  model_->setRowCount(0);
  for (const StoredFilter& r : rows_) {
    model_->appendRow({new QStandardItem(qtText(r.shortname)), new QStandardItem(qtText(r.db)),
                       new QStandardItem(qtText(r.who))});
  }
  if (!rows_.empty()) grid_->selectRow(0);
  dsSelectDataChange();
}

void TfrmFltPick::selectGridRow(int row) {
  grid_->selectRow(row);
  grid_->scrollTo(model_->index(row, 0));
}

void TfrmFltPick::selectKey(std::string_view frecno) {
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].frecno == frecno) selectGridRow(static_cast<int>(i));
  }
}

void TfrmFltPick::dsSelectDataChange() {
  title_->setText(QString::asprintf("%d Filters", static_cast<int>(rows_.size())));
}

std::optional<StoredFilter> TfrmFltPick::currentRow() const {
  const QModelIndexList selected = grid_->selectionModel()->selectedRows();
  if (selected.isEmpty()) return std::nullopt;
  const int row = selected.first().row();
  if (row < 0 || row >= static_cast<int>(rows_.size())) return std::nullopt;
  return rows_[static_cast<std::size_t>(row)];
}

void TfrmFltPick::cbUsersClick() {
  reloadRows();
  SetButtons();
}

void TfrmFltPick::SetButtons() {
  const bool any = !rows_.empty();
  for (QPushButton* b : {activate_, deactivate_, reverseButton_, count_, delete_, edit_}) b->setEnabled(any);
}

void TfrmFltPick::SetButtonState(bool on) {
  for (QPushButton* b : {activate_, reverseButton_, deactivate_, cancel_, add_, delete_, edit_, help_}) {
    b->setEnabled(on);
  }
  users_->setEnabled(on);
  grid_->setEnabled(on);
}

void TfrmFltPick::showActiveFilter() {
  const bool on = filter_.active();
  QString text = QString::fromLatin1(kActivatedFilter);
  if (on) {
    if (filter_.reverse()) text += QStringLiteral("[NOT] ");
    text += qtText(filter_.name());
  } else {
    text += QStringLiteral("None");
  }
  name_->setText(text);
  yellow_->setVisible(on);
}

void TfrmFltPick::activate(bool reverse) {
  const std::optional<StoredFilter> row = currentRow();
  showFaults(session_.activate(row ? *row : StoredFilter{}, reverse, *clock_, engine_.locale()));
  showActiveFilter();
  accept();
}

void TfrmFltPick::BtActivateClick() { activate(false); }

void TfrmFltPick::BtReverseClick() { activate(true); }

void TfrmFltPick::BtDeactivateClick() {
  filter_.deactivate();
  showActiveFilter();
  accept();
}

void TfrmFltPick::showCounts(const SelectionCount& count) {
  active_->setText(QString::number(count.matches));
  reverse_->setText(QString::number(count.total - count.matches));
  total_->setText(QString::number(count.total));
}

void TfrmFltPick::BtcountClick() {
  if (counting_) {
    counting_ = false;  // the running count stops at its next look
    return;
  }
  const std::optional<StoredFilter> row = currentRow();
  if (!row) return;
  host::Table contacts(engine_, std::string(host::kTallisAlias), std::string(host::kContactTableName));
  host::Status s = contacts.setIndexName("LastFirst");
  if (s.ok()) s = contacts.open();
  if (s.ok()) s = contacts.setRange({database_}, {database_});
  if (!s.ok()) {
    host::ShowError(s.message());
    return;
  }
  widgets::BusyCursor hourglass;
  if (const DefinitionFaults faults = session_.activate(*row, false, *clock_, engine_.locale()); !faults.empty()) {
    // A filter that cannot be activated counts nothing: counting it would
    // report every contact as a match.
    showActiveFilter();
    showFaults(faults);
    return;
  }
  showActiveFilter();
  counting_ = true;
  SetButtonState(false);
  count_->setText(QStringLiteral("&Abort count"));
  const host::StatusOr<SelectionCount> result = runCount(contacts);
  count_->setText(QStringLiteral("&Count"));
  SetButtonState(true);
  if (result.ok() && result->complete) showFinalCount(*result);
  counting_ = false;
  filter_.deactivate();
  showActiveFilter();
  if (!result.ok()) host::ShowError(result.status().message());
}

host::StatusOr<SelectionCount> TfrmFltPick::runCount(host::Table& contacts) {
  contacts.disableControls();
  // Every 10 contacts, once loopInterval_ has passed since the last time,
  // the panels show the figures and the window messages run (the painting,
  // a press of Abort): a count of a million contacts is not 100,000 paints.
  QElapsedTimer sinceLoop;
  sinceLoop.start();
  return filter_.countSelection(
      contacts, engine_,
      [&](const SelectionCount& soFar) {
        if (sinceLoop.elapsed() >= loopInterval_) {
          showCounts(soFar);
          QCoreApplication::processEvents();
          sinceLoop.restart();
        }
        return !counting_;
      },
      10);
}

void TfrmFltPick::showFinalCount(const SelectionCount& count) {
  showCounts(count);
  QCoreApplication::processEvents();
  if (count.total > 0) {
    const int percent = static_cast<int>(count.matches * 100 / count.total);
    gauge_->setValue(percent);
    gauge_->setToolTip(QString::number(percent) + QStringLiteral(" %"));
  }
}

bool TfrmFltPick::showCriteriaEditor(const StoredFilter* row) {
  if (!editor_) {
    host::ShowInformation("The criteria editor is not available in this version.");
    return false;
  }
  return editor_(this, row, database_);
}

void TfrmFltPick::BtAddClick() {
  const std::optional<StoredFilter> before = currentRow();
  std::set<std::string, std::less<>> known;
  for (const StoredFilter& r : rows_) known.insert(r.frecno);
  const bool added = showCriteriaEditor(nullptr);
  reloadRows();
  // The list stands on the new filter, or where it stood.
  const auto fresh =
      std::find_if(rows_.begin(), rows_.end(), [&](const StoredFilter& r) { return !known.contains(r.frecno); });
  if (added && fresh != rows_.end()) {
    selectGridRow(static_cast<int>(fresh - rows_.begin()));
  } else if (before) {
    selectKey(before->frecno);
  }
  SetButtons();
}

void TfrmFltPick::BtEditClick() {
  const std::optional<StoredFilter> row = currentRow();
  if (!row) return;
  if (showCriteriaEditor(&*row)) {
    filter_.deactivate();
    showActiveFilter();
  }
  reloadRows();
  selectKey(row->frecno);
  SetButtons();
}

void TfrmFltPick::BtDeleteClick() {
  const std::optional<StoredFilter> row = currentRow();
  if (!row) return;
  if (!host::AskYesNo("Delete filter. Are you sure?", host::MessageIcon::kQuestion)) return;
  if (host::Status s = deleteFilter(engine_, row->shortname); !s.ok()) host::ShowError(s.message());
  filter_.deactivate();
  showActiveFilter();
  reloadRows();
  SetButtons();
}

void TfrmFltPick::btCopyClick() {
  const std::optional<StoredFilter> row = currentRow();
  if (!row) return;
  const auto name =
      inputBox_(QStringLiteral("Name of new filter"), QStringLiteral("Filter name"), qtText(copyProposal(row->shortname)));
  if (!name) return;
  if (const host::Status s = copyFilter(engine_, row->shortname, *name, *clock_); !s.ok()) host::ShowError(s.message());
  reloadRows();
  SetButtons();
}

void TfrmFltPick::BtHelpClick() { host::showHelp(host::kHelpFilterList, this, host::HelpBook::kTaldb); }

}  // namespace vistrel::filter
