// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>

#include "host/engine.h"

namespace vistrel::app {

// The folder below the private directory that holds the copy of the host's
// tables.
std::filesystem::path mirrorDirectory(const host::Engine& engine);

// When the TALDB directory holds the host's Paradox tables, makes or
// refreshes their copy (mirrorDirectory()) and points TALDB at it, calling
// `progress` while rows are copied. Tables that could not be copied are
// named to the user, and the previous copy of each is used. Returns false
// when there is no copy to work on (the user has been told why); true also
// when TALDB is a data directory of this program and nothing was done.
// `copying`, when given, is told the name of each table as its copy starts.
bool mirrorHostTablesAtStartup(host::Engine& engine,
                               const std::function<void(std::int64_t done, std::int64_t total)>& progress,
                               const std::function<void(const std::string& table)>& copying = nullptr);

}  // namespace vistrel::app
