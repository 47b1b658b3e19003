// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/date_time.h"
#include "host/status.h"
#include "host/value.h"

namespace vistrel::host {

class Engine;
class Store;
class Table;

enum class TableState { kInactive, kBrowse, kEdit, kInsert, kFilter };

// One column of a table as seen through a table object: the value of the
// current record (or, inside the record filter, of the record under test).
// Fields live as long as their table stays open.
class Field {
 public:
  const std::string& name() const;
  ColumnType type() const;
  int index() const { return index_; }
  int size() const;

  bool isNull() const;
  // Text of the value: numbers and dates in the engine's locale, logicals as
  // "True" or "False"; the empty text for null.
  std::string asText() const;
  // The same text without a copy when the value is stored as text; valid
  // until the field is read again or the table moves.
  std::string_view asTextView() const;
  std::int64_t asInteger() const;  // 0 for null or a text that is no number
  double asFloat() const;
  bool asBoolean() const;
  DateTime asDateTime() const;  // 0 for null
  const Value& value() const;

  // Writing needs the table in edit or insert state. Texts are cut to the
  // column's size; a text that does not read as the column's type fails.
  Status setText(std::string_view text);
  Status setInteger(std::int64_t v);
  Status setFloat(double v);
  Status setBoolean(bool v);
  Status setDateTime(DateTime v);
  Status setNull();
  Status setValue(const Value& v);

 private:
  friend class Table;
  Field(Table* table, int index) : table_(table), index_(index) {}
  Table* table_;
  int index_;
  mutable std::string scratch_;
};

// Told when the table's current record or data changes, so bound views can
// show it. Not told while controls are disabled; told once when enabled again.
class TableObserver {
 public:
  virtual ~TableObserver() = default;
  virtual void tableChanged(Table& table) = 0;
};

// A cursor on one table of a data directory: a current record, an index
// order, an optional key range, optional filter lines and a record filter.
// Iteration (first, next until eof) visits every record in index order that
// lies in the range, satisfies the filter lines and is accepted by the
// record filter. Only the fields callers ask for are read.
//
// Failures come back as a Status naming the table and the cause; a table
// object is never left half-open. Not thread-safe.
class Table {
 public:
  using RecordFilter = std::function<bool(Table&)>;

  explicit Table(Engine& engine);
  Table(Engine& engine, std::string alias, std::string tableName);
  ~Table();
  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;

  // Configuration; the index may change while open (the range is cancelled).
  void setAlias(std::string alias) { alias_ = std::move(alias); }
  void setTableName(std::string name) { tableName_ = std::move(name); }
  Status setIndexName(std::string name);
  // Picks the index whose fields are these (";"-separated), or the primary one.
  Status setIndexFieldNames(std::string fields);
  const std::string& alias() const { return alias_; }
  const std::string& tableName() const { return tableName_; }
  const std::string& indexName() const { return indexName_; }

  Status open();
  void close();
  bool isOpen() const { return state_ != TableState::kInactive; }
  TableState state() const { return state_; }

  Status first();
  Status next();
  Status prior();
  Status last();
  bool eof() const { return eof_; }
  bool bof() const { return bof_; }
  // True when the table is open and stands on a record.
  bool hasRecord() const;

  // Stands on the first record whose leading index fields equal `values`
  // (one value per field, as many as given) and returns true; returns false
  // and stays where it was when there is none.
  StatusOr<bool> findKey(const std::vector<Value>& values);

  // Limits iteration to records whose leading index fields lie between low
  // and high, both included. Moves to the first record of the range.
  Status setRange(const std::vector<Value>& low, const std::vector<Value>& high);
  Status cancelRange();
  bool hasRange() const;

  // Stands on the current record of another table object on the same table.
  Status gotoCurrent(const Table& other);

  Status insert();
  Status edit();
  Status post();
  void cancel();
  Status remove();
  // Reads the current record again and sees other programs' changes.
  Status refresh();

  // Records within range, filter lines and record filter.
  StatusOr<std::int64_t> recordCount();

  // Visits the records iteration would visit, in index order, handing
  // `visit` the texts of `fields` (as Field::asTextView gives them; valid
  // during the call) until it returns false. Faster than a first/next loop:
  // without a record filter only those fields are read. The current record
  // stays where it was.
  using TextRowVisitor = std::function<bool(const std::vector<std::string_view>& texts)>;
  Status visitTexts(const std::vector<Field*>& fields, const TextRowVisitor& visit);

  // Visits the records iteration would visit, in index order, each as the
  // record under test of a record filter: fields read it, and only the
  // fields asked for are read. Goes on until `visit` returns false; a
  // stopFiltering call from `visit` ends the walk with its Status. The
  // current record stays where it was.
  Status visitRecords(const std::function<bool()>& visit);

  // nullptr when the table has no such field (names match ignoring case).
  Field* fieldByName(std::string_view name);
  int fieldCount() const;
  Field* field(int index);

  void disableControls();
  void enableControls();
  bool controlsDisabled() const { return disabled_ > 0; }
  void addObserver(TableObserver* observer);
  void removeObserver(TableObserver* observer);

  // The record filter: called for each record while filtering is on; inside
  // it, fields read the record under test.
  void setOnFilterRecord(RecordFilter filter) { onFilterRecord_ = std::move(filter); }
  // Called from inside the record filter when it cannot decide: the walk
  // (first, next, a count, visitTexts) stops there and returns `why`, and the
  // table comes back to the record that was current before.
  void stopFiltering(Status why) { filterStop_ = std::move(why); }
  // Filter lines: `FIELD = "text"` or `FIELD = value`, all of which a record
  // must satisfy. Values are passed to the database as parameters.
  void setFilterLines(std::vector<std::string> lines) { filterLines_ = std::move(lines); }
  const std::vector<std::string>& filterLines() const { return filterLines_; }
  // Turns filtering on or off and applies the filter anew (moves to first).
  Status setFiltered(bool on);
  bool filtered() const { return filtered_; }

  Engine& engine() { return *engine_; }

  // SQL statements this object has prepared since it opened. A new range or
  // filter on the same index binds the statements it already has.
  std::int64_t preparedStatements() const;

 private:
  friend class Field;
  struct Impl;

  void notify();
  Status moveToEnd(bool forward);  // first or last
  Status moveOne(bool forward);    // next or prior
  // The buffer holds a record found outside the running statement: it is
  // the current one now.
  void standOnLoadedRecord();
  // Walks the records the record filter accepts, calling `each` on each as
  // the current record until it returns false, then comes back to the
  // record that was current before.
  Status walkFiltered(const std::function<bool()>& each);

  Engine* engine_;
  std::string alias_;
  std::string tableName_;
  std::string indexName_;
  std::string indexFields_;
  std::unique_ptr<Impl> impl_;
  TableState state_ = TableState::kInactive;
  bool eof_ = true;
  bool bof_ = true;
  bool filtered_ = false;
  int disabled_ = 0;
  bool pendingNotify_ = false;
  std::vector<TableObserver*> observers_;
  RecordFilter onFilterRecord_;
  Status filterStop_;
  std::vector<std::string> filterLines_;
  std::vector<Field> fields_;
};

}  // namespace vistrel::host
