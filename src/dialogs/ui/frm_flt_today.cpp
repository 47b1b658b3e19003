// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "dialogs/ui/frm_flt_today.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QSpacerItem>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

#include "host/ui/messages.h"

namespace vistrel::dialogs {
namespace {

QString qt(const std::string& s) { return QString::fromStdString(s); }

QLabel* valueLabel(QWidget* parent, const char* name) {
  auto* l = new QLabel(parent);
  l->setObjectName(QLatin1String(name));
  l->setStyleSheet(QStringLiteral("font-weight: bold"));
  return l;
}

constexpr std::array<const char*, 4> kSpinNames = {"Spindays", "Spinweeks", "Spinmonths", "SpinYears"};
constexpr std::array<const char*, 4> kSpinLabels = {"D&ays", "&Weeks", "&Months", "Yea&rs"};

}  // namespace

Tfrmflttoday::Tfrmflttoday(std::string_view conditionText, const PickDateContext& context, QWidget* parent)
    : QDialog(parent), context_(context), model_(*context_.clock, context_.locale) {
  setObjectName(QStringLiteral("frmflttoday"));
  setWindowTitle(QStringLiteral("Select a calendar or relative date"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  rbDate_ = new QRadioButton(QStringLiteral("&Select a calendar date"), this);
  rbDate_->setObjectName(QStringLiteral("rbDate"));
  rbRelative_ = new QRadioButton(QStringLiteral("S&elect a date relative to TODAY"), this);
  rbRelative_->setObjectName(QStringLiteral("rbRelative"));
  buildCalendarPanel();
  buildRelativePanel();
  QWidget* buttons = buildButtons();

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(rbDate_);
  layout->addWidget(pnlTop_);
  layout->addWidget(rbRelative_);
  layout->addWidget(pnlBottom_);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  keepOneSize(layout);

  showCondition(conditionText);
  connectControls();
}

// The hidden panel keeps its room, and the labels whose text changes have
// room for their longest text, so the dialog has one size in both modes and
// whatever is picked; it is wide enough to show its whole caption.
void Tfrmflttoday::keepOneSize(QBoxLayout* layout) {
  for (QWidget* panel : {pnlTop_, pnlBottom_}) {
    QSizePolicy policy = panel->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    panel->setSizePolicy(policy);
  }
  const auto reserve = [](QLabel* label, const std::vector<std::string>& texts) {
    const QFontMetrics metrics(label->font());
    int widest = 0;
    for (const std::string& t : texts) widest = std::max(widest, metrics.horizontalAdvance(qt(t)));
    label->setMinimumWidth(widest + 2 * label->frameWidth() + 4);
  };
  std::vector<std::string> months, days;
  for (int m = 1; m <= 12; ++m) {
    const CalendarLabels labels = calendarLabels(host::encodeDate(2000, m, 1), true, true);
    months.push_back(labels.month);
    days.push_back(labels.day);
  }
  reserve(lblMonth_, months);
  reserve(lblDay_, days);
  reserve(lblYear_, {calendarLabels(host::encodeDate(2000, 1, 1), true, true).year});
  SpinValues longest{};
  for (std::size_t u = 0; u < longest.size(); ++u) {
    longest[u] = std::max(-kSpinRanges[u].minimum, kSpinRanges[u].maximum);
  }
  reserve(pnlAnswer_, {relativeText(longest)});

  QFont caption = font();
  caption.setBold(true);
  // The title bar's icon and buttons take about this much beside the caption.
  constexpr int kTitleBarButtons = 100;
  layout->addSpacerItem(new QSpacerItem(QFontMetrics(caption).horizontalAdvance(windowTitle()) + kTitleBarButtons, 0,
                                        QSizePolicy::Fixed, QSizePolicy::Minimum));
}

void Tfrmflttoday::buildCalendarPanel() {
  pnlTop_ = new QWidget(this);
  pnlTop_->setObjectName(QStringLiteral("pnlTop"));
  pnlAbsolute_ = new QPushButton(pnlTop_);
  pnlAbsolute_->setObjectName(QStringLiteral("pnlAbsolute"));
  pnlAbsolute_->setMinimumWidth(110);
  auto* popStartDate = new QToolButton(pnlTop_);
  popStartDate->setObjectName(QStringLiteral("popStartDate"));
  popStartDate->setText(QStringLiteral("\u25A6"));
  popStartDate->setToolTip(QStringLiteral("Calendar"));
  Date1_ = new QLineEdit(pnlTop_);
  Date1_->setObjectName(QStringLiteral("Date1"));
  Date1_->hide();
  cbIgnoreYear_ = new QCheckBox(QStringLiteral("Disregard the &YEAR"), pnlTop_);
  cbIgnoreYear_->setObjectName(QStringLiteral("cbIgnoreYear"));
  cbIgnoreDay_ = new QCheckBox(QStringLiteral("Disregard the &DAY "), pnlTop_);
  cbIgnoreDay_->setObjectName(QStringLiteral("cbIgnoreDay"));
  lblMonth_ = valueLabel(pnlTop_, "lblMonth");
  lblDay_ = valueLabel(pnlTop_, "lblDay");
  lblYear_ = valueLabel(pnlTop_, "lblYear");
  auto* top = new QGridLayout(pnlTop_);
  auto* dateRow = new QHBoxLayout;
  dateRow->addWidget(pnlAbsolute_);
  dateRow->addWidget(popStartDate);
  dateRow->addStretch();
  top->addLayout(dateRow, 0, 0, 1, 2);
  top->addWidget(new QLabel(QStringLiteral("During the compare:"), pnlTop_), 1, 0);
  top->addWidget(cbIgnoreYear_, 2, 0);
  top->addWidget(cbIgnoreDay_, 3, 0);
  top->addWidget(new QLabel(QStringLiteral("Result:"), pnlTop_), 1, 1);
  auto* result = new QGridLayout;
  result->addWidget(new QLabel(QStringLiteral("Month:"), pnlTop_), 0, 0);
  result->addWidget(lblMonth_, 0, 1);
  result->addWidget(new QLabel(QStringLiteral("Day:"), pnlTop_), 1, 0);
  result->addWidget(lblDay_, 1, 1);
  result->addWidget(new QLabel(QStringLiteral("Year:"), pnlTop_), 2, 0);
  result->addWidget(lblYear_, 2, 1);
  top->addLayout(result, 2, 1, 2, 1);
  connect(popStartDate, &QToolButton::clicked, this, [this] { popStartDateClick(); });
  connect(pnlAbsolute_, &QPushButton::clicked, this, [this] { popStartDateClick(); });
}

void Tfrmflttoday::buildRelativePanel() {
  pnlBottom_ = new QWidget(this);
  pnlBottom_->setObjectName(QStringLiteral("pnlBottom"));
  pnlAnswer_ = new QLabel(pnlBottom_);
  pnlAnswer_->setObjectName(QStringLiteral("pnlAnswer"));
  pnlAnswer_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  lblComputeDate_ = new QLabel(pnlBottom_);
  lblComputeDate_->setObjectName(QStringLiteral("lblComputeDate"));
  auto* bottom = new QGridLayout(pnlBottom_);
  for (std::size_t u = 0; u < spin_.size(); ++u) {
    auto* box = new QSpinBox(pnlBottom_);
    box->setObjectName(QLatin1String(kSpinNames[u]));
    box->setRange(kSpinRanges[u].minimum, kSpinRanges[u].maximum);
    auto* label = new QLabel(QLatin1String(kSpinLabels[u]), pnlBottom_);
    label->setBuddy(box);
    bottom->addWidget(label, 0, static_cast<int>(u));
    bottom->addWidget(box, 1, static_cast<int>(u));
    spin_[u] = box;
  }
  bottom->addWidget(pnlAnswer_, 2, 0, 1, 4);
  bottom->addWidget(lblComputeDate_, 3, 0, 1, 4);
}

QWidget* Tfrmflttoday::buildButtons() {
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("btOK"));
  ok->setDefault(true);
  buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("btCancel"));
  connect(ok, &QPushButton::clicked, this, [this] { btOKClick(); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  return buttons;
}

void Tfrmflttoday::showCondition(std::string_view conditionText) {
  model_.open(conditionText);
  for (std::size_t u = 0; u < spin_.size(); ++u) {
    const QSignalBlocker block(spin_[u]);
    spin_[u]->setValue(model_.spinners()[u]);
  }
  cbIgnoreYear_->setChecked(model_.noYear());
  cbIgnoreDay_->setChecked(model_.noDay());
  (model_.relativeMode() ? rbRelative_ : rbDate_)->setChecked(true);
  showMode();
  showCalendarLabels();
  showAnswer();
}

// Connected once the condition is shown, so showing it changes nothing in the model.
void Tfrmflttoday::connectControls() {
  connect(rbDate_, &QRadioButton::clicked, this, [this] {
    model_.setRelativeMode(false);
    showMode();
  });
  connect(rbRelative_, &QRadioButton::clicked, this, [this] {
    model_.setRelativeMode(true);
    showMode();
    showAnswer();
  });
  for (std::size_t u = 0; u < spin_.size(); ++u) {
    connect(spin_[u], &QSpinBox::valueChanged, this, [this, u](int v) {
      model_.setSpinner(static_cast<SpinUnit>(u), v);
      showAnswer();
    });
  }
  connect(cbIgnoreYear_, &QCheckBox::toggled, this, [this](bool on) {
    model_.setNoYear(on);
    showCalendarLabels();
  });
  connect(cbIgnoreDay_, &QCheckBox::toggled, this, [this](bool on) {
    model_.setNoDay(on);
    showCalendarLabels();
  });
}

std::optional<Tfrmflttoday::Result> Tfrmflttoday::execute(std::string_view conditionText,
                                                          const PickDateContext& context, QWidget* parent) {
  Tfrmflttoday dialog(conditionText, context, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.model().accept();
}

void Tfrmflttoday::btOKClick() {
  if (model_.accept().disregard) host::ShowWarning(kDisregardWarning);
  accept();
}

void Tfrmflttoday::popStartDateClick() {
  const host::DateTime start = model_.calendarStart();
  model_.setDate(TfrmPickDate::pickDate(pnlAbsolute_, start, context_));
  showCalendarLabels();
}

void Tfrmflttoday::showMode() {
  pnlTop_->setVisible(!model_.relativeMode());
  pnlBottom_->setVisible(model_.relativeMode());
}

void Tfrmflttoday::showCalendarLabels() {
  Date1_->setText(qt(model_.dateText()));
  pnlAbsolute_->setText(qt(model_.dateText()));
  const CalendarLabels labels = model_.labels();
  lblMonth_->setText(qt(labels.month));
  lblDay_->setText(qt(labels.day));
  lblYear_->setText(qt(labels.year));
}

void Tfrmflttoday::showAnswer() {
  pnlAnswer_->setText(qt(model_.answer()));
  lblComputeDate_->setText(qt(model_.computedDate()));
}

}  // namespace vistrel::dialogs
