// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "dialogs/ui/frm_time_popup.h"

#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QTimeEdit>
#include <QTimer>

#include "widgets/analog_clock.h"

namespace vistrel::dialogs {
namespace {

QString qt(const std::string& s) { return QString::fromStdString(s); }

// Strip x of the time `minutes` after midnight: 0:00 at 8, 24:00 at 488.
int stripX(int minutes) { return 8 + minutes / 3; }

// The strip picture: night and day shading, a tick per half hour, a long
// tick and a label every two hours.
QPixmap stripPicture(bool twelveHour) {
  QPixmap pixmap(kStripWidth, kStripHeight);
  QPainter p(&pixmap);
  QLinearGradient sky(stripX(0), 0, stripX(1440), 0);
  sky.setColorAt(0.0, QColor(40, 50, 110));
  sky.setColorAt(0.25, QColor(120, 160, 220));
  sky.setColorAt(0.5, QColor(255, 236, 150));
  sky.setColorAt(0.75, QColor(120, 160, 220));
  sky.setColorAt(1.0, QColor(40, 50, 110));
  p.fillRect(pixmap.rect(), QColor(220, 220, 220));
  p.fillRect(QRect(stripX(0), 0, stripX(1440) - stripX(0) + 1, kStripHeight), sky);
  p.setPen(Qt::black);
  p.drawRect(0, 0, kStripWidth - 1, kStripHeight - 1);
  QFont font = p.font();
  font.setPixelSize(10);
  p.setFont(font);
  for (int half = 0; half <= 48; ++half) {
    const int x = stripX(half * 30);
    const bool hour = half % 2 == 0;
    const bool labelled = half % 4 == 0;
    p.setPen(Qt::black);
    p.drawLine(x, kStripHeight - 1, x, kStripHeight - (labelled ? 14 : hour ? 9 : 5));
    if (!labelled) continue;
    const int h = half / 2;
    QString text;
    if (twelveHour) {
      const int h12 = h % 12 == 0 ? 12 : h % 12;
      text = QString::number(h12) + ((h % 24) < 12 ? QStringLiteral("a") : QStringLiteral("p"));
    } else {
      text = QString::number(h);
    }
    p.setPen(h > 6 && h < 18 ? Qt::black : Qt::white);
    // The labels at the two ends stand inside the picture.
    const Qt::Alignment align = half == 0 ? Qt::AlignLeft : half == 48 ? Qt::AlignRight : Qt::AlignHCenter;
    const int left = half == 0 ? x + 1 : half == 48 ? x - 31 : x - 15;
    p.drawText(QRect(left, 4, 30, 14), align | Qt::AlignVCenter, text);
  }
  return pixmap;
}

QPixmap triangle(bool pointingDown) {
  QPixmap pixmap(kTriangleWidth, kTriangleHeight);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  QPainterPath path;
  if (pointingDown) {
    path.moveTo(0, 0);
    path.lineTo(kTriangleWidth, 0);
    path.lineTo(kTriangleWidth / 2.0, kTriangleHeight);
  } else {
    path.moveTo(0, kTriangleHeight);
    path.lineTo(kTriangleWidth, kTriangleHeight);
    path.lineTo(kTriangleWidth / 2.0, 0);
  }
  path.closeSubpath();
  p.fillPath(path, Qt::red);
  return pixmap;
}

QLabel* picture(QWidget* parent, const char* name, const QPixmap& pixmap) {
  auto* l = new QLabel(parent);
  l->setObjectName(QLatin1String(name));
  l->setPixmap(pixmap);
  l->resize(pixmap.size());
  return l;
}

}  // namespace

TfrmTimePopup::TfrmTimePopup(const host::Clock& clock, const host::Locale& locale, QWidget* parent)
    : QDialog(parent), clock_(clock), locale_(locale) {
  setObjectName(QStringLiteral("frmTimePopup"));
  setWindowTitle(QStringLiteral("Time Entry"));
  setFixedSize(kStripLeft * 2 + kStripWidth, 180);
  buildStrip();
  buildControls();
  buildTimers();
  Image1_->setVisible(twelveHourStrip(locale_));
  im24_->setVisible(!twelveHourStrip(locale_));
  followTimeBox();
  ItIsNow();
  Timer1_->start();
}

void TfrmTimePopup::buildStrip() {
  Image1_ = picture(this, "Image1", stripPicture(true));
  im24_ = picture(this, "im24", stripPicture(false));
  for (QLabel* strip : {Image1_, im24_}) {
    strip->setGeometry(kStripLeft, kStripTop, kStripWidth, kStripHeight);
    strip->setToolTip(QStringLiteral("Click to select time"));
    strip->setCursor(Qt::PointingHandCursor);
    strip->installEventFilter(this);
  }
  imTop_ = picture(this, "imTop", triangle(true));
  imBot_ = picture(this, "imBot", triangle(false));
  imLine_ = new QLabel(this);
  imLine_->setObjectName(QStringLiteral("imLine"));
  imLine_->setStyleSheet(QStringLiteral("background: red"));
  imLine_->resize(1, kPointerLineHeight);
  imLine_->setCursor(Qt::PointingHandCursor);
  imLine_->installEventFilter(this);

  pnlTime_ = new QLabel(this);
  pnlTime_->setObjectName(QStringLiteral("pnlTime"));
  pnlTime_->setAlignment(Qt::AlignCenter);
  pnlTime_->setFrameStyle(QFrame::Panel | QFrame::Raised);
  pnlTime_->setAutoFillBackground(true);
  pnlTime_->resize(64, 18);
  pnlTime_->hide();
}

void TfrmTimePopup::buildControls() {
  Clock1_ = new widgets::AnalogClock(this);
  Clock1_->setObjectName(QStringLiteral("Clock1"));
  Clock1_->setGeometry(kStripLeft, 72, 100, 100);

  dtTime_ = new QTimeEdit(this);
  dtTime_->setObjectName(QStringLiteral("dtTime"));
  dtTime_->setDisplayFormat(twelveHourStrip(locale_) ? QStringLiteral("h:mm AP") : QStringLiteral("H:mm"));
  dtTime_->setGeometry(140, 80, 110, 26);
  dtTime_->installEventFilter(this);

  sbNow_ = new QPushButton(this);
  sbNow_->setObjectName(QStringLiteral("sbNow"));
  sbNow_->setToolTip(QStringLiteral("Current time - click to set clock to current time"));
  sbNow_->setGeometry(140, 120, 110, 26);

  auto* btOK = new QPushButton(QStringLiteral("OK"), this);
  btOK->setObjectName(QStringLiteral("btOK"));
  btOK->setDefault(true);
  btOK->setGeometry(width() - 100, 80, 84, 26);
  auto* btCancel = new QPushButton(QStringLiteral("Cancel"), this);
  btCancel->setObjectName(QStringLiteral("btCancel"));
  btCancel->setGeometry(width() - 100, 120, 84, 26);
  connect(dtTime_, &QTimeEdit::timeChanged, this, [this] { followTimeBox(); });
  connect(sbNow_, &QPushButton::clicked, this, [this] { sbNowClick(); });
  connect(btOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);

  // Every control passes its keys here first, so the step keys work wherever the focus is.
  for (QWidget* w : {static_cast<QWidget*>(sbNow_), static_cast<QWidget*>(btOK), static_cast<QWidget*>(btCancel)}) {
    w->installEventFilter(this);
  }
}

void TfrmTimePopup::buildTimers() {
  Timer1_ = new QTimer(this);
  Timer1_->setInterval(1000);
  Timer2_ = new QTimer(this);
  Timer2_->setSingleShot(true);
  Timer2_->setInterval(10);
  connect(Timer1_, &QTimer::timeout, this, [this] { ItIsNow(); });
  connect(Timer2_, &QTimer::timeout, this, [this] {
    const QPoint at = Image1_->mapToGlobal(QPoint(lastPointer_ - 9, kStripHeight / 2));
    const QScreen* s = screen();
    if (s != nullptr && at.x() < s->size().width() && at.y() < s->size().height()) QCursor::setPos(at);
  });
}

std::optional<std::string> TfrmTimePopup::execute(std::string_view conditionText, const host::Clock& clock,
                                                  const host::Locale& locale, QWidget* parent) {
  TfrmTimePopup picker(clock, locale, parent);
  picker.setTime(startTime(conditionText, clock, locale));
  if (picker.exec() != QDialog::Accepted) return std::nullopt;
  return conditionTimeText(picker.time(), locale);
}

void TfrmTimePopup::setTime(HourMinute t) { dtTime_->setTime(QTime(t.hour, t.minute)); }

HourMinute TfrmTimePopup::time() const { return {dtTime_->time().hour(), dtTime_->time().minute()}; }

void TfrmTimePopup::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  dragging_ = false;
  followTimeBox();
  ItIsNow();
  Timer2_->start();
}

void TfrmTimePopup::drawPointer(int p, bool update) {
  if (!pointerDrawable(p)) return;
  imTop_->move(p + 3, kStripTop);
  imBot_->move(p + 3, kStripTop + kStripHeight - kTriangleHeight);
  imLine_->move(p + 8, kStripTop + kTriangleHeight);
  pnlTime_->move(p + 8 - pnlTime_->width() / 2, kStripTop + kStripHeight + 2);
  if (!update) return;
  const HourMinute t = timeOfPointer(p);
  {
    const QSignalBlocker block(dtTime_);
    dtTime_->setTime(QTime(t.hour, t.minute));
  }
  Clock1_->setTime(t.hour, t.minute);
  pnlTime_->setText(qt(shortTimeText(t, locale_)));
  QPalette pal = pnlTime_->palette();
  pal.setColor(QPalette::Window, nightHour(t.hour) ? QColor(Qt::cyan) : QColor(Qt::yellow));
  pnlTime_->setPalette(pal);
}

void TfrmTimePopup::followTimeBox() {
  const HourMinute t = time();
  lastPointer_ = pointerOfTime(t);
  drawPointer(lastPointer_, false);
  Clock1_->setTime(t.hour, t.minute);
}

void TfrmTimePopup::stripPress(int x) {
  dragging_ = true;
  pnlTime_->show();
  drawPointer(x, true);
  lastPointer_ = x;
}

void TfrmTimePopup::stripMove(int x) {
  if (!dragging_) return;
  drawPointer(x + 8, true);
  lastPointer_ = x + 8;
}

void TfrmTimePopup::stripRelease() {
  dragging_ = false;
  pnlTime_->hide();
}

void TfrmTimePopup::sbNowClick() {
  setTime(hourMinuteOf(clock_.now()));
  ItIsNow();
}

void TfrmTimePopup::ItIsNow() { sbNow_->setText(qt(itIsText(clock_, locale_))); }

bool TfrmTimePopup::stepKey(int key) {
  const HourMinute t = time();
  switch (key) {
    case Qt::Key_Up: setTime(stepTime(t, TimeKey::kUp)); return true;
    case Qt::Key_Down: setTime(stepTime(t, TimeKey::kDown)); return true;
    case Qt::Key_PageUp: setTime(stepTime(t, TimeKey::kPageUp)); return true;
    case Qt::Key_PageDown: setTime(stepTime(t, TimeKey::kPageDown)); return true;
    case Qt::Key_Home: sbNowClick(); return true;
    default: return false;
  }
}

bool TfrmTimePopup::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && stepKey(static_cast<QKeyEvent*>(event)->key())) return true;
  const bool strip = watched == Image1_ || watched == im24_;
  if (!strip && watched != imLine_) return QDialog::eventFilter(watched, event);
  // The line's positions are turned into the strip's. Only mouse events
  // reach this, so the cast is safe where it is made.
  const auto x = [&] {
    const int at = static_cast<QMouseEvent*>(event)->position().toPoint().x();
    return strip ? at : at + imLine_->x() - kStripLeft;
  };
  switch (event->type()) {
    case QEvent::MouseButtonPress: stripPress(x()); return true;
    case QEvent::MouseMove: stripMove(x()); return true;
    case QEvent::MouseButtonRelease: stripRelease(); return true;
    case QEvent::MouseButtonDblClick:
      if (strip) accept();
      return true;
    default: return QDialog::eventFilter(watched, event);
  }
}

}  // namespace vistrel::dialogs
