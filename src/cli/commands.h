// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include "cli/command.h"

// The subcommands of vistrel-cli; each lives in its own file.
namespace vistrel::cli {

extern const Command kInitCommand;
extern const Command kImportCommand;
extern const Command kAnalyseCommand;
extern const Command kLocateCommand;
extern const Command kMirrorCommand;
extern const Command kExportParadoxCommand;

}  // namespace vistrel::cli
