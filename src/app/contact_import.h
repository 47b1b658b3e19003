// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <istream>
#include <string_view>

#include "app/csv_table_import.h"
#include "host/engine.h"
#include "host/status.h"

namespace vistrel::app {

// Appends the contacts of a CSV file (UTF-8, a byte-order mark allowed; RFC
// 4180, a header line naming contact fields in any letter case) to `database`. All or nothing: an unknown
// column, a malformed line, a value of the wrong type or one longer than its
// field (never cut to fit) stops the import with
// a message naming the line and column, and nothing is added. Contacts
// without a Recno get a unique one; the database row is made when missing.
// Returns the number of contacts added.
host::StatusOr<std::int64_t> importContacts(host::Engine& engine, std::string_view alias,
                                            std::string_view database, std::istream& csv);

}  // namespace vistrel::app
