// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace vistrel::host {

// Test hook for the kill tests: long writes (the demo data, an import, a
// mirror) call this after each row, with the count of the table so far. When the environment variable
// VISTREL_TEST_KILL_AFTER_ROWS holds a count, the process kills itself with
// SIGKILL (no clean-up, as a power cut or kill -9 would) once that many rows
// were written. Without the variable it does nothing.
void rowWrittenForTesting(std::int64_t rowsSoFar);

}  // namespace vistrel::host
