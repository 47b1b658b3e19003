// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "filter/ui/frm_flt_pick.h"

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
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>

#include <algorithm>

#include "host/assets.h"
#include "host/help.h"
#include "host/ui/messages.h"
#include "host/table_lookups.h"
#include "host/ui/help_viewer.h"
#include "widgets/busy_cursor.h"
#include "widgets/fitted_text.h"
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
    : QDialog(parent), list_(engine, session), engine_(engine), session_(session) {
  setObjectName(QStringLiteral("frmFltPick"));
  inputBox_ = [this](const QString& caption, const QString& prompt, const QString& initial) {
    return askName(caption, prompt, initial);
  };
  buildWindow();
  FormCreate();
}

TfrmFltPick::~TfrmFltPick() = default;

std::optional<std::string> TfrmFltPick::askName(const QString& caption, const QString& prompt,
                                                const QString& initial) {
  QInputDialog box(this);
  box.setObjectName(QStringLiteral("copyName"));
  box.setInputMode(QInputDialog::TextInput);
  box.setWindowTitle(caption);
  box.setLabelText(prompt);
  box.setTextValue(initial);
  // The name box is wide enough for the proposed name, or a name of 60
  // characters when that is longer, and so the box for its caption in the
  // title bar (the box's layout takes its width from the name box).
  auto* name = box.findChild<QLineEdit*>();
  if (name != nullptr) {
    const QFontMetrics fm(name->font());
    const int text = std::max({fm.horizontalAdvance(initial), 60 * fm.averageCharWidth(),
                               fm.horizontalAdvance(caption) + 120});
    name->setMinimumWidth(std::min(text + 32, 900));
  }
  if (box.exec() != QDialog::Accepted) return std::nullopt;
  return box.textValue().toStdString();
}

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
  gridModel_ = new QStandardItemModel(0, 3, this);
  gridModel_->setHorizontalHeaderLabels(
      {QStringLiteral("Description"), QStringLiteral("DB"), QStringLiteral("Who")});
  grid_ = new QTableView(this);
  grid_->setObjectName(QStringLiteral("wwDBGrid1"));
  grid_->setModel(gridModel_);
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
    const int heading = fm.horizontalAdvance(gridModel_->headerData(c, Qt::Horizontal).toString()) + 16;
    grid_->setColumnWidth(c, std::max(chars[c] * fm.averageCharWidth(), heading));
  }
  connect(grid_, &QTableView::doubleClicked, this, [this] { BtActivateClick(); });
  // The row the user moves to is the row the model stands on.
  connect(grid_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    if (showingRows_) return;
    const QModelIndexList selected = grid_->selectionModel()->selectedRows();
    list_.setCurrent(selected.isEmpty() ? -1 : selected.first().row());
    SetButtons();
  });

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

// What the count covers, the three counters, the gauge and the yellow strip
// naming the active filter.
void TfrmFltPick::buildTotals() {
  counted_ = new QLabel(this);
  counted_->setObjectName(QStringLiteral("lblCounted"));
  counted_->setTextFormat(Qt::PlainText);
  counted_->setGeometry(8, 312, 452, 20);
  const struct {
    const char* name;
    const char* caption;
    int left;
  } panels[] = {{"pnlActive", "Active", 8}, {"pnlReverse", "Reverse", 160}, {"pnlTotal", "Total", 312}};
  QLabel** values[] = {&active_, &reverse_, &total_};
  for (int i = 0; i < 3; ++i) {
    auto* caption = new QLabel(QString::fromLatin1(panels[i].caption), this);
    caption->setGeometry(panels[i].left, 334, 60, 22);
    auto* value = new QLabel(this);
    value->setObjectName(QString::fromLatin1(panels[i].name));
    value->setFrameShape(QFrame::Panel);
    value->setFrameShadow(QFrame::Sunken);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setGeometry(panels[i].left + 60, 334, 84, 22);
    *values[i] = value;
  }
  gauge_ = new QProgressBar(this);
  gauge_->setObjectName(QStringLiteral("Gauge1"));
  gauge_->setRange(0, 100);
  gauge_->setValue(0);
  gauge_->setTextVisible(false);
  gauge_->setStyleSheet(QStringLiteral("QProgressBar { border: 1px solid gray; background: white; }"
                                       "QProgressBar::chunk { background: red; }"));
  gauge_->setGeometry(8, 362, 452, 6);

  yellow_ = new QFrame(this);
  yellow_->setObjectName(QStringLiteral("pnlYellow"));
  yellow_->setStyleSheet(QStringLiteral("background: yellow"));
  yellow_->setGeometry(8, 376, 452, 30);
  name_ = new QLabel(QString::fromLatin1(kActivatedFilter), this);
  name_->setObjectName(QStringLiteral("PFiltername"));
  name_->setTextFormat(Qt::PlainText);
  name_->setGeometry(12, 380, 444, 22);
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
  help_ = addButton("btHelp", QStringLiteral("&Help"), 334, &TfrmFltPick::BtHelpClick);
  cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  cancel_->setObjectName(QStringLiteral("btCancel"));
  cancel_->setGeometry(468, 378, 124, 26);
  cancel_->setAutoDefault(false);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmFltPick::FormCreate() {
  auto users = host::userListItems(engine_, true, session_.CurrentWho);
  if (!users.ok()) {
    host::ShowError(users.status().message());
    return;
  }
  for (const std::string& item : users->items) users_->addItem(qtText(item));
  users_->setCurrentIndex(users->selected);
  cbUsersClick();
}

void TfrmFltPick::selectinit(std::string database) {
  showMessages(list_.setDatabase(std::move(database)));
  showAll();
}

void TfrmFltPick::showMessages(const FilterListModel::Messages& messages) {
  for (const std::string& m : messages) host::ShowError(m);
}

void TfrmFltPick::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TfrmFltPick::FormShow() {
  showMessages(list_.reopen());
  showAll();
}

// Whatever closes the window (a button, Escape, the close box) waits for a
// running count to stop; the count's end closes it.
void TfrmFltPick::done(int result) {
  if (!list_.requestClose()) return;
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

void TfrmFltPick::showAll() {
  showRows();
  SetButtons();
  showActiveFilter();
  showFigures();
}

void TfrmFltPick::showRows() {
  showingRows_ = true;
  gridModel_->setRowCount(0);
  for (const StoredFilter& r : list_.rows()) {
    gridModel_->appendRow({new QStandardItem(qtText(r.shortname)), new QStandardItem(qtText(r.db)),
                           new QStandardItem(qtText(r.who))});
  }
  if (list_.current() >= 0) {
    grid_->selectRow(list_.current());
    grid_->scrollTo(gridModel_->index(list_.current(), 0));
  } else {
    grid_->clearSelection();
  }
  showingRows_ = false;
  dsSelectDataChange();
}

void TfrmFltPick::dsSelectDataChange() {
  title_->setText(QString::asprintf("%d Filters", static_cast<int>(list_.rows().size())));
}

void TfrmFltPick::cbUsersClick() {
  if (!live(&FilterListControls::users)) return;
  const std::string who = users_->currentIndex() > 0 ? users_->currentText().toStdString() : std::string();
  showMessages(list_.setWho(who));
  showAll();
}

void TfrmFltPick::SetButtons() {
  const FilterListControls c = list_.controls();
  const std::pair<QWidget*, bool> states[] = {
      {activate_, c.activate}, {reverseButton_, c.activate}, {deactivate_, c.deactivate}, {count_, c.count},
      {add_, c.add},           {edit_, c.edit},              {copy_, c.copy},             {delete_, c.remove},
      {help_, c.help},         {cancel_, c.cancel},          {users_, c.users},           {grid_, c.grid}};
  for (const auto& [widget, on] : states) widget->setEnabled(on);
  count_->setText(c.countAborts ? QStringLiteral("&Abort count") : QStringLiteral("&Count"));
}

// The strip names the active filter; a name too long for it is cut with an
// ellipsis and shown whole as the strip's tooltip.
void TfrmFltPick::showActiveFilter() {
  const CompiledFilter& filter = session_.activeFilter;
  QString text = QString::fromLatin1(kActivatedFilter);
  if (filter.active()) {
    if (filter.reverse()) text += QStringLiteral("[NOT] ");
    text += qtText(filter.name());
  } else {
    text += QStringLiteral("None");
  }
  const widgets::FittedText fitted = widgets::fitText(text, name_->font(), name_->contentsRect().size());
  name_->setText(fitted.shown);
  name_->setToolTip(fitted.cut ? text : QString());
  yellow_->setVisible(filter.active());
}

// The panels show the last count; the line above them names its filter and
// the database it walked (a name too long for the line is cut, never the
// database, and shown whole as the tooltip); none when the list has not
// counted since it opened.
void TfrmFltPick::showFigures() {
  const std::optional<CountFigures>& figures = list_.figures();
  QString before;
  QString name;
  QString after;
  if (figures) {
    before = list_.counting() ? QStringLiteral("Counting ") : QStringLiteral("Count of ");
    name = qtText(figures->filter);
    after = QStringLiteral(" in database ") + qtText(figures->database);
    if (list_.counting()) {
      after += QStringLiteral("...");
    } else if (!figures->count.complete) {
      after += QStringLiteral(", stopped");
    }
  } else if (!list_.database().empty()) {
    before = QStringLiteral("Count walks the contacts of database ") + qtText(list_.database());
  }
  const QFontMetrics fm(counted_->font());
  const int room = counted_->contentsRect().width() - fm.horizontalAdvance(before + after);
  const QString shown = fm.elidedText(name, Qt::ElideRight, std::max(room, 0));
  counted_->setText(before + shown + after);
  counted_->setToolTip(shown != name ? before + name + after : QString());

  const auto number = [&](std::int64_t n) { return figures ? QString::number(n) : QString(); };
  const SelectionCount count = figures ? figures->count : SelectionCount{};
  active_->setText(number(count.matches));
  reverse_->setText(number(count.total - count.matches));
  total_->setText(number(count.total));
  const std::optional<int> percent = figures ? figures->percent() : std::nullopt;
  gauge_->setValue(percent.value_or(0));
  gauge_->setToolTip(percent ? QString::number(*percent) + QStringLiteral(" %") : QString());
}

void TfrmFltPick::activate(bool reverse) {
  if (!live(&FilterListControls::activate)) return;
  showMessages(list_.activate(reverse));
  showActiveFilter();
  accept();
}

void TfrmFltPick::BtActivateClick() { activate(false); }

void TfrmFltPick::BtReverseClick() { activate(true); }

void TfrmFltPick::BtDeactivateClick() {
  if (!live(&FilterListControls::deactivate)) return;
  list_.deactivate();
  showActiveFilter();
  accept();
}

// A second press stops the running count. Every 10 contacts, once
// loopInterval_ has passed since the last time, the panels show the figures
// and the window messages run (the painting, a press of Abort): a count of
// a million contacts is not 100,000 paints.
void TfrmFltPick::BtcountClick() {
  if (list_.counting()) {
    list_.requestStop();
    return;
  }
  if (!live(&FilterListControls::count)) return;
  widgets::BusyCursor hourglass;
  QElapsedTimer sinceLoop;
  bool started = false;
  const FilterListModel::Messages messages = list_.count([&](const SelectionCount&) {
    if (!started) {
      // The count has begun: only Abort is live from here.
      started = true;
      SetButtons();
      showActiveFilter();
      showFigures();
      sinceLoop.start();
    }
    if (sinceLoop.elapsed() >= loopInterval_) {
      showFigures();
      QCoreApplication::processEvents();
      sinceLoop.restart();
    }
  });
  showAll();
  // The final figures paint before anything else happens, unless the window
  // is to close.
  if (!list_.closePending()) QCoreApplication::processEvents();
  showMessages(messages);
  if (list_.closePending()) done(QDialog::Rejected);
}

bool TfrmFltPick::showCriteriaEditor(const StoredFilter* row) {
  if (!editor_) {
    host::ShowInformation("The criteria editor is not available in this version.");
    return false;
  }
  return editor_(this, row, list_.database());
}

void TfrmFltPick::BtAddClick() {
  if (!live(&FilterListControls::add)) return;
  list_.beginAdd();
  const bool saved = showCriteriaEditor(nullptr);
  showMessages(list_.endAdd(saved));
  showAll();
}

void TfrmFltPick::BtEditClick() {
  if (!live(&FilterListControls::edit)) return;
  const StoredFilter row = *list_.currentRow();
  const bool saved = showCriteriaEditor(&row);
  showMessages(list_.endEdit(saved));
  showAll();
}

void TfrmFltPick::BtDeleteClick() {
  if (!live(&FilterListControls::remove)) return;
  if (!host::AskYesNo("Delete filter. Are you sure?", host::MessageIcon::kQuestion)) return;
  showMessages(list_.remove());
  showAll();
}

void TfrmFltPick::btCopyClick() {
  if (!live(&FilterListControls::copy)) return;
  const auto name =
      inputBox_(QStringLiteral("Name of new filter"), QStringLiteral("Filter name"), qtText(list_.copyProposal()));
  if (!name) return;
  showMessages(list_.copy(*name));
  showAll();
}

void TfrmFltPick::BtHelpClick() {
  if (live(&FilterListControls::help)) host::showHelp(host::kHelpFilterList, this, host::HelpBook::kTaldb);
}

}  // namespace vistrel::filter
