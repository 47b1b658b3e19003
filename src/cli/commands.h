// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/command.h"

// The subcommands of vistrel-cli; each lives in its own file.
namespace vistrel::cli {

extern const Command kInitCommand;
extern const Command kImportCommand;
extern const Command kAnalyseCommand;
extern const Command kLocateCommand;
// `filter describe`, which the filter command hands over to.
int runFilterDescribe(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
extern const Command kFilterCommand;

// The event form of import (--events FILE.csv), which runImport hands over to.
bool isEventImport(const std::vector<std::string>& args);
int runEventImport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
extern const Command kMirrorCommand;
extern const Command kExportParadoxCommand;

}  // namespace vistrel::cli
