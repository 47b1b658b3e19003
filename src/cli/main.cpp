// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/output.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + 1, argv + argc);
  vistrel::cli::FdOutputBuffer buffer(STDOUT_FILENO);
  std::ostream out(&buffer);
  return vistrel::cli::runCli(args, out, std::cerr);
}
