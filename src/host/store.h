// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/status.h"
#include "host/table_def.h"

// The inside of the table engine: one open data directory (one SQLite
// connection) and the tables it holds. Only the engine and table objects use
// this header.
namespace vistrel::host {

class Engine;

inline constexpr int kRowid = -1;  // a key part that stands for the SQLite rowid

struct ColumnMeta {
  std::string name;
  std::string upperName;
  ColumnType type = ColumnType::kText;
  int size = 0;
  bool keyField = false;  // part of an index: never null, compared ignoring case
};

struct IndexMeta {
  std::string name;          // empty for the primary index
  std::vector<int> fields;   // column positions
  bool unique = false;
  std::string sqlIndex;      // the SQLite index to walk, empty for the table itself
  std::vector<int> order;    // fields, then what makes the order total
};

struct TableMeta {
  std::string name;     // as defined ("CONTACT.DB")
  std::string sqlName;  // the SQLite table ("contact")
  std::vector<ColumnMeta> columns;
  std::unordered_map<std::string, int> byUpperName;
  std::vector<IndexMeta> indexes;  // [0] is the primary index
  bool withoutRowid = false;
  std::vector<int> identity;       // the row's key: PK columns, or {kRowid}
  std::string passwordHash;

  int column(std::string_view name) const;  // -1 when none (ignores case)
  const IndexMeta* index(std::string_view name) const;  // "" for the primary
};

// Something that holds a running SQLite statement on this connection and
// must let go of it before the connection writes.
class StoreCursor {
 public:
  virtual ~StoreCursor() = default;
  virtual void suspend() = 0;
};

// An open data directory. Shared by the table objects on it.
class Store {
 public:
  ~Store();
  Store(const Store&) = delete;
  Store& operator=(const Store&) = delete;

  static StatusOr<std::shared_ptr<Store>> open(const std::filesystem::path& directory,
                                               int busyTimeoutMs);

  sqlite3* db() const { return db_; }
  const std::filesystem::path& directory() const { return directory_; }

  // The table's layout; NotFound when the data directory has no such table.
  StatusOr<const TableMeta*> table(std::string_view name);
  Status createTable(const TableDef& def);

  // Turns a SQLite result code into a Status naming `what` (a table).
  Status error(int rc, std::string_view what) const;

  // Prepares a statement; the caller finalizes it.
  StatusOr<sqlite3_stmt*> prepare(const std::string& sql, std::string_view what);
  Status exec(const std::string& sql, std::string_view what);

  void addCursor(StoreCursor* cursor);
  void removeCursor(StoreCursor* cursor);
  // Lets every running statement go, so a write starts from a fresh snapshot.
  void suspendCursors();

  Status begin();
  Status commit();
  Status rollback();
  bool inTransaction() const { return transaction_; }

  // A walk over many pages reads each page once, and a cache of 32 MiB
  // filled with them costs more than it gives: each page read lands in
  // memory the processor no longer holds. So once a walk has read a few MiB
  // of pages it runs with a small cache, and the full cache comes back when
  // it ends. The pages cached before are dropped then; the operating
  // system's file cache gives them back quickly when they are asked for
  // again. Not inside a transaction, whose changed pages stay in the cache.
  class LongRead {
   public:
    explicit LongRead(Store& store);
    ~LongRead();
    LongRead(const LongRead&) = delete;
    LongRead& operator=(const LongRead&) = delete;
    // Called now and then by the walk; shrinks the cache once the walk has
    // read enough pages to be a long one.
    void check();

   private:
    Store& store_;
    int missesAtStart_ = 0;
    bool shrunk_ = false;
    bool done_ = false;
  };

 private:
  Store() = default;
  StatusOr<std::unique_ptr<TableMeta>> loadTable(std::string_view name);
  // The stored definition text of table `name`.
  StatusOr<std::string> readDefinition(std::string_view name);
  // Records a new table's definition in the catalog.
  Status addCatalogRow(const std::string& name, const std::string& definition, std::string_view what);

  int cacheMisses() const;
  void setCacheKib(int kib);

  sqlite3* db_ = nullptr;
  int pageSize_ = 4096;
  std::filesystem::path directory_;
  std::map<std::string, std::unique_ptr<TableMeta>> tables_;  // by SQLite name
  std::vector<StoreCursor*> cursors_;
  bool transaction_ = false;
};

// One prepared statement on a store, finalized with the object. step()
// tells a row, the end of the rows and a failure apart, so that a loop over
// the rows stops at a failure and reports it instead of taking it for the
// end. Every statement outside the table cursors runs through here.
class Statement {
 public:
  // `what` names the table or file in messages.
  Statement(Store& store, const std::string& sql, std::string_view what);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // Why the statement could not be prepared; ok when it was.
  const Status& status() const { return status_; }
  sqlite3_stmt* get() const { return stmt_; }

  // True on a row, false after the last; the failure otherwise. The
  // statement is reset after the last row and after a failure, ready to run
  // again with new values bound.
  StatusOr<bool> step();
  // Runs a statement that returns no row (an insert), then resets it.
  Status run();

  void bindText(int i, std::string_view text);
  void bindInteger(int i, std::int64_t v);
  // The text of column `c` of the current row; empty for null.
  std::string_view text(int c) const;

 private:
  Store& store_;
  std::string what_;
  sqlite3_stmt* stmt_ = nullptr;
  Status status_;
};

// "contact" for "CONTACT.DB", "Contact" and "contact.db".
std::string sqlTableName(std::string_view name);
// A double-quoted SQL identifier.
std::string quoteIdent(std::string_view name);

// The text form of a table's layout kept in the data directory, and back.
std::string serializeTableDef(const TableDef& def);
StatusOr<TableDef> parseTableDef(std::string_view text);

}  // namespace vistrel::host
