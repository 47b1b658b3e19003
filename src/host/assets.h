// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string_view>

namespace vistrel::host {

// The bytes of a data file of the assets/ folder, built into the program.
// `name` is the path below assets/ with forward slashes ("maps/small.bmp").
// The bytes live for the whole run.
std::optional<std::string_view> embeddedAsset(std::string_view name);

}  // namespace vistrel::host
