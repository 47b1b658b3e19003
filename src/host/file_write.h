// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "host/status.h"

namespace vistrel::host {

// Writes `bytes` to `path` whole or not at all: they go to a temporary file
// beside it, which is flushed to disk and then renamed over `path`. On failure
// `path` is as it was, the temporary file is gone, and the Status says
// "cannot write <path>: <the system's reason>". Every file the program writes
// (maps, saved pictures, INI files) goes through here.
Status writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Puts the finished file `from` in place as `to`, never over an existing
// file: flushes it to disk, gives it the new name (failing with "File exists"
// when `to` is there) and drops the old one, then flushes the folder. A crash
// at any point leaves `to` either missing or whole. For files built by
// another writer (a data directory's database), not through the routine above.
Status moveFileIntoPlace(const std::filesystem::path& from, const std::filesystem::path& to);

// The system's reason for an errno value, as a user reads it ("No space left
// on device").
std::string systemReason(int errnoValue);

// Test seam: while set, every write through writeFileAtomically asks `fault`
// first; a non-zero errno it returns makes that write fail with that reason
// after the temporary file was created. Pass nullptr to clear.
using WriteFault = std::function<int(const std::filesystem::path& path)>;
void setWriteFaultForTesting(WriteFault fault);

}  // namespace vistrel::host
