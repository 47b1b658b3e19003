// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace vistrel::cli {

// Exit codes of every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// One subcommand: its name, a line for the overview, its usage text, and the
// function that runs it with the words after the name. Data goes to `out`,
// messages to `err`.
struct Command {
  std::string_view name;
  std::string_view summary;
  std::string_view usage;
  int (*run)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
};

// Runs the tool with its whole argument list (without the program name).
int runCli(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err);

}  // namespace vistrel::cli
