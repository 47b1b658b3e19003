// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/command.h"

namespace vistrel::testing {

// What one run of the command-line tool gave back.
struct CliRun {
  int code;
  std::string out;
  std::string err;
};

// Runs the command-line tool in this process with `args` (no program name).
inline CliRun runTool(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int code = cli::runCli(args, out, err);
  return {code, out.str(), err.str()};
}

}  // namespace vistrel::testing
