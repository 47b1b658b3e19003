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
// `filter describe`; a `filter` command with more subcommands hands "describe" to runFilterDescribe.
extern const Command kFilterDescribeCommand;
int runFilterDescribe(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vistrel::cli
