// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

namespace vistrel::widgets {

// A round clock face with an hour hand (navy) and a minute hand (blue), no
// second hand; face and hands cast a small shadow to the lower right.
class AnalogClock : public QWidget {
  Q_OBJECT

 public:
  explicit AnalogClock(QWidget* parent = nullptr);

  void setTime(int hour, int minute);
  int hour() const { return hour_; }
  int minute() const { return minute_; }

  QSize sizeHint() const override { return {90, 90}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int hour_ = 0;
  int minute_ = 0;
};

}  // namespace vistrel::widgets
