// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "dialogs/criteria_editor_model.h"
#include "dialogs/filter_save.h"
#include "dialogs/ui/criteria_pickers.h"
#include "filter/category_names.h"
#include "filter/ui/frm_flt_pick.h"
#include "host/clock.h"
#include "host/engine.h"
#include "host/locale.h"
#include "host/session.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPrinter;
class QPushButton;
class QScrollArea;

namespace vistrel::dialogs {

// What the editor needs to know of the running program.
struct EditorContext {
  std::string currentDb;
  std::string currentWho;
  host::Locale locale;
  filter::CategoryNames categories;  // the current database's category names
  // The tables of the calendar's users and holidays; none shows no holidays.
  host::Engine* engine = nullptr;

  // CurrentDB, CurrentWho, the engine's locale, the category names of
  // CurrentDB's row (none when it cannot be read) and the engine.
  static EditorContext current(host::Engine& engine, const host::Session& session);
};

// The modal "Set contact filter" dialog in which one filter of the select
// table is written or changed: a description and ten criteria lines of
// parentheses, field, relation, condition and And/Or. The lines and their
// rules live in a CriteriaEditorModel; the window shows it and hands every
// change to it. OK checks the lines, and stores the record through `store`;
// it then closes with Accepted and record() holds the stored row. Cancel
// writes nothing. The dialog does not own the store.
class TfrmFilterContact : public QDialog {
  Q_OBJECT

 public:
  TfrmFilterContact(FilterRecordStore& store, FilterRecord record, EditorContext context, QWidget* parent = nullptr);
  ~TfrmFilterContact() override;

  // Replaces the pickers (tests answer them without windows).
  void setPickers(std::unique_ptr<CriteriaPickers> pickers);
  // The clock of today's date and the current time, for the editor and its
  // pickers. It must outlive the dialog.
  void setClock(const host::Clock& clock) { clock_ = &clock; }
  // Replaces the printer dialog; returns whether to print.
  void setPrinterSetUp(std::function<bool(QPrinter&, QWidget*)> setUp) { setUpPrinter_ = std::move(setUp); }

  const FilterRecord& record() const { return record_; }
  const CriteriaEditorModel& model() const { return model_; }

  // The controls of line n (1 to 10); cbAnd(10) is null.
  QComboBox* cbOpen(int n) const { return line(n).open; }
  QLineEdit* Edfield(int n) const { return line(n).field; }
  QComboBox* cbRel(int n) const { return line(n).relation; }
  QLineEdit* Edit(int n) const { return line(n).condition; }
  QComboBox* cbClose(int n) const { return line(n).close; }
  QComboBox* cbAnd(int n) const { return line(n).andOr; }

  // The field box of line n gets `text` as the field picker would set it.
  void setFieldBoxText(int n, const QString& text);

 public slots:
  void btGenerateClick();
  void btOKClick();
  void btCancelClick();
  void btPrintClick();
  void btHelpClick();
  void ResizeAdvancedControls();
  // Prints the window as an image with every box white. False when the
  // printer could not be started.
  bool printWindow(QPrinter& printer);

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct LineControls {
    QComboBox* open = nullptr;
    QLineEdit* field = nullptr;
    QComboBox* relation = nullptr;
    QLineEdit* condition = nullptr;
    QComboBox* close = nullptr;
    QComboBox* andOr = nullptr;
  };

  const LineControls& line(int n) const { return lines_[static_cast<std::size_t>(n - 1)]; }
  void buildLine(int n, QWidget* box);
  void buildButtonRow();
  void FormShow();
  void showLine(int n);  // the model's line n into its controls
  void showLines();
  void cbField1Change(int n);
  void cbRel1Click(int n);
  void cbAnd1Click(int n);
  void Edfield1Enter(int n);
  void Edit1Enter(int n);
  void takeBackActivation();
  void focusFault(const CriteriaFault& fault);
  void setBoxColours(const QColor& colour);
  std::vector<QWidget*> boxes() const;

  FilterRecordStore& store_;
  FilterRecord record_;
  EditorContext context_;
  CriteriaEditorModel model_;
  std::unique_ptr<CriteriaPickers> pickers_;
  const host::Clock* clock_;
  std::function<bool(QPrinter&, QWidget*)> setUpPrinter_;
  bool shown_ = false;
  bool syncing_ = false;  // the window is writing the model into its controls

  QLineEdit* edDescript_ = nullptr;
  QCheckBox* cbCase_ = nullptr;
  QCheckBox* cbPunct_ = nullptr;
  QCheckBox* cbAdvanced_ = nullptr;
  QScrollArea* scrollBox_ = nullptr;
  std::array<LineControls, kCriteriaLineCount> lines_{};
  int fieldLeft_ = 0;
  int fieldWidth_ = 0;
  int conditionWidth_ = 0;
};

// The filter list's Add and Edit: the editor on the list's row (a new filter
// when none) for the session's database and user, storing into the select
// table; true when it closed with OK, the row then stored. `prepare` sees
// each dialog before it shows (tests hand it their pickers).
filter::TfrmFltPick::CriteriaEditor criteriaEditorFor(host::Engine& engine, const host::Session& session,
                                                      std::function<void(TfrmFilterContact&)> prepare = {});

}  // namespace vistrel::dialogs
