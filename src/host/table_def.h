// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "host/value.h"

namespace vistrel::host {

struct ColumnDef {
  std::string name;
  ColumnType type = ColumnType::kText;
  int size = 0;  // longest text in characters for text columns; 0 means no limit
};

struct IndexDef {
  std::string name;
  std::vector<std::string> fields;
  bool unique = false;
};

// The shape of one table as created in a data directory. Text fields of any
// index compare ignoring the case of a to z, and fields of an index are never
// null: writing null to one stores the empty text (or 0).
struct TableDef {
  std::string name;                     // as callers name it, "CONTACT.DB"
  std::vector<ColumnDef> columns;
  std::vector<std::string> primaryKey;  // the primary index; empty: insertion order
  std::vector<IndexDef> indexes;        // secondary indexes, opened by name
  // A secondary index whose order the rows are stored in, so that walking it
  // reads the table front to back. Requires a primary key.
  std::string clusteredIndex;
  // Non-empty: the table opens only after this password was added to the engine.
  std::string password;
};

}  // namespace vistrel::host
