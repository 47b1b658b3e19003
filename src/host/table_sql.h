// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "host/store.h"
#include "host/value.h"

namespace vistrel::host {

enum class Direction { kForward, kBackward };

// What limits the records a table object visits: an inclusive key range on
// the leading index fields and equality conditions on columns.
struct Restriction {
  const std::vector<Value>* low = nullptr;   // no range when null
  const std::vector<Value>* high = nullptr;
  const std::vector<std::pair<int, Value>>* conditions = nullptr;  // column, stored value
};

// Builds the SQL text a table object runs on one table through one index.
// Values never enter the text: they are bound to the "?" marks in the order
// the builder appends them. Holds references; the layouts outlive it.
class TableSql {
 public:
  TableSql(const TableMeta& meta, const IndexMeta& index) : meta_(meta), index_(index) {}

  // A column (or the rowid for kRowid), quoted.
  std::string part(int part) const;
  std::string partList(const std::vector<int>& parts) const;
  // "(a, b) op (?, ?)" over the first `n` of `parts`, or "a op ?" for one.
  std::string compare(const std::vector<int>& parts, std::size_t n, const char* op) const;

  // " FROM t INDEXED BY ix".
  std::string from() const;
  // " ORDER BY" the index order, descending when going backward.
  std::string order(Direction dir) const;
  // " WHERE" the restriction's terms and `extra`, appending the values to bind.
  std::string where(const Restriction& r, const std::vector<std::string>& extra, std::vector<Value>* params) const;
  // The records visited, in `dir`, reading `parts`.
  std::string walk(const std::vector<int>& parts, const std::string& where, Direction dir) const;
  // " WHERE" each identity part "= ?".
  std::string identityWhere() const;
  // One record's `parts`, found by its identity.
  std::string selectByIdentity(const std::vector<int>& parts) const;
  std::string update(const std::vector<int>& columns) const;
  std::string insertAll() const;
  std::string removeByIdentity() const;

 private:
  const TableMeta& meta_;
  const IndexMeta& index_;
};

}  // namespace vistrel::host
