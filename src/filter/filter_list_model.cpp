// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "filter/filter_list_model.h"

#include <algorithm>

#include "host/table.h"
#include "host/tallis_schema.h"

namespace vistrel::filter {
namespace {

FilterListModel::Messages messagesOf(const DefinitionFaults& faults) {
  FilterListModel::Messages messages;
  for (const DefinitionFault& f : faults) messages.push_back(f.message);
  return messages;
}

FilterListModel::Messages messagesOf(const host::Status& s) {
  if (s.ok()) return {};
  return {s.message()};
}

}  // namespace

std::optional<int> CountFigures::percent() const {
  if (!count.complete || count.total <= 0) return std::nullopt;
  return static_cast<int>(count.matches * 100 / count.total);
}

FilterListModel::FilterListModel(host::Engine& engine, FilterSession& session)
    : engine_(engine), session_(session), clock_(&host::SystemClock::instance()) {}

FilterListModel::Messages FilterListModel::setDatabase(std::string database) {
  if (figures_ && figures_->database != database) figures_.reset();
  database_ = std::move(database);
  if (!session_.activeFilter.active()) return {};
  return messagesOf(session_.activeFilter.prepareapply(*clock_, engine_.locale()));
}

FilterListModel::Messages FilterListModel::setWho(std::string who) {
  if (counting_) return {};
  who_ = std::move(who);
  return reload({}, 0);
}

FilterListModel::Messages FilterListModel::reopen() {
  if (counting_) return {};
  figures_.reset();
  closePending_ = false;
  Messages messages = reload({}, 0);
  const CompiledFilter& active = session_.activeFilter;
  if (active.active()) {
    const auto it = std::find_if(rows_.begin(), rows_.end(),
                                 [&](const StoredFilter& r) { return r.shortname == active.name(); });
    if (it != rows_.end()) current_ = static_cast<int>(it - rows_.begin());
  }
  return messages;
}

void FilterListModel::setCurrent(int row) {
  if (counting_) return;
  current_ = row;
}

const StoredFilter* FilterListModel::currentRow() const {
  if (current_ < 0 || current_ >= static_cast<int>(rows_.size())) return nullptr;
  return &rows_[static_cast<std::size_t>(current_)];
}

std::string FilterListModel::currentKey() const {
  const StoredFilter* row = currentRow();
  return row ? row->frecno : std::string();
}

int FilterListModel::rowOfKey(std::string_view frecno) const {
  if (frecno.empty()) return -1;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].frecno == frecno) return static_cast<int>(i);
  }
  return -1;
}

FilterListModel::Messages FilterListModel::reload(std::string_view frecno, int fallback) {
  auto rows = listFilters(engine_, who_);
  if (!rows.ok()) {
    rows_.clear();
    current_ = -1;
    return messagesOf(rows.status());
  }
  rows_ = std::move(rows).value();
  current_ = rowOfKey(frecno);
  if (current_ < 0 && !rows_.empty()) current_ = std::clamp(fallback, 0, static_cast<int>(rows_.size()) - 1);
  return {};
}

FilterListControls FilterListModel::controls() const {
  FilterListControls c;
  if (counting_) {
    c.count = true;
    c.countAborts = true;
    return c;
  }
  const bool any = currentRow() != nullptr;
  c.activate = c.count = c.edit = c.copy = c.remove = any;
  // Deactivate needs no row: a filter may be active while the view is empty.
  c.deactivate = any || session_.activeFilter.active();
  c.add = c.help = c.cancel = c.users = c.grid = true;
  return c;
}

FilterListModel::Messages FilterListModel::activate(bool reverse) {
  if (counting_) return {};
  const StoredFilter* row = currentRow();
  return messagesOf(session_.activate(row ? *row : StoredFilter{}, reverse, *clock_, engine_.locale()));
}

void FilterListModel::deactivate() {
  if (!counting_) session_.activeFilter.deactivate();
}

host::Status FilterListModel::openContacts(host::Table& contacts) const {
  VISTREL_RETURN_IF_ERROR(contacts.setIndexName("LastFirst"));
  VISTREL_RETURN_IF_ERROR(contacts.open());
  VISTREL_RETURN_IF_ERROR(contacts.setRange({database_}, {database_}));
  contacts.disableControls();
  return host::Status::OK();
}

FilterListModel::Messages FilterListModel::count(const CountProgress& progress, std::int64_t stride) {
  if (counting_) return {};
  const StoredFilter* row = currentRow();
  if (row == nullptr) return {};
  const StoredFilter counted = *row;
  host::Table contacts(engine_, std::string(host::kTallisAlias), std::string(host::kContactTableName));
  if (const host::Status s = openContacts(contacts); !s.ok()) return messagesOf(s);
  // A filter that cannot be activated counts nothing: counting it would
  // report every contact as a match.
  if (const DefinitionFaults faults = session_.activate(counted, false, *clock_, engine_.locale()); !faults.empty()) {
    return messagesOf(faults);
  }
  figures_ = CountFigures{counted.shortname, counted.frecno, database_, {}};
  figures_->count.complete = false;
  counting_ = true;
  stopRequested_ = false;
  if (progress) progress(figures_->count);
  const host::StatusOr<SelectionCount> result = session_.activeFilter.countSelection(
      contacts, engine_,
      [&](const SelectionCount& soFar) {
        figures_->count = soFar;
        figures_->count.complete = false;
        if (progress) progress(figures_->count);
        return stopRequested_;
      },
      stride);
  counting_ = false;
  stopRequested_ = false;
  session_.activeFilter.deactivate();
  if (!result.ok()) {
    figures_.reset();
    return messagesOf(result.status());
  }
  figures_->count = *result;
  return {};
}

bool FilterListModel::requestClose() {
  if (!counting_) return true;
  closePending_ = true;
  stopRequested_ = true;
  return false;
}

void FilterListModel::beginAdd() {
  keysBeforeAdd_.clear();
  for (const StoredFilter& r : rows_) keysBeforeAdd_.insert(r.frecno);
  keyBeforeAdd_ = currentKey();
}

FilterListModel::Messages FilterListModel::endAdd(bool saved) {
  if (counting_) return {};
  Messages messages = reload(keyBeforeAdd_, 0);
  if (!saved) return messages;
  const auto fresh = std::find_if(rows_.begin(), rows_.end(),
                                  [&](const StoredFilter& r) { return !keysBeforeAdd_.contains(r.frecno); });
  if (fresh != rows_.end()) current_ = static_cast<int>(fresh - rows_.begin());
  return messages;
}

FilterListModel::Messages FilterListModel::endEdit(bool saved) {
  if (counting_) return {};
  const std::string key = currentKey();
  if (saved) {
    session_.activeFilter.deactivate();
    if (figures_ && figures_->frecno == key) figures_.reset();
  }
  return reload(key, current_);
}

FilterListModel::Messages FilterListModel::remove() {
  if (counting_) return {};
  const StoredFilter* row = currentRow();
  if (row == nullptr) return {};
  const std::string key = row->frecno;
  const host::Status s = deleteFilter(engine_, row->shortname);
  if (s.ok()) {
    session_.activeFilter.deactivate();
    if (figures_ && figures_->frecno == key) figures_.reset();
  }
  Messages messages = messagesOf(s);
  // After a delete the key is gone and the list stands on the row that
  // took its place.
  for (std::string& m : reload(key, current_)) messages.push_back(std::move(m));
  return messages;
}

std::string FilterListModel::copyProposal() const {
  const StoredFilter* row = currentRow();
  return row ? filter::copyProposal(row->shortname) : std::string();
}

FilterListModel::Messages FilterListModel::copy(std::string_view newName) {
  if (counting_) return {};
  const StoredFilter* row = currentRow();
  if (row == nullptr) return {};
  const std::string key = row->frecno;
  const host::Status s = copyFilter(engine_, row->shortname, newName, *clock_);
  Messages messages = messagesOf(s);
  for (std::string& m : reload(key, current_)) messages.push_back(std::move(m));
  if (s.ok()) {
    const auto copied = std::find_if(rows_.begin(), rows_.end(),
                                     [&](const StoredFilter& r) { return r.shortname == newName; });
    if (copied != rows_.end()) current_ = static_cast<int>(copied - rows_.begin());
  }
  return messages;
}

}  // namespace vistrel::filter
