// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include <optional>
#include <string>
#include <string_view>

#include "dialogs/time_picker_model.h"
#include "host/clock.h"
#include "host/locale.h"

class QLabel;
class QPushButton;
class QTimeEdit;
class QTimer;
class QToolButton;

namespace vistrel::widgets {
class AnalogClock;
}

namespace vistrel::dialogs {

// The picker of a time condition: a 24-hour strip with a pointer that snaps
// to 5 minutes, a time box, an analogue clock and a "now" button. The strip
// pictures are drawn when the window is made (a 12-hour and a 24-hour one,
// chosen by the locale). The clock and the locale must outlive the window.
class TfrmTimePopup : public QDialog {
  Q_OBJECT

 public:
  TfrmTimePopup(const host::Clock& clock, const host::Locale& locale, QWidget* parent = nullptr);

  // Opens the picker at the condition's time (the current time when the text
  // is blank or no time); on OK the chosen time as a condition text
  // ("1:45:00 PM").
  static std::optional<std::string> execute(std::string_view conditionText, const host::Clock& clock,
                                            const host::Locale& locale, QWidget* parent = nullptr);

  void setTime(HourMinute time);
  HourMinute time() const;
  int pointer() const { return lastPointer_; }

  // The strip's mouse handlers, x in strip coordinates.
  void stripPress(int x);
  void stripMove(int x);
  void stripRelease();
  void sbNowClick();

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The time strip with its pointer; the clock, time box and buttons; the timers.
  void buildStrip();
  void buildControls();
  void buildTimers();
  void drawPointer(int p, bool update);
  void followTimeBox();
  void ItIsNow();
  bool stepKey(int key);

  const host::Clock& clock_;
  const host::Locale& locale_;
  QLabel* Image1_;
  QLabel* im24_;
  QLabel* imTop_;
  QLabel* imBot_;
  QLabel* imLine_;
  QLabel* pnlTime_;
  widgets::AnalogClock* Clock1_;
  QTimeEdit* dtTime_;
  QPushButton* sbNow_;
  QTimer* Timer1_;
  QTimer* Timer2_;
  bool dragging_ = false;
  int lastPointer_ = 0;
};

}  // namespace vistrel::dialogs
