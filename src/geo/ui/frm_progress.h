// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace vistrel::geo {

// The progress window of a count: caption and heading "Counting Records", a
// navy gauge and an Abort button. One window lives for the whole run; a
// count shows it with start(), moves the gauge, polls aborted() after
// letting pending events run, and hides it with finish().
//
// start() does not block: the window takes the input while the count runs
// (so its Abort button works even when the counting window is itself modal)
// and the caller's loop goes on. Closing the window or pressing Escape aborts
// like the Abort button. The start-up copy of the Tallis tables borrows the
// window under its own heading and without Abort (setTask()).
class TFrmProgress : public QDialog {
  Q_OBJECT

 public:
  explicit TFrmProgress(QWidget* parent = nullptr);

  // Clears the abort flag, sets the gauge to 1..recordCount at position 0,
  // shows the window and lets it paint.
  void start(int recordCount);
  // Hides the window and gives it back the count's caption, heading and
  // Abort; the abort flag stays as it was for the caller to read.
  void finish();

  void setRange(int minimum, int maximum);
  // Moves the gauge; a position below the minimum shows an empty gauge, one
  // above the maximum a full one.
  void setPosition(int position);
  bool aborted() const { return aborted_; }
  // Clears the abort flag and empties the gauge.
  void reset();

  // Another use of the window than a count: its caption and heading, and
  // whether it offers Abort. finish() brings back the count's.
  void setTask(const QString& caption, const QString& heading, bool abortable);
  void setHeading(const QString& heading);

  QProgressBar* gauge() const { return gauge_; }

 public slots:
  void BitBtn1Click();  // Abort

 protected:
  void reject() override;

 private:
  QLabel* heading_;
  QProgressBar* gauge_;
  QPushButton* abort_;
  bool abortable_ = true;
  bool aborted_ = false;
};

// The one progress window of the program, made at start-up and kept for the
// whole run (made on first use when start-up has not made it).
TFrmProgress* FrmProgress();

}  // namespace vistrel::geo
