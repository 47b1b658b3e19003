// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "filter/compiled_filter.h"
#include "filter/filter_definition.h"
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
// modally by the main window. It activates and counts with the session's
// active filter, the one the main window installs on its walks; marks count
// for the logged-in user (CurrentWho).
//
// Table errors and refused activations are shown (ShowError) where they
// happen and abandon the step.
class TfrmFltPick : public QDialog {
  Q_OBJECT

 public:
  // `engine` and `session` must outlive the window.
  TfrmFltPick(host::Engine& engine, FilterSession& session, QWidget* parent = nullptr);
  ~TfrmFltPick() override;

  // Makes `database` the one the list counts; an active filter works its
  // values out again, so its TODAY dates count from now.
  void selectinit(std::string database);

  // The handlers of the buttons, the menu and the user combo.
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
  void SetButtonState(bool on);

  // Opens the criteria editor on `row` (a new filter when null) for
  // `database`; true when it closed with OK. The program hands it in;
  // without one Add and Edit say that the editor is not available.
  using CriteriaEditor =
      std::function<bool(QWidget* parent, const StoredFilter* row, const std::string& database)>;
  void setCriteriaEditor(CriteriaEditor editor) { editor_ = std::move(editor); }

  // Where the day comes from (tests fix it).
  void setClock(const host::Clock& clock) { clock_ = &clock; }
  // The input box of Copy; the answer, or none for Cancel (tests answer it).
  using InputBox = std::function<std::optional<std::string>(const QString& caption, const QString& prompt,
                                                            const QString& initial)>;
  void setInputBox(InputBox box) { inputBox_ = std::move(box); }

  // How often a count lets the window messages run, in milliseconds (0:
  // every 10 contacts).
  void setLoopInterval(int ms) { loopInterval_ = ms; }
  bool counting() const { return counting_; }
  bool animating() const;
  void toggleAnimation();
  QTableView* grid() const { return grid_; }
  const std::vector<StoredFilter>& rows() const { return rows_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
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
  void reloadRows();
  void selectGridRow(int row);
  void selectKey(std::string_view frecno);
  std::optional<StoredFilter> currentRow() const;
  void showCounts(const SelectionCount& count);
  // Counts the contacts the filter selects, showing the figures as it goes;
  // a press of Abort ends it early (the count comes back not complete).
  host::StatusOr<SelectionCount> runCount(host::Table& contacts);
  // What activation refused, each fault in a box of its own.
  void showFaults(const DefinitionFaults& faults);
  // The figures and the gauge of a count that ran to the end.
  void showFinalCount(const SelectionCount& count);
  bool showCriteriaEditor(const StoredFilter* row);

  host::Engine& engine_;
  FilterSession& session_;
  const host::Clock* clock_;
  InputBox inputBox_;
  CriteriaEditor editor_;
  CompiledFilter& filter_;
  std::string database_;
  std::vector<StoredFilter> rows_;
  bool counting_ = false;
  int loopInterval_ = 20;

  QStandardItemModel* model_ = nullptr;
  QTableView* grid_ = nullptr;
  QLabel* title_ = nullptr;
  QComboBox* users_ = nullptr;
  QLabel* animation_ = nullptr;
  QTimer* animationTimer_ = nullptr;
  int animationFrame_ = 0;
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
