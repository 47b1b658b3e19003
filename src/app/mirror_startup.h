// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "host/engine.h"

namespace vistrel::app {

// The folder below the private directory that holds the copy of the host's
// tables.
std::filesystem::path mirrorDirectory(const host::Engine& engine);

// What the start-up copy tells the user.
struct MirrorStartup {
  bool haveCopy = true;  // false: there is no copy to work on and the program ends
  std::string error;     // why nothing could be copied; empty when it could
  std::string warning;   // the tables whose previous copy is used; empty when none
};

// When the TALDB directory holds the host's Paradox tables, makes or
// refreshes their copy (mirrorDirectory()) and points TALDB at it, calling
// `progress` while rows are copied. Tables that could not be copied are
// named in the warning, and the previous copy of each is used. haveCopy is
// false when there is no copy to work on (the error says why); it is true
// also when TALDB is a data directory of this program and nothing was done.
// `copying`, when given, is told the name of each table as its copy starts.
MirrorStartup mirrorHostTablesAtStartup(host::Engine& engine,
                                        const std::function<void(std::int64_t done, std::int64_t total)>& progress,
                                        const std::function<void(const std::string& table)>& copying = nullptr);

}  // namespace vistrel::app
