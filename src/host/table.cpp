// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/table.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <cstring>
#include <map>
#include <tuple>
#include <unordered_map>

#include "host/engine.h"
#include "host/locale.h"
#include "host/store.h"
#include "host/table_sql.h"
#include "host/text.h"
#include "host/value_text.h"

namespace vistrel::host {
namespace {

// Binds a value; `keep` says the value outlives the statement's next step,
// so its text need not be copied.
void bindValue(sqlite3_stmt* stmt, int i, const Value& v, bool keep = false) {
  switch (v.kind()) {
    case Value::Kind::kNull: sqlite3_bind_null(stmt, i); break;
    case Value::Kind::kInteger: sqlite3_bind_int64(stmt, i, v.integer()); break;
    case Value::Kind::kReal: sqlite3_bind_double(stmt, i, v.real()); break;
    case Value::Kind::kText:
      sqlite3_bind_text(stmt, i, v.text().data(), static_cast<int>(v.text().size()),
                        keep ? SQLITE_STATIC : SQLITE_TRANSIENT);
      break;
  }
}

void readColumn(sqlite3_stmt* stmt, int i, Value& out) {
  switch (sqlite3_column_type(stmt, i)) {
    case SQLITE_INTEGER: out.setInteger(sqlite3_column_int64(stmt, i)); break;
    case SQLITE_FLOAT: out.setReal(sqlite3_column_double(stmt, i)); break;
    case SQLITE_NULL: out.setNull(); break;
    default: {
      const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
      out.setText(std::string_view(p ? p : "", static_cast<std::size_t>(sqlite3_column_bytes(stmt, i))));
    }
  }
}

// The text of column `i` of the current row without a copy when it is stored
// as text; other values are formatted into `scratch`. A text column is read
// as text straight away (its values are stored as text, or null).
std::string_view columnText(sqlite3_stmt* stmt, int i, ColumnType type, const Locale& locale, Value& value,
                            std::string& scratch) {
  if (isTextType(type)) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
    return p ? std::string_view(p, static_cast<std::size_t>(sqlite3_column_bytes(stmt, i))) : std::string_view();
  }
  const int kind = sqlite3_column_type(stmt, i);
  if (kind == SQLITE_NULL) return std::string_view();
  if (kind == SQLITE_TEXT) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
    return std::string_view(p ? p : "", static_cast<std::size_t>(sqlite3_column_bytes(stmt, i)));
  }
  readColumn(stmt, i, value);
  scratch = valueText(value, type, locale);
  return scratch;
}

using Dir = Direction;

}  // namespace

// The cursor's state: the open table's layout, the record buffer, the running
// statement and the statements kept for reuse.
struct Table::Impl : StoreCursor {
  explicit Impl(Table* t) : owner(t) {}
  ~Impl() override {
    suspend();
    retireStatements();
    releaseRetired();
    sqlite3_finalize(insertStmt);
    if (store) store->removeCursor(this);
  }

  void suspend() override {
    if (pendingRow && rowStmt == cursor) readPendingRow();
    if (cursor != nullptr) sqlite3_reset(cursor);
    cursorLive = false;
  }

  // Statements built for an older field selection are kept until a safe
  // point, because one of them may still be stepping.
  void retireStatements() {
    for (auto& [sql, stmt] : cache) retired.push_back(stmt);
    cache.clear();
    walkTexts.clear();
  }

  // A safe point: nothing steps any more. Statements still in the cache stay
  // prepared, so a new range or filter on the same index only binds anew.
  void releaseRetired() {
    suspend();
    for (sqlite3_stmt* stmt : retired) {
      if (stmt == cursor) cursor = nullptr;
      sqlite3_finalize(stmt);
    }
    retired.clear();
  }

  std::string what() const { return meta ? meta->name : owner->tableName_; }

  const ColumnMeta& col(int c) const { return meta->columns[static_cast<std::size_t>(c)]; }

  TableSql sql() const { return TableSql(*meta, *index); }

  Restriction restriction() const {
    Restriction r;
    if (hasRange) {
      r.low = &low;
      r.high = &high;
    }
    if (owner->filtered_) r.conditions = &conditions;
    return r;
  }

  void rebuildSelection() {
    if (!selectionDirty) return;
    if (pendingRow) readPendingRow();
    selected.clear();
    const auto add = [&](int part) {
      if (std::find(selected.begin(), selected.end(), part) == selected.end()) selected.push_back(part);
    };
    for (int p : meta->identity) add(p);
    for (int p : index->order) add(p);
    for (std::size_t c = 0; c < registered.size(); ++c) {
      if (registered[c]) add(static_cast<int>(c));
    }
    positionOf.assign(registered.size(), -1);
    for (std::size_t i = 0; i < selected.size(); ++i) {
      if (selected[i] != kRowid) positionOf[static_cast<std::size_t>(selected[i])] = static_cast<int>(i);
    }
    retireStatements();
    selectionDirty = false;
  }

  StatusOr<sqlite3_stmt*> statement(const std::string& text) {
    if (auto it = cache.find(text); it != cache.end()) {
      sqlite3_reset(it->second);
      sqlite3_clear_bindings(it->second);
      return it->second;
    }
    auto st = store->prepare(text, what());
    if (!st.ok()) return st.status();
    ++prepared;
    cache[text] = *st;
    return *st;
  }

  StatusOr<sqlite3_stmt*> bound(const std::string& text, const std::vector<Value>& params) {
    auto st = statement(text);
    if (!st.ok()) return st;
    for (std::size_t i = 0; i < params.size(); ++i) bindValue(*st, static_cast<int>(i + 1), params[i]);
    return st;
  }

  // Runs a statement that yields at most one row, handing it to `row`.
  Status stepOnce(sqlite3_stmt* stmt, const std::function<void(sqlite3_stmt*)>& row, bool* found = nullptr) {
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW && row) row(stmt);
    sqlite3_reset(stmt);
    if (found != nullptr) *found = rc == SQLITE_ROW;
    if (rc == SQLITE_ROW || rc == SQLITE_DONE) return Status::OK();
    return store->error(rc, what());
  }

  // The record filter's row: `stmt` stands on it, and a field is read from it
  // when first asked for, so that a record the filter refuses costs only the
  // fields it looked at. The row is read in full (readPendingRow) before the
  // statement moves on or is reset, or once it is accepted.
  void startPendingRow(sqlite3_stmt* stmt) {
    std::memset(loaded.data(), 0, loaded.size());
    for (std::size_t i = 0; i < selected.size(); ++i) {
      if (selected[i] == kRowid) rowid = sqlite3_column_int64(stmt, static_cast<int>(i));
    }
    rowStmt = stmt;
    pendingRow = true;
  }

  // Reads column `c` from the pending row; false when the row lacks it.
  bool readPending(int c) {
    if (!pendingRow) return false;
    const int at = positionOf[static_cast<std::size_t>(c)];
    if (at < 0) return false;
    readColumn(rowStmt, at, values[static_cast<std::size_t>(c)]);
    loaded[static_cast<std::size_t>(c)] = 1;
    return true;
  }

  // The text of text column `c` in the pending row, without a copy; false
  // when the row lacks it or the column holds no text type.
  bool pendingText(int c, std::string_view* text) {
    if (!pendingRow || loaded[static_cast<std::size_t>(c)] || !isTextType(col(c).type)) return false;
    const int at = positionOf[static_cast<std::size_t>(c)];
    if (at < 0) return false;
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(rowStmt, at));
    *text = p ? std::string_view(p, static_cast<std::size_t>(sqlite3_column_bytes(rowStmt, at))) : std::string_view();
    return true;
  }

  void readPendingRow() {
    for (int part : selected) {
      if (part != kRowid && !loaded[static_cast<std::size_t>(part)]) readPending(part);
    }
    pendingRow = false;
  }

  void loadRow(sqlite3_stmt* stmt) {
    pendingRow = false;
    std::memset(loaded.data(), 0, loaded.size());
    for (std::size_t i = 0; i < selected.size(); ++i) {
      const int part = selected[i];
      if (part == kRowid) {
        rowid = sqlite3_column_int64(stmt, static_cast<int>(i));
      } else {
        readColumn(stmt, static_cast<int>(i), values[static_cast<std::size_t>(part)]);
        loaded[static_cast<std::size_t>(part)] = 1;
      }
    }
  }

  Value partValue(int part) {
    if (part == kRowid) return Value(rowid);
    if (!loaded[static_cast<std::size_t>(part)]) readPending(part);
    return values[static_cast<std::size_t>(part)];
  }

  std::vector<Value> partValues(const std::vector<int>& parts) {
    std::vector<Value> out;
    out.reserve(parts.size());
    for (int p : parts) out.push_back(partValue(p));
    return out;
  }

  std::vector<Value> identityValues() { return partValues(meta->identity); }

  // Reads the record with this identity into the buffer; false when gone.
  StatusOr<bool> loadByIdentity(const std::vector<Value>& id) {
    rebuildSelection();
    auto st = bound(sql().selectByIdentity(selected), id);
    if (!st.ok()) return st.status();
    bool found = false;
    VISTREL_RETURN_IF_ERROR(stepOnce(*st, [&](sqlite3_stmt* row) { loadRow(row); }, &found));
    return found;
  }

  // Comes back to the record with this identity, or to no record.
  void comeBack(const std::vector<Value>& id) {
    if (id.empty()) {
      positioned = false;
      return;
    }
    auto found = loadByIdentity(id);
    positioned = found.ok() && *found;
  }

  // Reads more columns of the current record.
  Status loadColumns(const std::vector<int>& cols) {
    std::vector<int> need;
    for (int c : cols) {
      if (!loaded[static_cast<std::size_t>(c)]) need.push_back(c);
    }
    if (need.empty()) return Status::OK();
    auto st = bound(sql().selectByIdentity(need), identityValues());
    if (!st.ok()) return st.status();
    return stepOnce(*st, [&](sqlite3_stmt* row) {
      for (std::size_t i = 0; i < need.size(); ++i) {
        readColumn(row, static_cast<int>(i), values[static_cast<std::size_t>(need[i])]);
        loaded[static_cast<std::size_t>(need[i])] = 1;
      }
    });
  }

  // Starts the running statement in `dir`: after (or before) the record with
  // the index order values `key`, or from the start (or the end) without one.
  // A walk of the contacts of one database per contact (the events of each)
  // starts a walk per record: its text is built once per shape.
  Status restart(Dir dir, const std::vector<Value>* key) {
    rebuildSelection();
    suspend();
    const Restriction r = restriction();
    const WalkShape shape{dir == Dir::kForward, key != nullptr, r.low != nullptr ? low.size() : 0,
                          r.high != nullptr ? high.size() : 0, r.conditions != nullptr};
    auto text = walkTexts.find(shape);
    if (text == walkTexts.end()) {
      const TableSql q = sql();
      std::vector<Value> params;
      std::vector<std::string> extra;
      if (key) extra.push_back(q.compare(index->order, index->order.size(), dir == Dir::kForward ? ">" : "<"));
      text = walkTexts.emplace(shape, q.walk(selected, q.where(r, extra, &params), dir)).first;
    }
    auto st = statement(text->second);
    if (!st.ok()) return st.status();
    // The values in the order TableSql::where and the key ask for them.
    int i = 0;
    const auto bind = [&](const std::vector<Value>& values) {
      for (const Value& v : values) bindValue(*st, ++i, v);
    };
    if (r.low != nullptr) bind(low);
    if (r.high != nullptr) bind(high);
    if (r.conditions != nullptr) {
      for (const auto& [c, v] : conditions) bindValue(*st, ++i, v);
    }
    if (key) bind(*key);
    cursor = *st;
    cursorDir = dir;
    cursorLive = true;
    return Status::OK();
  }

  // Asks the record filter about the record in the buffer. A stop the filter
  // asked for comes back as its Status.
  StatusOr<bool> test() {
    owner->state_ = TableState::kFilter;
    bool accepted = !(owner->filtered_ && owner->onFilterRecord_) || owner->onFilterRecord_(*owner);
    if (visitor != nullptr && accepted && owner->filterStop_.ok()) {
      visitStopped = !(*visitor)();
      accepted = false;
    }
    owner->state_ = TableState::kBrowse;
    if (!owner->filterStop_.ok()) {
      Status why = std::move(owner->filterStop_);
      owner->filterStop_ = Status::OK();
      return why;
    }
    return accepted;
  }

  // Steps `stmt` to the next record the record filter accepts. Returns false
  // at the end; the buffer then holds the record that was current before, as
  // it does when the filter stops the walk.
  StatusOr<bool> advance(sqlite3_stmt* stmt, bool isCursor) {
    const bool filtering = (owner->filtered_ && owner->onFilterRecord_ != nullptr) || visitor != nullptr;
    const std::vector<Value> saved = filtering && positioned ? identityValues() : std::vector<Value>();
    bool clobbered = false;
    StatusOr<bool> accepted = false;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
      if (!filtering) {
        loadRow(stmt);
        return true;
      }
      startPendingRow(stmt);
      clobbered = true;
      if (longRead != nullptr && ++longReadRows % 1024 == 0) longRead->check();
      accepted = test();
      if (isCursor && (selectionDirty || !cursorLive)) {
        // The filter asked for more fields, or a write stopped the statement:
        // go on from the record under test with a fresh statement.
        const std::vector<Value> key = partValues(index->order);
        Status s = restart(cursorDir, &key);
        if (!s.ok()) {
          pendingRow = false;
          return s;
        }
        stmt = cursor;
      }
      if (!accepted.ok() || *accepted || visitStopped) break;
    }
    if (rc == SQLITE_ROW && accepted.ok() && !visitStopped) {
      if (pendingRow) readPendingRow();
      return true;
    }
    pendingRow = false;
    sqlite3_reset(stmt);
    if (isCursor) cursorLive = false;
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) return store->error(rc, what());
    if (clobbered) comeBack(saved);
    if (!accepted.ok()) return accepted.status();
    return false;
  }

  // Moves one record in `dir` from the current one, going on with the
  // running statement when it still stands there.
  StatusOr<bool> step(Dir dir) {
    if (!cursorLive || cursorDir != dir || selectionDirty) {
      const std::vector<Value> key = partValues(index->order);
      VISTREL_RETURN_IF_ERROR(restart(dir, &key));
    }
    auto found = advance(cursor, true);
    if (found.ok() && *found) positioned = true;
    return found;
  }

  // Starts in `dir` after `key`, or from the start (or end) without one, and
  // stands on the first record found.
  StatusOr<bool> startFrom(Dir dir, const std::vector<Value>* key) {
    VISTREL_RETURN_IF_ERROR(restart(dir, key));
    positioned = false;
    auto found = advance(cursor, true);
    if (found.ok()) positioned = *found;
    return found;
  }

  // The one insert statement (every column goes in), bound to the buffer,
  // which outlives the step.
  StatusOr<sqlite3_stmt*> insertStatement() {
    if (insertStmt == nullptr) {
      auto st = store->prepare(sql().insertAll(), what());
      if (!st.ok()) return st.status();
      insertStmt = *st;
    }
    for (std::size_t c = 0; c < values.size(); ++c) bindValue(insertStmt, static_cast<int>(c + 1), values[c], true);
    return insertStmt;
  }

  // An update of `cols` of the record being edited.
  StatusOr<sqlite3_stmt*> updateStatement(const std::vector<int>& cols) {
    std::vector<Value> params;
    for (int c : cols) params.push_back(values[static_cast<std::size_t>(c)]);
    params.insert(params.end(), editIdentity.begin(), editIdentity.end());
    return bound(sql().update(cols), params);
  }

  // Whether fields read the buffer: a current record, or the record under test.
  bool readable() const { return positioned || owner->state_ == TableState::kFilter; }

  // Converts a value given for a key field or filter line to its stored form.
  StatusOr<Value> stored(int c, const Value& v) const {
    const ColumnMeta& cm = col(c);
    const Locale& locale = owner->engine_->locale();
    if (v.kind() == Value::Kind::kText) return valueFromText(v.text(), cm.type, cm.size, cm.name, locale);
    if (!isTextType(cm.type)) return v;
    if (v.isNull()) return Value(std::string());
    if (v.kind() == Value::Kind::kInteger) return Value(std::to_string(v.integer()));
    return Value(formatNumber(v.real(), locale));
  }

  // `values` for the leading fields of the current index, as stored; `what`
  // names the thing ("a key", "a range end") in the error.
  StatusOr<std::vector<Value>> storedKey(const std::vector<Value>& values, const char* what_) const {
    const std::size_t n = index->fields.size();
    if (values.empty() || values.size() > n) {
      return Status::InvalidArgument(what() + ": " + what_ + " needs 1 to " + std::to_string(n) + " values");
    }
    std::vector<Value> key;
    key.reserve(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
      auto v = stored(index->fields[i], values[i]);
      if (!v.ok()) return Status::InvalidArgument(what() + ": " + v.status().message());
      key.push_back(std::move(v).value());
    }
    return key;
  }

  Table* owner;
  std::shared_ptr<Store> store;
  const TableMeta* meta = nullptr;
  const IndexMeta* index = nullptr;

  std::vector<char> registered;
  std::vector<int> selected;  // parts read by every statement
  std::vector<int> positionOf;  // of each column in `selected`, -1 when absent
  sqlite3_stmt* rowStmt = nullptr;  // stands on the pending row
  bool pendingRow = false;
  const std::function<bool()>* visitor = nullptr;  // of visitRecords, told of each record the walk passes
  bool visitStopped = false;
  bool selectionDirty = true;
  Store::LongRead* longRead = nullptr;  // of walkFiltered, while it runs
  std::uint32_t longReadRows = 0;

  std::vector<Value> values;
  std::vector<char> loaded;
  std::vector<char> modified;
  std::int64_t rowid = 0;
  bool positioned = false;

  std::vector<Value> editIdentity;  // the stored identity of the record being edited
  std::vector<Value> beforeInsert;  // identity of the current record when insert began

  bool hasRange = false;
  std::vector<Value> low;
  std::vector<Value> high;
  std::vector<std::pair<int, Value>> conditions;

  sqlite3_stmt* cursor = nullptr;
  Dir cursorDir = Dir::kForward;
  bool cursorLive = false;
  std::unordered_map<std::string, sqlite3_stmt*> cache;
  // forward, after a key, range ends' sizes, filter lines
  using WalkShape = std::tuple<bool, bool, std::size_t, std::size_t, bool>;
  std::map<WalkShape, std::string> walkTexts;
  std::vector<sqlite3_stmt*> retired;
  sqlite3_stmt* insertStmt = nullptr;
  std::int64_t prepared = 0;  // statements prepared since open
};

// ---------------------------------------------------------------------------
// Field

const std::string& Field::name() const { return table_->impl_->col(index_).name; }
ColumnType Field::type() const { return table_->impl_->col(index_).type; }
int Field::size() const { return table_->impl_->col(index_).size; }

const Value& Field::value() const {
  static const Value kNull;
  Table::Impl& im = *table_->impl_;
  const auto c = static_cast<std::size_t>(index_);
  if (table_->state_ == TableState::kInsert) return im.values[c];
  if (!im.readable()) return kNull;
  if (!im.loaded[c] && !im.readPending(index_)) {
    im.registered[c] = 1;
    im.selectionDirty = true;
    if (!im.loadColumns({index_}).ok()) return kNull;
  }
  return im.values[c];
}

bool Field::isNull() const { return value().isNull(); }

std::string Field::asText() const { return valueText(value(), type(), table_->engine_->locale()); }

std::string_view Field::asTextView() const {
  std::string_view text;
  if (table_->impl_->pendingText(index_, &text)) return text;
  const Value& v = value();
  if (v.kind() == Value::Kind::kText) return v.text();
  if (v.isNull()) return std::string_view();
  scratch_ = asText();
  return scratch_;
}

std::int64_t Field::asInteger() const {
  const Value& v = value();
  switch (v.kind()) {
    case Value::Kind::kInteger: return v.integer();
    case Value::Kind::kReal: return std::llround(v.real());
    case Value::Kind::kText: {
      std::int64_t i = 0;
      return parseInteger(v.text(), &i) ? i : 0;
    }
    default: return 0;
  }
}

double Field::asFloat() const {
  const Value& v = value();
  switch (v.kind()) {
    case Value::Kind::kInteger: return static_cast<double>(v.integer());
    case Value::Kind::kReal: return v.real();
    case Value::Kind::kText: return parseNumber(v.text(), table_->engine_->locale()).value_or(0);
    default: return 0;
  }
}

bool Field::asBoolean() const {
  const Value& v = value();
  switch (v.kind()) {
    case Value::Kind::kInteger: return v.integer() != 0;
    case Value::Kind::kReal: return v.real() != 0;
    case Value::Kind::kText: {
      bool b = false;
      return parseLogical(v.text(), &b) && b;
    }
    default: return false;
  }
}

DateTime Field::asDateTime() const {
  const Value& v = value();
  switch (v.kind()) {
    case Value::Kind::kInteger: return static_cast<double>(v.integer());
    case Value::Kind::kReal: return v.real();
    case Value::Kind::kText: {
      auto c = valueFromText(v.text(), ColumnType::kDateTime, 0, "", table_->engine_->locale());
      return c.ok() && !c->isNull() ? c->real() : 0;
    }
    default: return 0;
  }
}

Status Field::setValue(const Value& v) {
  Table::Impl& im = *table_->impl_;
  if (table_->state_ != TableState::kEdit && table_->state_ != TableState::kInsert) {
    return Status::InvalidArgument(im.what() + ": not in edit or insert mode");
  }
  const auto c = static_cast<std::size_t>(index_);
  const ColumnMeta& cm = im.col(index_);
  if (v.kind() == Value::Kind::kText) {
    auto converted = valueFromText(v.text(), cm.type, cm.size, cm.name, table_->engine_->locale());
    if (!converted.ok()) return Status::InvalidArgument(im.what() + ": " + converted.status().message());
    im.values[c] = std::move(converted).value();
  } else if (isTextType(cm.type) && !v.isNull()) {
    auto converted = im.stored(index_, v);
    if (!converted.ok()) return converted.status();
    im.values[c] = std::move(converted).value();
  } else {
    im.values[c] = v;
  }
  im.loaded[c] = 1;
  im.modified[c] = 1;
  return Status::OK();
}

Status Field::setText(std::string_view text) { return setValue(Value(text)); }
Status Field::setInteger(std::int64_t v) { return setValue(Value(v)); }
Status Field::setFloat(double v) { return setValue(Value(v)); }
Status Field::setBoolean(bool v) { return setValue(Value(std::int64_t{v ? 1 : 0})); }
Status Field::setDateTime(DateTime v) { return setValue(Value(v)); }
Status Field::setNull() { return setValue(Value()); }

// ---------------------------------------------------------------------------
// Table

Table::Table(Engine& engine) : engine_(&engine) {}

Table::Table(Engine& engine, std::string alias, std::string tableName)
    : engine_(&engine), alias_(std::move(alias)), tableName_(std::move(tableName)) {}

Table::~Table() { close(); }

void Table::notify() {
  if (disabled_ > 0) {
    pendingNotify_ = true;
    return;
  }
  if (observers_.empty()) return;
  pendingNotify_ = false;
  const std::vector<TableObserver*> observers = observers_;
  for (TableObserver* o : observers) o->tableChanged(*this);
}

void Table::disableControls() { ++disabled_; }

void Table::enableControls() {
  if (disabled_ > 0 && --disabled_ == 0 && pendingNotify_) notify();
}

void Table::addObserver(TableObserver* observer) { observers_.push_back(observer); }

void Table::removeObserver(TableObserver* observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

namespace {
Status notOpen(const std::string& name) { return Status::InvalidArgument(name + ": the table is not open"); }
}  // namespace

Status Table::open() {
  if (isOpen()) return Status::OK();
  const std::string name = tableName_.empty() ? std::string("(no table name)") : tableName_;
  auto store = engine_->store(alias_);
  if (!store.ok()) {
    const Status& s = store.status();
    return s.IsNotFound() ? Status::NotFound(name + ": " + s.message()) : s;
  }
  auto meta = (*store)->table(tableName_);
  if (!meta.ok()) {
    if (meta.status().IsNotFound()) {
      return Status::NotFound(name + ": no such table in " + (*store)->directory().string());
    }
    return meta.status();
  }
  const TableMeta* m = *meta;
  if (!m->passwordHash.empty() && !engine_->knowsPasswordHash(m->passwordHash)) {
    return Status::AccessDenied(name + ": the table is protected and its password was not given");
  }
  const IndexMeta* index = m->index(indexName_);
  if (index == nullptr) return Status::NotFound(name + ": no index named " + indexName_);
  if (!indexFields_.empty()) {
    index = nullptr;
    for (const IndexMeta& ix : m->indexes) {
      std::string fields;
      for (int f : ix.fields) fields += (fields.empty() ? "" : ";") + m->columns[static_cast<std::size_t>(f)].name;
      if (equalsIgnoreCase(fields, indexFields_)) {
        index = &ix;
        break;
      }
    }
    if (index == nullptr) return Status::NotFound(name + ": no index on " + indexFields_);
  }

  impl_ = std::make_unique<Impl>(this);
  impl_->store = *store;
  impl_->meta = m;
  impl_->index = index;
  const std::size_t n = m->columns.size();
  impl_->registered.assign(n, 0);
  impl_->values.assign(n, Value());
  impl_->loaded.assign(n, 0);
  impl_->modified.assign(n, 0);
  fields_.clear();
  for (std::size_t i = 0; i < n; ++i) fields_.push_back(Field(this, static_cast<int>(i)));
  impl_->store->addCursor(impl_.get());
  state_ = TableState::kBrowse;
  Status s = filtered_ ? setFiltered(true) : first();
  if (!s.ok()) {
    close();
    return s;
  }
  return Status::OK();
}

void Table::close() {
  if (!isOpen()) return;
  impl_.reset();
  fields_.clear();
  state_ = TableState::kInactive;
  eof_ = bof_ = true;
}

bool Table::hasRecord() const { return isOpen() && impl_->readable(); }

std::int64_t Table::preparedStatements() const { return isOpen() ? impl_->prepared : 0; }

bool Table::hasRange() const { return isOpen() && impl_->hasRange; }

Status Table::setIndexName(std::string name) {
  indexName_ = std::move(name);
  indexFields_.clear();
  if (!isOpen()) return Status::OK();
  const IndexMeta* ix = impl_->meta->index(indexName_);
  if (ix == nullptr) return Status::NotFound(impl_->what() + ": no index named " + indexName_);
  impl_->index = ix;
  impl_->hasRange = false;
  impl_->selectionDirty = true;
  return first();
}

Status Table::setIndexFieldNames(std::string fields) {
  if (!isOpen()) {
    indexFields_ = std::move(fields);
    indexName_.clear();
    return Status::OK();
  }
  const std::string keepName = indexName_;
  for (const IndexMeta& ix : impl_->meta->indexes) {
    std::string names;
    for (int f : ix.fields) names += (names.empty() ? "" : ";") + impl_->col(f).name;
    if (equalsIgnoreCase(names, fields) || (fields.empty() && ix.name.empty())) {
      indexFields_ = std::move(fields);
      indexName_ = ix.name;
      impl_->index = &ix;
      impl_->hasRange = false;
      impl_->selectionDirty = true;
      return first();
    }
  }
  return Status::NotFound(impl_->what() + ": no index on " + fields);
}

namespace {
Status movingInFilter(const std::string& name) {
  return Status::InvalidArgument(name + ": cannot move while its record filter runs");
}
}  // namespace

#define VISTREL_CHECK_BROWSE()                                                  \
  do {                                                                          \
    if (!isOpen()) return notOpen(tableName_);                                  \
    if (state_ == TableState::kFilter) return movingInFilter(impl_->what());    \
    if (state_ == TableState::kEdit || state_ == TableState::kInsert) {         \
      VISTREL_RETURN_IF_ERROR(post());                                          \
    }                                                                           \
  } while (0)

void Table::standOnLoadedRecord() {
  impl_->positioned = true;
  impl_->cursorLive = false;
  eof_ = bof_ = false;
  notify();
}

Status Table::first() { return moveToEnd(true); }
Status Table::last() { return moveToEnd(false); }
Status Table::next() { return moveOne(true); }
Status Table::prior() { return moveOne(false); }

Status Table::moveToEnd(bool forward) {
  VISTREL_CHECK_BROWSE();
  auto found = impl_->startFrom(forward ? Dir::kForward : Dir::kBackward, nullptr);
  if (!found.ok()) return found.status();
  // At the first record nothing lies before; at the last nothing after.
  bool& behind = forward ? bof_ : eof_;
  bool& ahead = forward ? eof_ : bof_;
  behind = true;
  ahead = !*found;
  notify();
  return Status::OK();
}

Status Table::moveOne(bool forward) {
  VISTREL_CHECK_BROWSE();
  bool& ahead = forward ? eof_ : bof_;
  bool& behind = forward ? bof_ : eof_;
  if (!impl_->positioned) {
    ahead = true;
    return Status::OK();
  }
  auto found = impl_->step(forward ? Dir::kForward : Dir::kBackward);
  if (!found.ok()) return found.status();
  ahead = !*found;
  if (*found) behind = false;
  notify();
  return Status::OK();
}

StatusOr<bool> Table::findKey(const std::vector<Value>& values) {
  VISTREL_CHECK_BROWSE();
  Impl& im = *impl_;
  auto storedKey = im.storedKey(values, "a key");
  if (!storedKey.ok()) return storedKey.status();
  const std::vector<Value>& key = *storedKey;
  im.rebuildSelection();
  const TableSql q = im.sql();
  std::vector<Value> params;
  const std::string where = q.where(im.restriction(), {q.compare(im.index->fields, key.size(), "=")}, &params);
  params.insert(params.end(), key.begin(), key.end());
  auto st = im.bound(q.walk(im.selected, where, Dir::kForward), params);
  if (!st.ok()) return st.status();
  im.suspend();
  auto found = im.advance(*st, false);
  sqlite3_reset(*st);
  if (!found.ok()) return found.status();
  if (*found) {
    standOnLoadedRecord();
  }
  return *found;
}

Status Table::setRange(const std::vector<Value>& low, const std::vector<Value>& high) {
  if (!isOpen()) return notOpen(tableName_);
  Impl& im = *impl_;
  auto lo = im.storedKey(low, "a range end");
  if (!lo.ok()) return lo.status();
  auto hi = im.storedKey(high, "a range end");
  if (!hi.ok()) return hi.status();
  im.low = std::move(lo).value();
  im.high = std::move(hi).value();
  im.hasRange = true;
  im.releaseRetired();
  return first();
}

Status Table::cancelRange() {
  if (!isOpen()) return notOpen(tableName_);
  impl_->hasRange = false;
  impl_->releaseRetired();
  return first();
}

namespace {

// FIELD = value, or FIELD = "value" with the outer quotes removed; false
// when the line has no "=".
bool splitFilterLine(std::string_view line, std::string_view* field, std::string_view* value) {
  const std::string_view t = trimWhite(line);
  const std::size_t eq = t.find('=');
  if (eq == std::string_view::npos) return false;
  *field = trimWhite(t.substr(0, eq));
  *value = trimWhite(t.substr(eq + 1));
  if (value->size() >= 2 && value->front() == '"' && value->back() == '"') *value = value->substr(1, value->size() - 2);
  return true;
}

}  // namespace

Status Table::setFiltered(bool on) {
  filtered_ = on;
  if (!isOpen()) return Status::OK();
  Impl& im = *impl_;
  im.conditions.clear();
  im.walkTexts.clear();
  for (const std::string& line : on ? filterLines_ : std::vector<std::string>()) {
    if (trimWhite(line).empty()) continue;
    std::string_view field, value;
    if (!splitFilterLine(line, &field, &value)) {
      return Status::InvalidArgument(im.what() + ": filter line '" + line + "' has no '='");
    }
    const int c = im.meta->column(field);
    if (c < 0) return Status::InvalidArgument(im.what() + ": filter line '" + line + "' names no field of the table");
    auto v = im.stored(c, Value(value));
    if (!v.ok()) return Status::InvalidArgument(im.what() + ": " + v.status().message());
    im.conditions.emplace_back(c, std::move(v).value());
  }
  im.releaseRetired();
  return first();
}

Status Table::gotoCurrent(const Table& other) {
  VISTREL_CHECK_BROWSE();
  if (!other.hasRecord()) return Status::InvalidArgument(impl_->what() + ": the other table has no current record");
  if (other.impl_->store != impl_->store || other.impl_->meta != impl_->meta) {
    return Status::InvalidArgument(impl_->what() + ": the other table object is on another table");
  }
  auto found = impl_->loadByIdentity(other.impl_->identityValues());
  if (!found.ok()) return found.status();
  if (!*found) return Status::NotFound(impl_->what() + ": the record no longer exists");
  standOnLoadedRecord();
  return Status::OK();
}

Status Table::insert() {
  VISTREL_CHECK_BROWSE();
  Impl& im = *impl_;
  im.beforeInsert = im.positioned ? im.identityValues() : std::vector<Value>();
  for (Value& v : im.values) v.setNull();
  std::fill(im.loaded.begin(), im.loaded.end(), 1);
  std::fill(im.modified.begin(), im.modified.end(), 0);
  state_ = TableState::kInsert;
  notify();
  return Status::OK();
}

Status Table::edit() {
  VISTREL_CHECK_BROWSE();
  Impl& im = *impl_;
  if (!im.positioned) return Status::InvalidArgument(im.what() + ": no current record to edit");
  std::vector<int> all(im.values.size());
  for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int>(i);
  VISTREL_RETURN_IF_ERROR(im.loadColumns(all));
  im.editIdentity = im.identityValues();
  std::fill(im.modified.begin(), im.modified.end(), 0);
  state_ = TableState::kEdit;
  notify();
  return Status::OK();
}

Status Table::post() {
  if (!isOpen()) return notOpen(tableName_);
  if (state_ != TableState::kEdit && state_ != TableState::kInsert) return Status::OK();
  Impl& im = *impl_;
  const bool inserting = state_ == TableState::kInsert;
  std::vector<int> cols;
  for (std::size_t c = 0; c < im.values.size(); ++c) {
    const ColumnMeta& cm = im.meta->columns[c];
    if (cm.keyField && im.values[c].isNull()) im.values[c] = emptyKey(cm.type);
    if (im.modified[c] || (inserting && cm.keyField)) cols.push_back(static_cast<int>(c));
  }
  if (!inserting && cols.empty()) {
    state_ = TableState::kBrowse;
    notify();
    return Status::OK();
  }
  im.store->suspendCursors();
  auto st = inserting ? im.insertStatement() : im.updateStatement(cols);
  if (!st.ok()) return st.status();
  VISTREL_RETURN_IF_ERROR(im.stepOnce(*st, nullptr));
  if (!inserting && sqlite3_changes(im.store->db()) == 0) {
    return Status::NotFound(im.what() + ": the record was deleted by another program");
  }
  if (inserting && !im.meta->withoutRowid) im.rowid = sqlite3_last_insert_rowid(im.store->db());
  std::fill(im.modified.begin(), im.modified.end(), 0);
  state_ = TableState::kBrowse;
  standOnLoadedRecord();
  return Status::OK();
}

void Table::cancel() {
  if (!isOpen() || (state_ != TableState::kEdit && state_ != TableState::kInsert)) return;
  Impl& im = *impl_;
  const std::vector<Value> back = state_ == TableState::kEdit ? im.editIdentity : im.beforeInsert;
  state_ = TableState::kBrowse;
  std::fill(im.modified.begin(), im.modified.end(), 0);
  if (back.empty()) {
    im.positioned = false;
  } else {
    auto found = im.loadByIdentity(back);
    im.positioned = found.ok() && *found;
  }
  notify();
}

Status Table::remove() {
  VISTREL_CHECK_BROWSE();
  Impl& im = *impl_;
  if (!im.positioned) return Status::InvalidArgument(im.what() + ": no current record to delete");
  im.store->suspendCursors();
  auto st = im.bound(im.sql().removeByIdentity(), im.identityValues());
  if (!st.ok()) return st.status();
  VISTREL_RETURN_IF_ERROR(im.stepOnce(*st, nullptr));
  // Stand on the record after the deleted one, or else the one before.
  const std::vector<Value> key = im.partValues(im.index->order);
  auto found = im.startFrom(Dir::kForward, &key);
  if (!found.ok()) return found.status();
  eof_ = !*found;
  if (!*found) {
    found = im.startFrom(Dir::kBackward, &key);
    if (!found.ok()) return found.status();
  }
  bof_ = !im.positioned;
  notify();
  return Status::OK();
}

Status Table::refresh() {
  VISTREL_CHECK_BROWSE();
  Impl& im = *impl_;
  im.suspend();
  if (!im.positioned) return first();
  auto found = im.loadByIdentity(im.identityValues());
  if (!found.ok()) return found.status();
  if (!*found) {
    // Gone: stand on the record after it, or on the last one.
    const std::vector<Value> key = im.partValues(im.index->order);
    auto next = im.startFrom(Dir::kForward, &key);
    if (!next.ok()) return next.status();
    if (!*next) return last();
  }
  notify();
  return Status::OK();
}

StatusOr<std::int64_t> Table::recordCount() {
  if (!isOpen()) return notOpen(tableName_);
  Impl& im = *impl_;
  if (!(filtered_ && onFilterRecord_)) {
    const TableSql q = im.sql();
    std::vector<Value> params;
    const std::string where = q.where(im.restriction(), {}, &params);
    auto st = im.bound("SELECT count(*)" + q.from() + where, params);
    if (!st.ok()) return st.status();
    std::int64_t n = 0;
    VISTREL_RETURN_IF_ERROR(im.stepOnce(*st, [&](sqlite3_stmt* row) { n = sqlite3_column_int64(row, 0); }));
    return n;
  }
  // The record filter decides record by record: walk them, then come back.
  std::int64_t n = 0;
  VISTREL_RETURN_IF_ERROR(walkFiltered([&] {
    ++n;
    return true;
  }));
  return n;
}

Status Table::walkFiltered(const std::function<bool()>& each) {
  Impl& im = *impl_;
  const std::vector<Value> back = im.positioned ? im.identityValues() : std::vector<Value>();
  const bool wasEof = eof_, wasBof = bof_;
  ++disabled_;
  im.positioned = false;
  Status s = im.restart(Dir::kForward, nullptr);
  // A long walk runs with a small page cache; advance() checks it now and
  // then, also among the records the filter refuses.
  Store::LongRead longRead(*im.store);
  im.longRead = &longRead;
  while (s.ok()) {
    auto found = im.advance(im.cursor, true);
    if (!found.ok()) {
      s = found.status();
      break;
    }
    if (!*found) break;
    im.positioned = true;
    if (!each()) break;
  }
  im.longRead = nullptr;
  --disabled_;
  im.suspend();
  im.comeBack(back);
  eof_ = wasEof;
  bof_ = wasBof;
  return s;
}

Status Table::visitRecords(const std::function<bool()>& visit) {
  VISTREL_CHECK_BROWSE();
  Impl& im = *impl_;
  im.visitor = &visit;
  im.visitStopped = false;
  // The visitor refuses every record, so one walk passes them all.
  Status s = walkFiltered([] { return true; });
  im.visitor = nullptr;
  return s;
}

Status Table::visitTexts(const std::vector<Field*>& fields, const TextRowVisitor& visit) {
  VISTREL_CHECK_BROWSE();
  for (Field* f : fields) {
    if (f == nullptr || f->table_ != this) return Status::InvalidArgument(tableName_ + ": a field of another table");
  }
  Impl& im = *impl_;
  std::vector<std::string_view> texts(fields.size());
  if (filtered_ && onFilterRecord_) {
    for (Field* f : fields) {
      if (!im.registered[static_cast<std::size_t>(f->index())]) {
        im.registered[static_cast<std::size_t>(f->index())] = 1;
        im.selectionDirty = true;
      }
    }
    return walkFiltered([&] {
      for (std::size_t i = 0; i < fields.size(); ++i) texts[i] = fields[i]->asTextView();
      return visit(texts);
    });
  }
  // The running statement may be the one asked for below; it goes on from
  // the current record when next asked.
  im.suspend();
  std::vector<int> parts;
  for (Field* f : fields) parts.push_back(f->index());
  const TableSql q = im.sql();
  std::vector<Value> params;
  const std::string where = q.where(im.restriction(), {}, &params);
  auto st = im.bound(q.walk(parts, where, Dir::kForward), params);
  if (!st.ok()) return st.status();
  const Locale& locale = engine_->locale();
  std::vector<std::string> formatted(fields.size());
  std::vector<ColumnType> types;
  for (Field* f : fields) types.push_back(f->type());
  const std::size_t n = fields.size();
  Value scratch;
  Store::LongRead longRead(*im.store);
  std::uint32_t rows = 0;
  int rc;
  while ((rc = sqlite3_step(*st)) == SQLITE_ROW) {
    for (std::size_t i = 0; i < n; ++i) {
      texts[i] = columnText(*st, static_cast<int>(i), types[i], locale, scratch, formatted[i]);
    }
    if (!visit(texts)) break;
    if (++rows % 1024 == 0) longRead.check();
  }
  sqlite3_reset(*st);
  if (rc != SQLITE_ROW && rc != SQLITE_DONE) return im.store->error(rc, im.what());
  return Status::OK();
}

Field* Table::fieldByName(std::string_view name) {
  if (!isOpen()) return nullptr;
  const int c = impl_->meta->column(name);
  return c < 0 ? nullptr : field(c);
}

int Table::fieldCount() const { return isOpen() ? static_cast<int>(fields_.size()) : 0; }

Field* Table::field(int index) {
  if (!isOpen() || index < 0 || index >= static_cast<int>(fields_.size())) return nullptr;
  Impl& im = *impl_;
  const auto c = static_cast<std::size_t>(index);
  if (!im.registered[c]) {
    im.registered[c] = 1;
    im.selectionDirty = true;
    if (im.readable() && !im.loaded[c] && state_ != TableState::kInsert) (void)im.loadColumns({index});
  }
  return &fields_[c];
}

}  // namespace vistrel::host
