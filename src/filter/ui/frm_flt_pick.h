// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "filter/compiled_filter.h"
#include "filter/filter_definition.h"
#include "filter/filter_list_model.h"
#include "filter/filter_session.h"
#include "filter/filter_store.h"
#include "host/clock.h"
#include "host/engine.h"

class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QStandardItemModel;
class QTableView;
class QTimer;

namespace vistrel::filter {

// The filter list ("Select a filter"): the saved filters of the select table,
// with activation (plain or reversed), deactivation, counting, and adding,
// editing, copying and deleting filters. Created once at start-up and shown
// modally by the main window. A thin window over FilterListModel, which
// holds the rows, the row the list stands on, which controls are live and
// the figures of the last count; the window shows them and the messages the
// model returns (ShowError). It activates and counts with the session's
// active filter, the one the main window installs on its walks; marks count
// for the logged-in user (CurrentWho).
//
// While a count runs only Count (as Abort) takes input; Escape, the close
// box or anything else that closes the window first stops the count.
class TfrmFltPick : public QDialog {
  Q_OBJECT

 public:
  // `engine` and `session` must outlive the window.
  TfrmFltPick(host::Engine& engine, FilterSession& session, QWidget* parent = nullptr);
  ~TfrmFltPick() override;

  // Makes `database` the one the list counts; an active filter works its
  // values out again, so its TODAY dates count from now.
  void selectinit(std::string database);

  // The handlers of the buttons, the menu and the user combo; each does
  // nothing while its control is not live.
  void BtActivateClick();
  void BtReverseClick();
  void BtDeactivateClick();
  void BtcountClick();
  void BtAddClick();
  void BtEditClick();
  void BtDeleteClick();
  void btCopyClick();
  void BtHelpClick();
  void cbUsersClick();
  void showActiveFilter();
  void SetButtons();

  // Opens the criteria editor on `row` (a new filter when null) for
  // `database`; true when it closed with OK. The program hands it in;
  // without one Add and Edit say that the editor is not available.
  using CriteriaEditor =
      std::function<bool(QWidget* parent, const StoredFilter* row, const std::string& database)>;
  void setCriteriaEditor(CriteriaEditor editor) { editor_ = std::move(editor); }

  // Where the day comes from (tests fix it).
  void setClock(const host::Clock& clock) { list_.setClock(clock); }
  // The input box of Copy; the answer, or none for Cancel (tests answer it).
  using InputBox = std::function<std::optional<std::string>(const QString& caption, const QString& prompt,
                                                            const QString& initial)>;
  void setInputBox(InputBox box) { inputBox_ = std::move(box); }
  // The box Copy asks in unless a test answers: wide enough for its caption
  // and a long name.
  std::optional<std::string> askName(const QString& caption, const QString& prompt, const QString& initial);

  // How often a count lets the window messages run, in milliseconds (0:
  // every 10 contacts).
  void setLoopInterval(int ms) { loopInterval_ = ms; }
  bool counting() const { return list_.counting(); }
  bool animating() const;
  void toggleAnimation();
  QTableView* grid() const { return grid_; }
  const std::vector<StoredFilter>& rows() const { return list_.rows(); }
  const FilterListModel& model() const { return list_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildWindow();
  void buildHeader();
  void buildGrid();
  void buildTotals();
  void buildButtons();
  QPushButton* addButton(const char* name, const QString& caption, int top, void (TfrmFltPick::*handler)());
  void FormCreate();
  void FormShow();
  void dsSelectDataChange();
  void activate(bool reverse);
  // The whole window from the model: rows, the row stood on, controls,
  // active filter and count figures.
  void showAll();
  void showRows();
  void showFigures();
  void showMessages(const FilterListModel::Messages& messages);
  bool live(bool FilterListControls::*control) const { return list_.controls().*control; }
  bool showCriteriaEditor(const StoredFilter* row);

  FilterListModel list_;
  InputBox inputBox_;
  CriteriaEditor editor_;
  host::Engine& engine_;
  FilterSession& session_;
  int loopInterval_ = 20;
  bool showingRows_ = false;  // the grid is being filled from the model

  QStandardItemModel* gridModel_ = nullptr;
  QTableView* grid_ = nullptr;
  QLabel* title_ = nullptr;
  QComboBox* users_ = nullptr;
  QLabel* animation_ = nullptr;
  QTimer* animationTimer_ = nullptr;
  int animationFrame_ = 0;
  QLabel* counted_ = nullptr;
  QLabel* active_ = nullptr;
  QLabel* reverse_ = nullptr;
  QLabel* total_ = nullptr;
  QProgressBar* gauge_ = nullptr;
  QLabel* name_ = nullptr;
  QFrame* yellow_ = nullptr;
  QMenu* menu_ = nullptr;
  QPushButton* activate_ = nullptr;
  QPushButton* reverseButton_ = nullptr;
  QPushButton* deactivate_ = nullptr;
  QPushButton* count_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* help_ = nullptr;
  QPushButton* add_ = nullptr;
  QPushButton* edit_ = nullptr;
  QPushButton* delete_ = nullptr;
  QPushButton* copy_ = nullptr;
};

}  // namespace vistrel::filter
