// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string_view>

// The constant lists shared with Tallis whose positions and texts other code
// relies on.
namespace vistrel::host {

// Values of the event table's type field, positions 0 to 8.
extern const std::array<std::string_view, 9> EventTypeNames;

struct EventStatus {
  std::string_view code;  // one letter, or empty for "Not Set"
  std::string_view name;
};
// Event statuses, positions 0 to 15; an event holds the code, users see the name.
extern const std::array<EventStatus, 16> EventStatusList;

// Position of the first status whose code (or name) equals `text` exactly, or -1.
int findEventStatusByCode(std::string_view code);
int findEventStatusByName(std::string_view name);

// Database type names, positions 0 to 6; a catalog entry's table code indexes it.
extern const std::array<std::string_view, 7> DatabaseTypeNames;

}  // namespace vistrel::host
