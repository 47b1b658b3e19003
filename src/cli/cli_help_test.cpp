// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/args.h"
#include "cli_testing.h"

namespace vistrel::cli {
namespace {

using testing::runTool;

std::vector<std::string> commandNames() {
  std::istringstream overview(runTool({"--help"}).out);
  std::vector<std::string> names;
  bool listing = false;
  for (std::string line; std::getline(overview, line);) {
    if (line == "Commands:") {
      listing = true;
    } else if (listing && line.empty()) {
      break;
    } else if (listing) {
      names.push_back(line.substr(2, line.find(' ', 2) - 2));
    }
  }
  return names;
}

// The usage forms of a command's help, continuation lines joined, up to the
// first blank line.
std::vector<std::string> usageForms(const std::string& help, const std::string& command) {
  std::istringstream text(help);
  std::vector<std::string> forms;
  const std::string start = "vistrel-cli " + command;
  for (std::string line; std::getline(text, line) && !line.empty();) {
    const std::size_t at = line.find_first_not_of(' ', line.rfind("Usage:", 0) == 0 ? 6 : 0);
    if (at != std::string::npos && line.compare(at, start.size(), start) == 0) {
      forms.push_back(line.substr(at));
    } else if (!forms.empty()) {
      forms.back() += " " + line;
    }
  }
  return forms;
}

std::vector<std::string> optionsIn(const std::string& text) {
  static const std::regex option("--[a-z][a-z-]*");
  std::vector<std::string> found;
  for (std::sregex_iterator it(text.begin(), text.end(), option), end; it != end; ++it) found.push_back(it->str());
  return found;
}

// Each command is run as each usage form of its help begins (with its
// action), its options after an unknown one, so that parsing stops at once
// and nothing runs; every option a parse on the way accepts must be named in
// that form, which the manual page and the completion follow.
TEST(CliHelpTest, TheHelpNamesEveryOptionACommandAccepts) {
  std::set<std::string> accepted;
  int parses = 0;
  setAcceptedOptionsObserver([&](const OptionNames& valued, const OptionNames& flags) {
    ++parses;
    for (const auto* names : {&valued, &flags}) {
      for (const std::string& n : *names) accepted.insert("--" + n);
    }
  });
  const std::vector<std::string> commands = commandNames();
  ASSERT_FALSE(commands.empty());
  for (const std::string& command : commands) {
    const std::string help = runTool({command, "--help"}).out;
    const std::vector<std::string> forms = usageForms(help, command);
    ASSERT_FALSE(forms.empty()) << command;
    for (const std::string& form : forms) {
      std::vector<std::string> argv{command};
      std::istringstream words(form.substr(("vistrel-cli " + command).size()));
      if (std::string action; words >> action && std::regex_match(action, std::regex("[a-z][a-z-]*"))) {
        argv.push_back(action);
      }
      argv.push_back("--no-such-option");
      for (const std::string& o : optionsIn(form)) argv.push_back(o);
      accepted.clear();
      parses = 0;
      EXPECT_EQ(runTool(argv).code, kExitUsage) << form;
      EXPECT_GT(parses, 0) << form << ": the options were not parsed";
      const std::vector<std::string> named = optionsIn(form);
      for (const std::string& option : accepted) {
        EXPECT_NE(std::find(named.begin(), named.end(), option), named.end()) << form << ": takes " << option;
      }
    }
  }
  setAcceptedOptionsObserver(nullptr);
}

}  // namespace
}  // namespace vistrel::cli
