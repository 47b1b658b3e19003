// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include "host/engine.h"
#include "host/status.h"

namespace vistrel::app {

// Gives the user, date and numeric fields of the field catalog the aliases
// that the settings table of the Tallis data directory holds (rows named
// after the field, "User1" -> "Newsletter"). A field without a stored alias
// shows its name. When the table cannot be read every such field shows its
// name and the failure is returned; the program goes on without aliases.
host::Status loadFieldAliases(host::Engine& engine);

}  // namespace vistrel::app
