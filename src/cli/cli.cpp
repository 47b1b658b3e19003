// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <algorithm>
#include <ostream>

#include "cli/command.h"
#include "cli/commands.h"
#include "cli/output.h"
#include "host/assets.h"
#include "host/version.h"

namespace vistrel::cli {
namespace {

// Subcommands are listed here; a new one adds its line.
const Command* const kCommands[] = {
    &kInitCommand,
    &kImportCommand,
    &kAnalyseCommand,
    &kLocateCommand,
    &kFilterCommand,
    &kMirrorCommand,
    &kExportParadoxCommand,
};

void printOverview(std::ostream& out) {
  out << "Usage: vistrel-cli <command> [options]\n\n"
         "Where are my contacts? Lists and counts the contacts of a Tallis database\n"
         "per zip code, city, state or country, without a window.\n\nCommands:\n";
  std::size_t width = 0;
  for (const Command* c : kCommands) {
    if (c != nullptr) width = std::max(width, c->name.size());
  }
  for (const Command* c : kCommands) {
    if (c == nullptr) continue;
    out << "  " << c->name << std::string(width + 2 - c->name.size(), ' ') << c->summary << "\n";
  }
  out << "\nRun 'vistrel-cli <command> --help' for the options of a command.\n";
}

int runCommand(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  if (argv.empty()) {
    printOverview(err);
    return kExitUsage;
  }
  const std::string& name = argv[0];
  if (name == "--help" || name == "-h" || name == "help") {
    printOverview(out);
    return kExitOk;
  }
  if (name == "--version") {
    out << "vistrel-cli " << host::kVersion << "\n";
    return kExitOk;
  }
  for (const Command* c : kCommands) {
    if (c == nullptr || c->name != name) continue;
    const std::vector<std::string> rest(argv.begin() + 1, argv.end());
    for (const std::string& a : rest) {
      if (a == "--help" || a == "-h") {
        out << c->usage;
        return kExitOk;
      }
    }
    if (const host::Status s = host::checkAssetFolder(); !s.ok()) {
      err << "vistrel-cli: " << s.message() << "\n";
      return kExitFailure;
    }
    return c->run(rest, out, err);
  }
  err << "vistrel-cli: unknown command '" << name << "' (try --help)\n";
  return kExitUsage;
}

}  // namespace

// Every command's output is checked here, once: what did not reach its
// destination (a full disk, a closed pipe) makes the run fail, whatever the
// command said.
int runCli(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  const int code = runCommand(argv, out, err);
  const std::string failure = outputFailure(out);
  if (failure.empty()) return code;
  err << "vistrel-cli: cannot write the output: " << failure << "\n";
  return code == kExitOk ? kExitFailure : code;
}

}  // namespace vistrel::cli
