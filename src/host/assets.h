// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "host/status.h"

// The program's data files (maps, tables, pictures, help pages) live in the
// folder share/vistrel beside the folder of the program file: an installed
// /usr/bin/vistrel reads /usr/share/vistrel, /opt/x/bin/vistrel reads
// /opt/x/share/vistrel, and the build tree has the same shape (build/bin,
// build/tests and build/bench read build/share/vistrel, a link to the
// source's assets/ folder). The current folder plays no part.
namespace vistrel::host {

// The data folder of the program file `programFile`.
std::filesystem::path assetFolderFor(const std::filesystem::path& programFile);
// The data folder of the running program.
const std::filesystem::path& assetFolder();
// Fails, naming the folder, when the running program has no data folder.
Status checkAssetFolder();

// The bytes of a data file. `name` is its path below the data folder with
// forward slashes ("maps/us_small.bmp"). None when the file is missing or
// unreadable, or when the name would reach outside the folder ("/x", "a/../b").
// Each file is read once; the bytes live for the whole run. Thread-safe.
std::optional<std::string_view> asset(std::string_view name);

// The older name of asset().
inline std::optional<std::string_view> embeddedAsset(std::string_view name) { return asset(name); }

}  // namespace vistrel::host
