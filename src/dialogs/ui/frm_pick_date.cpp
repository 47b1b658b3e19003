// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "dialogs/ui/frm_pick_date.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidgetAction>

#include "dialogs/calendar_text.h"
#include "dialogs/date_picker_model.h"
#include "host/session.h"
#include "host/table_lookups.h"
#include "host/tallis_schema.h"
#include "host/utility.h"

namespace vistrel::dialogs {
namespace {

const QDate kDayZero(1899, 12, 30);

QString qt(const std::string& s) { return QString::fromStdString(s); }

QToolButton* toolButton(QWidget* parent, const char* name, const QString& text, const QString& hint) {
  auto* b = new QToolButton(parent);
  b->setObjectName(QLatin1String(name));
  b->setText(text);
  b->setToolTip(hint);
  b->setAutoRaise(true);
  return b;
}

}  // namespace

PickDateContext programPickDateContext(host::Engine& engine, const host::Session& session) {
  return {&engine, session.CurrentWho, &host::SystemClock::instance(), engine.locale()};
}

QDate toQDate(host::DateTime value) { return kDayZero.addDays(static_cast<qint64>(host::dateOnly(value))); }
host::DateTime fromQDate(const QDate& date) { return static_cast<host::DateTime>(kDayZero.daysTo(date)); }

HolidayCalendar::HolidayCalendar(QWidget* parent) : QCalendarWidget(parent) {
  setNavigationBarVisible(false);
  setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
  setGridVisible(false);
}

void HolidayCalendar::setHolidayLookup(HolidayLookup lookup) {
  holidays_ = std::move(lookup);
  updateCells();
}

void HolidayCalendar::paintCell(QPainter* painter, const QRect& rect, QDate date) const {
  painter->save();
  const QPalette& pal = palette();
  painter->setPen(pal.color(QPalette::Button));
  painter->drawRect(rect.adjusted(0, 0, -1, -1));
  const bool holiday = holidays_ && !holidays_(fromQDate(date)).empty();
  QFont font = painter->font();
  font.setBold(holiday);
  painter->setFont(font);
  const QRect face = rect.adjusted(1, 1, -1, -1);
  const bool thisMonth = date.month() == monthShown() && date.year() == yearShown();
  if (thisMonth) {
    const bool pressed = date == selectedDate();
    painter->fillRect(face, pressed ? pal.color(QPalette::Mid) : pal.color(QPalette::Button));
    painter->setPen(pressed ? pal.color(QPalette::Dark) : pal.color(QPalette::Light));
    painter->drawLine(face.topLeft(), face.topRight());
    painter->drawLine(face.topLeft(), face.bottomLeft());
    painter->setPen(pressed ? pal.color(QPalette::Light) : pal.color(QPalette::Dark));
    painter->drawLine(face.bottomLeft(), face.bottomRight());
    painter->drawLine(face.topRight(), face.bottomRight());
  } else {
    painter->fillRect(face, pal.color(QPalette::Window));
  }
  QColor ink = holiday ? QColor(Qt::blue) : pal.color(QPalette::WindowText);
  if (!thisMonth && !holiday) ink = pal.color(QPalette::Disabled, QPalette::WindowText);
  painter->setPen(ink);
  painter->drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, QString::number(date.day()));
  painter->restore();
}

TfrmPickDate::TfrmPickDate(const PickDateContext& context, QWidget* parent)
    : QDialog(parent, Qt::Popup), context_(context) {
  setObjectName(QStringLiteral("frmPickDate"));
  setWindowTitle(QStringLiteral("Calendar"));
  setStyleSheet(QStringLiteral("#frmPickDate { border: 1px solid palette(shadow); }"));

  QLayout* top = buildMonthRow();
  buildCalendar();
  buildDatePlusPanel();
  QLayout* bottom = buildOkRow();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addLayout(top);
  layout->addWidget(Calendar_);
  layout->addWidget(lblDate_);
  layout->addWidget(Panel2_);
  layout->addLayout(bottom);
  Panel2_->hide();

  PopupMenu1_ = new QMenu(this);
  PopupMenu1_->setObjectName(QStringLiteral("PopupMenu1"));
  if (auto* view = Calendar_->findChild<QTableView*>()) view->installEventFilter(this);
  nDays_->installEventFilter(this);
  nDays_->setAutoFillBackground(true);
  installEventFilter(this);

  loadUsersAndHolidays();
  QPalette pal = nDays_->palette();
  pal.setColor(QPalette::Base, palette().color(QPalette::Button));
  nDays_->setPalette(pal);
  setDate(context_.clock->now());
}

QLayout* TfrmPickDate::buildMonthRow() {
  cbMonth_ = new QComboBox(this);
  cbMonth_->setObjectName(QStringLiteral("cbMonth"));
  cbMonth_->setToolTip(QStringLiteral("PgUp/PgDn to change months"));
  for (int m = 1; m <= 12; ++m) cbMonth_->addItem(qt(shortMonthName(m)));
  pnlYear_ = new QPushButton(this);
  pnlYear_->setObjectName(QStringLiteral("pnlYear"));
  pnlYear_->setFlat(true);
  auto* yearUp = toolButton(this, "YearSpinnerUp", QStringLiteral("\u25B2"), QStringLiteral("Change the displayed year"));
  auto* yearDown =
      toolButton(this, "YearSpinnerDown", QStringLiteral("\u25BC"), QStringLiteral("Change the displayed year"));
  auto* sbNow = toolButton(this, "sbNow", QStringLiteral("\u25CF"), QStringLiteral("Go to today"));
  auto* sbMore = toolButton(this, "sbMore", QStringLiteral("..."), QStringLiteral("More properties"));
  auto* top = new QHBoxLayout;
  top->addWidget(cbMonth_);
  top->addWidget(pnlYear_);
  auto* spinner = new QVBoxLayout;
  spinner->setSpacing(0);
  spinner->addWidget(yearUp);
  spinner->addWidget(yearDown);
  top->addLayout(spinner);
  top->addStretch();
  top->addWidget(sbNow);
  top->addWidget(sbMore);
  connect(cbMonth_, &QComboBox::activated, this, [this](int i) { cbMonthClick(i); });
  connect(pnlYear_, &QPushButton::clicked, this, [this] { pnlYearClick(); });
  connect(yearUp, &QToolButton::clicked, this, [this] { YearSpinnerClick(true); });
  connect(yearDown, &QToolButton::clicked, this, [this] { YearSpinnerClick(false); });
  connect(sbNow, &QToolButton::clicked, this, [this] { sbNowClick(); });
  connect(sbMore, &QToolButton::clicked, this, [this] { sbMoreClick(); });
  return top;
}

void TfrmPickDate::buildCalendar() {
  Calendar_ = new HolidayCalendar(this);
  Calendar_->setObjectName(QStringLiteral("Calendar"));
  Calendar_->setHolidayLookup([this](host::DateTime d) { return holidayOf(d); });

  lblDate_ = new QLabel(this);
  lblDate_->setObjectName(QStringLiteral("lblDate"));
  lblDate_->setFrameStyle(QFrame::Panel | QFrame::Raised);
  lblDate_->setAlignment(Qt::AlignCenter);
  connect(Calendar_, &QCalendarWidget::selectionChanged, this, [this] {
    Calendar_->setCurrentPage(Calendar_->selectedDate().year(), Calendar_->selectedDate().month());
    updatePanels();
  });
  connect(Calendar_, &QCalendarWidget::activated, this, [this] { accept(); });
}

void TfrmPickDate::buildDatePlusPanel() {
  Panel2_ = new QWidget(this);
  Panel2_->setObjectName(QStringLiteral("Panel2"));
  cbWho_ = new QComboBox(Panel2_);
  cbWho_->setObjectName(QStringLiteral("cbWho"));
  nDays_ = new QSpinBox(Panel2_);
  nDays_->setObjectName(QStringLiteral("nDays"));
  nDays_->setRange(0, 9999);
  rbWeeks_ = new QRadioButton(QStringLiteral("&Weeks"), Panel2_);
  rbWeeks_->setObjectName(QStringLiteral("rbWeeks"));
  rbWeeks_->setChecked(true);
  auto* rbMonths = new QRadioButton(QStringLiteral("&Months"), Panel2_);
  rbMonths->setObjectName(QStringLiteral("rbMonths"));
  auto* btGo = new QPushButton(QStringLiteral("&Go"), Panel2_);
  btGo->setObjectName(QStringLiteral("btGo"));
  auto* panel2 = new QGridLayout(Panel2_);
  auto* whoLabel = new QLabel(QStringLiteral("&Holidays for:"), Panel2_);
  whoLabel->setBuddy(cbWho_);
  auto* plusLabel = new QLabel(QStringLiteral("&Date plus:"), Panel2_);
  plusLabel->setBuddy(nDays_);
  panel2->addWidget(whoLabel, 0, 0);
  panel2->addWidget(cbWho_, 0, 1, 1, 3);
  panel2->addWidget(plusLabel, 1, 0);
  panel2->addWidget(nDays_, 1, 1);
  panel2->addWidget(rbWeeks_, 1, 2);
  panel2->addWidget(rbMonths, 1, 3);
  panel2->addWidget(btGo, 2, 3);
  connect(btGo, &QPushButton::clicked, this, [this] { btGoClick(); });
  connect(cbWho_, &QComboBox::activated, this, [this] { cbWhoClick(); });
}

QLayout* TfrmPickDate::buildOkRow() {
  pnlWhen_ = new QLabel(this);
  pnlWhen_->setObjectName(QStringLiteral("pnlWhen"));
  pnlWhen_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  auto* btnOk = new QToolButton(this);
  btnOk->setObjectName(QStringLiteral("btnOk"));
  btnOk->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
  btnOk->setToolTip(QStringLiteral("Select date"));
  auto* btnCancel = new QToolButton(this);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  btnCancel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
  btnCancel->setToolTip(QStringLiteral("Cancel"));
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(pnlWhen_, 1);
  bottom->addWidget(btnOk);
  bottom->addWidget(btnCancel);
  connect(btnOk, &QToolButton::clicked, this, &QDialog::accept);
  connect(btnCancel, &QToolButton::clicked, this, &QDialog::reject);
  return bottom;
}

void TfrmPickDate::loadUsersAndHolidays() {
  std::vector<std::string> users{context_.who};
  int selected = 0;
  if (context_.engine != nullptr) {
    if (auto list = host::userListItems(*context_.engine, false, context_.who); list.ok() && !list->items.empty()) {
      users = list->items;
      selected = std::max(list->selected, 0);
    }
    holidays_ = std::make_unique<host::Table>(*context_.engine, std::string(host::kTallisAlias),
                                              std::string(host::kHolidayTableName));
    if (!holidays_->open().ok()) holidays_.reset();
  }
  for (const std::string& u : users) cbWho_->addItem(qt(u));
  cbWho_->setCurrentIndex(selected);
}

TfrmPickDate::~TfrmPickDate() = default;

host::DateTime TfrmPickDate::pickDate(QWidget* control, host::DateTime start, const PickDateContext& context) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  TfrmPickDate picker(context, control);
  QApplication::restoreOverrideCursor();
  picker.setDate(pickerStartDate(start, context.clock->now()));
  picker.adjustSize();
  if (control != nullptr) {
    const QRect box(control->mapToGlobal(QPoint(0, 0)), control->size());
    const QScreen* screen = control->screen();
    const QSize area = screen != nullptr ? screen->size() : QSize(1024, 768);
    const ScreenPoint at = pickerPosition({box.left(), box.top(), box.left() + box.width(), box.top() + box.height()},
                                          picker.width(), picker.height(), area.width(), area.height());
    picker.move(at.x, at.y);
  }
  return picker.exec() == QDialog::Accepted ? picker.date() : start;
}

void TfrmPickDate::setDate(host::DateTime date) {
  const QDate d = toQDate(date);
  Calendar_->setSelectedDate(d);
  Calendar_->setCurrentPage(d.year(), d.month());
  updatePanels();
}

host::DateTime TfrmPickDate::date() const { return fromQDate(Calendar_->selectedDate()); }

std::string TfrmPickDate::holidayOf(host::DateTime date) {
  if (!holidays_) return {};
  auto name = host::HolidayName(cbWho_->currentText().toStdString(), *holidays_, date);
  return name.ok() ? *name : std::string();
}

void TfrmPickDate::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Calendar_->setFocus();
}

void TfrmPickDate::updatePanels() {
  const host::DateTime d = date();
  const host::CivilDate civil = host::decodeDate(d);
  cbMonth_->setCurrentIndex(civil.month - 1);
  pnlYear_->setText(QString::number(civil.year));
  pnlWhen_->setText(qt(host::RelativeDateFromToday(d, *context_.clock)));
  const std::string holiday = holidayOf(d);
  QPalette normal = pnlWhen_->palette();
  normal.setColor(QPalette::WindowText, pnlYear_->palette().color(QPalette::ButtonText));
  pnlWhen_->setPalette(normal);
  lblDate_->setPalette(normal);
  if (holiday.empty()) {
    lblDate_->setText(qt(longDateText(d)));
    return;
  }
  QPalette blue = normal;
  blue.setColor(QPalette::WindowText, Qt::blue);
  lblDate_->setText(qt(holiday));
  lblDate_->setPalette(blue);
  if (lblDate_->isHidden()) {
    pnlWhen_->setText(qt(holiday));
    pnlWhen_->setPalette(blue);
  }
}

void TfrmPickDate::sbNowClick() {
  setDate(context_.clock->now());
  updatePanels();
}

void TfrmPickDate::cbMonthClick(int index) { setDate(moveToMonth(date(), index + 1)); }

// The spinner moves one day whatever its hint says.
void TfrmPickDate::YearSpinnerClick(bool up) { setDate(date() + (up ? 1 : -1)); }

void TfrmPickDate::pnlYearClick() {
  PopupMenu1_->clear();
  const int year = host::decodeDate(date()).year;
  auto* grid = new QWidget(PopupMenu1_);
  auto* layout = new QGridLayout(grid);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(0);
  const std::array<int, 20> years = yearMenuYears(year);
  for (int i = 0; i < 20; ++i) {
    const int y = years[static_cast<std::size_t>(i)];
    auto* item = new QToolButton(grid);
    item->setObjectName(QStringLiteral("y%1").arg(i + 1));
    item->setText(QString::number(y));
    item->setCheckable(true);
    item->setChecked(i == 9);
    item->setAutoRaise(true);
    layout->addWidget(item, i % 10, i / 10);
    connect(item, &QToolButton::clicked, this, [this, y] {
      PopupMenu1_->close();
      y11Click(y);
    });
  }
  auto* action = new QWidgetAction(PopupMenu1_);
  action->setDefaultWidget(grid);
  PopupMenu1_->addAction(action);
  PopupMenu1_->popup(mapToGlobal(QPoint(25, 0)));
}

void TfrmPickDate::y11Click(int year) { setDate(moveToYear(date(), year)); }

void TfrmPickDate::btGoClick() { setDate(datePlus(date(), nDays_->value(), rbWeeks_->isChecked())); }

void TfrmPickDate::cbWhoClick() {
  Calendar_->refreshCells();
  updatePanels();
}

void TfrmPickDate::sbMoreClick() {
  const bool more = Panel2_->isHidden();
  Panel2_->setVisible(more);
  lblDate_->setVisible(!more);
  updatePanels();
  adjustSize();
}

// nDays shows the window colour only while it has the focus.
bool TfrmPickDate::eventFilter(QObject* watched, QEvent* event) {
  if (watched == nDays_ && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
    QPalette pal = nDays_->palette();
    pal.setColor(QPalette::Base, palette().color(event->type() == QEvent::FocusIn ? QPalette::Base : QPalette::Button));
    nDays_->setPalette(pal);
  }
  if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  // Home goes to today, Enter chooses, PgUp and PgDn change the month.
  switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Home:
      setDate(context_.clock->now());
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      accept();
      return true;
    case Qt::Key_PageUp:
      setDate(addMonthsTrunc(date(), -1));
      return true;
    case Qt::Key_PageDown:
      setDate(addMonthsTrunc(date(), 1));
      return true;
    default:
      return QDialog::eventFilter(watched, event);
  }
}

}  // namespace vistrel::dialogs
