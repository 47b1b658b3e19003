// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "host/status.h"

namespace vistrel::cli {

// The options of one subcommand: "--name value" options, "--flag" switches
// and positional words. Parsing refuses unknown options and missing values.
class Args {
 public:
  // `valued` names the options that take a value, `flags` those that do not.
  static host::StatusOr<Args> parse(const std::vector<std::string>& argv,
                                    const std::set<std::string, std::less<>>& valued,
                                    const std::set<std::string, std::less<>>& flags);

  bool has(std::string_view name) const;
  std::optional<std::string> value(std::string_view name) const;
  std::string valueOr(std::string_view name, std::string_view fallback) const;
  const std::vector<std::string>& positional() const { return positional_; }

  // Fails, naming what is wrong, when one of `options` was not given or the
  // number of positional words differs from `positionals`.
  host::Status check(std::initializer_list<std::string_view> options, std::size_t positionals) const;

 private:
  std::map<std::string, std::string, std::less<>> values_;
  std::set<std::string, std::less<>> flags_;
  std::vector<std::string> positional_;
};

// While set, every parse first tells `observer` the options it accepts: tests
// hold each command's help to what the command takes. Unset by default.
using OptionNames = std::set<std::string, std::less<>>;
void setAcceptedOptionsObserver(std::function<void(const OptionNames& valued, const OptionNames& flags)> observer);

}  // namespace vistrel::cli
