// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "widgets/analog_clock.h"

#include <QPainter>
#include <QPainterPath>

namespace vistrel::widgets {
namespace {

constexpr QPointF kShadow(2.5, 2.5);

void drawHand(QPainter& p, double degrees, double length, double width, const QColor& colour, QPointF offset) {
  p.save();
  p.translate(offset);
  p.rotate(degrees);
  QPainterPath hand;
  hand.moveTo(-width / 2, 8);
  hand.lineTo(0, -length);
  hand.lineTo(width / 2, 8);
  hand.closeSubpath();
  p.fillPath(hand, colour);
  p.restore();
}

}  // namespace

AnalogClock::AnalogClock(QWidget* parent) : QWidget(parent) { setMinimumSize(60, 60); }

void AnalogClock::setTime(int hour, int minute) {
  if (hour == hour_ && minute == minute_) return;
  hour_ = hour;
  minute_ = minute;
  update();
}

// Drawn on a face 200 units across, scaled to the widget.
void AnalogClock::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const int side = std::min(width(), height());
  p.translate(width() / 2.0, height() / 2.0);
  p.scale(side / 210.0, side / 210.0);

  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 70));
  p.drawEllipse(QPointF(0, 0) + kShadow * 1.5, 96, 96);
  p.setBrush(palette().color(QPalette::Base));
  p.setPen(QPen(palette().color(QPalette::Dark), 3));
  p.drawEllipse(QPointF(0, 0), 96, 96);

  for (int i = 0; i < 60; ++i) {
    p.setPen(QPen(palette().color(QPalette::WindowText), i % 5 == 0 ? 4 : 1));
    p.drawLine(0, i % 5 == 0 ? -80 : -86, 0, -90);
    p.rotate(6);
  }

  const double hourAngle = 30.0 * ((hour_ % 12) + minute_ / 60.0);
  const double minuteAngle = 6.0 * minute_;
  const QColor shadow(0, 0, 0, 80);
  drawHand(p, hourAngle, 50, 12, shadow, kShadow);
  drawHand(p, minuteAngle, 78, 8, shadow, kShadow);
  drawHand(p, hourAngle, 50, 12, QColor(Qt::darkBlue), {});
  drawHand(p, minuteAngle, 78, 8, QColor(Qt::blue), {});
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(Qt::darkBlue));
  p.drawEllipse(QPointF(0, 0), 5, 5);
}

}  // namespace vistrel::widgets
