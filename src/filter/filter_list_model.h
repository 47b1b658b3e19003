// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "filter/compiled_filter.h"
#include "filter/filter_session.h"
#include "filter/filter_store.h"
#include "host/clock.h"
#include "host/engine.h"

namespace vistrel::filter {

// Which controls of the filter list take input. While a count runs only
// Count does, as its Abort.
struct FilterListControls {
  bool activate = false;  // also Activate Reverse
  bool deactivate = false;
  bool count = false;
  bool countAborts = false;  // Count reads "&Abort count"
  bool add = false;
  bool edit = false;
  bool copy = false;
  bool remove = false;
  bool help = false;
  bool cancel = false;  // also Escape and the close box
  bool users = false;
  bool grid = false;

  friend bool operator==(const FilterListControls&, const FilterListControls&) = default;
};

// The figures of the last count: which filter, over the contacts of which
// database, and how far it got (complete false when it was stopped).
struct CountFigures {
  std::string filter;  // the description of the filter counted
  std::string frecno;
  std::string database;
  SelectionCount count;
  // Matches in whole percent of the total; none for a stopped or empty count.
  std::optional<int> percent() const;
};

// The filter list without its window: the saved filters in view (all users'
// or one user's), the row the list stands on, activation and counting with
// the session's active filter, and where the list stands after Add, Edit,
// Copy and Delete. The window binds its grid and buttons to it and shows
// the messages its operations return, each in an error box; nothing here
// shows a message.
//
// A count walks the contacts of the database the list was opened on with
// the highlighted filter as the active one and leaves no filter active. It
// runs on the caller's thread: the progress callback lets the window work,
// and requestStop() or requestClose() made from there end it at its next
// look. The engine and the session must outlive the model.
class FilterListModel {
 public:
  using Messages = std::vector<std::string>;
  // Called once as a count begins and then every `stride` contacts with the
  // figures so far.
  using CountProgress = std::function<void(const SelectionCount& soFar)>;

  FilterListModel(host::Engine& engine, FilterSession& session);

  // Where the day comes from (TODAY dates of an activated filter).
  void setClock(const host::Clock& clock) { clock_ = &clock; }

  // Makes `database` the one counts walk; an active filter works its values
  // out again, so its TODAY dates count from now. Figures of a count over
  // another database are dropped.
  Messages setDatabase(std::string database);
  const std::string& database() const { return database_; }

  // Shows the filters of user `who` (every user's when empty) and stands on
  // the first one.
  Messages setWho(std::string who);
  const std::string& who() const { return who_; }
  // The list opens again: it reads the filters anew, stands on the active
  // filter when it is in view (else on the first row) and drops the figures
  // of an earlier count, which may no longer hold.
  Messages reopen();

  const std::vector<StoredFilter>& rows() const { return rows_; }
  // The row the list stands on; -1 when the view is empty.
  int current() const { return current_; }
  // REQUIRES: -1 <= row < rows().size(). Ignored while a count runs.
  void setCurrent(int row);
  const StoredFilter* currentRow() const;

  FilterListControls controls() const;

  // Makes the highlighted filter the active one (reversed when asked); the
  // marks of the logged-in user count.
  Messages activate(bool reverse);
  void deactivate();

  // Counts the contacts of the database that the highlighted filter
  // selects, with the highlighted filter as the active one; no filter is
  // active afterwards. The figures so far are in figures() whenever
  // `progress` is called.
  Messages count(const CountProgress& progress = nullptr, std::int64_t stride = 10);
  bool counting() const { return counting_; }
  // The running count ends at its next look, without final figures.
  void requestStop() { stopRequested_ = true; }
  // The window is asked to close: a running count stops first, and the
  // window closes once it has. Returns whether it may close now.
  bool requestClose();
  bool closePending() const { return closePending_; }
  const std::optional<CountFigures>& figures() const { return figures_; }

  // Add: remember the filters before the editor opens; after it, the list
  // stands on the new filter when one was saved, else where it stood.
  void beginAdd();
  Messages endAdd(bool saved);
  // Edit of the highlighted filter: when the editor saved, no filter stays
  // active (whichever it was) and the figures of that filter go; the list
  // stands on the edited filter.
  Messages endEdit(bool saved);
  // Deletes the highlighted filter; no filter stays active. The list stands
  // on the row that followed it (or the new last row).
  Messages remove();
  // The name a copy of the highlighted filter is offered under.
  std::string copyProposal() const;
  // Copies the highlighted filter as `newName`; the list stands on the
  // copy, or where it stood when the copy is refused (the message says why).
  Messages copy(std::string_view newName);

 private:
  // Reads the view anew and stands on the row keyed `frecno`, or else on
  // row `fallback` (clamped to the view).
  Messages reload(std::string_view frecno, int fallback);
  int rowOfKey(std::string_view frecno) const;
  std::string currentKey() const;
  host::Status openContacts(host::Table& contacts) const;

  host::Engine& engine_;
  FilterSession& session_;
  const host::Clock* clock_;
  std::string database_;
  std::string who_;
  std::vector<StoredFilter> rows_;
  int current_ = -1;
  std::set<std::string, std::less<>> keysBeforeAdd_;
  std::string keyBeforeAdd_;
  std::optional<CountFigures> figures_;
  bool counting_ = false;
  bool stopRequested_ = false;
  bool closePending_ = false;
};

}  // namespace vistrel::filter
