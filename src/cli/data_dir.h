// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>

#include "host/engine.h"

namespace vistrel::cli {

// Points the engine's TALDB alias at `directory` and registers the table
// passwords, as the program does at start-up.
void useDataDirectory(host::Engine& engine, const std::filesystem::path& directory);

}  // namespace vistrel::cli
