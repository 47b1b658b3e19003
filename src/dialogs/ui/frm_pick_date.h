// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QCalendarWidget>
#include <QDialog>

#include <functional>
#include <memory>
#include <string>

#include "host/clock.h"
#include "host/date_time.h"
#include "host/engine.h"
#include "host/locale.h"
#include "host/session.h"
#include "host/table.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLayout;
class QMenu;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QToolButton;
class QWidget;

namespace vistrel::dialogs {

// What the calendar pickers need from the program: the tables of the user
// list and the holidays (none: no holidays, only the current user), the
// current user, the clock and the locale. The engine must outlive the picker.
struct PickDateContext {
  host::Engine* engine = nullptr;
  std::string who;
  const host::Clock* clock = &host::SystemClock::instance();
  host::Locale locale;
};

// The context of the running program: its engine and locale, the logged-in
// user, the system clock.
PickDateContext programPickDateContext(host::Engine& engine, const host::Session& session);

QDate toQDate(host::DateTime value);
host::DateTime fromQDate(const QDate& date);

// A month calendar whose day cells show the holidays of a chosen user in
// blue bold; days of the neighbouring months are drawn greyed.
class HolidayCalendar : public QCalendarWidget {
  Q_OBJECT

 public:
  using HolidayLookup = std::function<std::string(host::DateTime)>;
  explicit HolidayCalendar(QWidget* parent = nullptr);
  void setHolidayLookup(HolidayLookup lookup);
  // Draws every cell again (after the user of the holidays changed).
  void refreshCells() { updateCells(); }

 protected:
  void paintCell(QPainter* painter, const QRect& rect, QDate date) const override;

 private:
  HolidayLookup holidays_;
};

// The pop-up calendar that drops from a date box. A holiday table that cannot
// be opened (missing, locked) shows no holidays; a user table that cannot be
// read offers the current user alone.
class TfrmPickDate : public QDialog {
  Q_OBJECT

 public:
  TfrmPickDate(const PickDateContext& context, QWidget* parent = nullptr);
  ~TfrmPickDate() override;

  // Opens the calendar below (or above) `control` at `start` (today when 0 or
  // below); the chosen date on OK, else `start` unchanged.
  static host::DateTime pickDate(QWidget* control, host::DateTime start, const PickDateContext& context);

  void setDate(host::DateTime date);
  host::DateTime date() const;
  // The holiday name of the date for the user chosen in the list, or "".
  std::string holidayOf(host::DateTime date);

  void sbNowClick();
  void cbMonthClick(int index);
  void YearSpinnerClick(bool up);
  void pnlYearClick();
  void y11Click(int year);
  void btGoClick();
  void cbWhoClick();
  void sbMoreClick();

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The window's parts, top to bottom; each connects its own controls.
  QLayout* buildMonthRow();
  void buildCalendar();
  void buildDatePlusPanel();
  QLayout* buildOkRow();
  // Fills the holiday user list and opens the holiday table.
  void loadUsersAndHolidays();
  void updatePanels();

  PickDateContext context_;
  std::unique_ptr<host::Table> holidays_;
  HolidayCalendar* Calendar_;
  QLabel* lblDate_;
  QWidget* Panel2_;
  QComboBox* cbWho_;
  QSpinBox* nDays_;
  QRadioButton* rbWeeks_;
  QComboBox* cbMonth_;
  QPushButton* pnlYear_;
  QLabel* pnlWhen_;
  QMenu* PopupMenu1_;
};

}  // namespace vistrel::dialogs
