// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include "host/status.h"
#include "host/table.h"

namespace vistrel::app {

// Adds the demo filters that show what the evaluation can do beyond one
// contact field: an event row, two event rows that one event must satisfy
// together, Or in parentheses with a category row, and the marked contacts.
// `select` is open on the select table; their keys follow `lastKey` ("F" and
// a number).
host::Status addDemoFilters(host::Table& select, int lastKey);

}  // namespace vistrel::app
