// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

#include <memory>

#include "filter/filter_session.h"
#include "geo/main_tables.h"
#include "geo/tally.h"
#include "host/engine.h"

class QLabel;
class QPushButton;
class QTableView;

namespace vistrel::host {
class TableModel;
}
namespace vistrel::filter {
class TfrmFltPick;
}

namespace vistrel::geo {

// The program's main window: the list of Tallis databases, the filter line
// and the four analysis buttons. It owns the tables it reads for the whole
// run (MainTables); the session's active filter is installed on its contact
// table before each analysis. An analysis lists the distinct values of the
// current database and shows them in a result window, modally; closing the
// main window ends the program.
//
// Table errors are shown to the user (ShowError) where they happen and
// abandon the step; the window stays usable.
class TFrmMain : public QWidget {
  Q_OBJECT

 public:
  // `engine` and `session` (start-up's: who is logged in, the database the
  // window keeps in CurrentDB and the active filter) must outlive the window.
  TFrmMain(host::Engine& engine, filter::FilterSession& session, QWidget* parent = nullptr);
  ~TFrmMain() override;

  // The tally of one analysis, and its result window. Does nothing while a
  // tally runs.
  void BtnZipClick(Analysis kind);
  void BtnAboutClick();
  void BtnHelpClick();
  void BtnCloseClick();
  // Opens the filter list and puts its choice in place on the contacts.
  void btFilterClick();

  // The filter list of the run (made after this window, living as long).
  void setFilterList(filter::TfrmFltPick* list) { filterList_ = list; }

  MainTables& tables() { return tables_; }
  filter::FilterSession& session() { return session_; }
  QTableView* databaseGrid() const { return grid_; }
  host::TableModel* databaseModel() const { return model_; }
  bool busy() const { return busy_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void FormCreate();
  void FormShow();
  void FormClose();
  // The active filter on the contact table, for the walk that follows.
  void installFilter();
  // The current database row changed.
  void wwDataSource1DataChange();
  bool filterActive() const;
  void toggleFilterGlyph();
  void showFilterLine();
  void setFilterLine(const QString& text);

  void buildWindow();
  QPushButton* addButton(const char* name, const QString& caption, int top);

  host::Engine& engine_;
  filter::FilterSession& session_;
  MainTables tables_;
  host::TableModel* model_ = nullptr;
  QTableView* grid_ = nullptr;
  QLabel* title_ = nullptr;
  QLabel* filterLine_ = nullptr;
  QPushButton* filterButton_ = nullptr;
  filter::TfrmFltPick* filterList_ = nullptr;
  bool busy_ = false;
  bool shown_ = false;
  bool refusing_ = false;
  bool centred_ = false;
};

}  // namespace vistrel::geo
