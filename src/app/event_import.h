// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <istream>
#include <string_view>

#include "host/engine.h"
#include "host/status.h"

namespace vistrel::app {

// Appends the events of a CSV file (RFC 4180, a header line naming event
// fields in any letter case) to `database`. The Recno column is required and
// names the contact, which must exist in that database. All or nothing: an
// unknown column, a malformed line, a value of the wrong type or an unknown
// contact stops the import with a message naming the line and column, and
// nothing is added. Events without an ERecno get a unique one. Returns the
// number of events added.
host::StatusOr<std::int64_t> importEvents(host::Engine& engine, std::string_view alias, std::string_view database,
                                          std::istream& csv);

}  // namespace vistrel::app
