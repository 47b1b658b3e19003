// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include "host/engine.h"

namespace vistrel::app {

// The start-up copy of a Tallis directory (mirrorHostTablesAtStartup) with
// the progress window shown once it has taken longer than half a second.
// Returns false when the program has to end.
bool mirrorHostTablesWithProgress(host::Engine& engine);

}  // namespace vistrel::app
