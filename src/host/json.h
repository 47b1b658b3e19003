// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace vistrel::host {

// `text` as a JSON string, quotes included. Whatever the bytes (a store may
// hold any), the result is valid JSON in valid UTF-8: control characters are
// escaped and bytes that are not UTF-8 become U+FFFD, one per byte.
std::string jsonString(std::string_view text);

}  // namespace vistrel::host
