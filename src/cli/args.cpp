// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "cli/args.h"

namespace vistrel::cli {
namespace {

std::function<void(const OptionNames&, const OptionNames&)>& acceptedOptionsObserver() {
  static std::function<void(const OptionNames&, const OptionNames&)> observer;
  return observer;
}

}  // namespace

void setAcceptedOptionsObserver(std::function<void(const OptionNames& valued, const OptionNames& flags)> observer) {
  acceptedOptionsObserver() = std::move(observer);
}

host::StatusOr<Args> Args::parse(const std::vector<std::string>& argv,
                                 const std::set<std::string, std::less<>>& valued,
                                 const std::set<std::string, std::less<>>& flags) {
  if (acceptedOptionsObserver()) acceptedOptionsObserver()(valued, flags);
  Args args;
  for (std::size_t i = 0; i < argv.size(); ++i) {
    const std::string& a = argv[i];
    if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
      std::string name = a.substr(2);
      std::optional<std::string> inlineValue;
      if (const auto eq = name.find('='); eq != std::string::npos) {
        inlineValue = name.substr(eq + 1);
        name.resize(eq);
      }
      if (args.has(name)) return host::Status::InvalidArgument("option --" + name + " is given twice");
      if (valued.count(name)) {
        if (inlineValue) {
          args.values_[name] = *inlineValue;
        } else if (i + 1 < argv.size()) {
          args.values_[name] = argv[++i];
        } else {
          return host::Status::InvalidArgument("option --" + name + " needs a value");
        }
      } else if (flags.count(name) && !inlineValue) {
        args.flags_.insert(name);
      } else {
        return host::Status::InvalidArgument("unknown option --" + name);
      }
    } else {
      args.positional_.push_back(a);
    }
  }
  return args;
}

bool Args::has(std::string_view name) const {
  return flags_.count(name) > 0 || values_.count(name) > 0;
}

std::optional<std::string> Args::value(std::string_view name) const {
  const auto it = values_.find(name);
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

std::string Args::valueOr(std::string_view name, std::string_view fallback) const {
  const auto v = value(name);
  return v ? *v : std::string(fallback);
}

host::Status Args::check(std::initializer_list<std::string_view> options, std::size_t positionals) const {
  std::string missing;
  for (std::string_view o : options) {
    if (!has(o)) missing += (missing.empty() ? "missing --" : ", --") + std::string(o);
  }
  if (!missing.empty()) return host::Status::InvalidArgument(missing);
  if (positional_.size() > positionals) {
    return host::Status::InvalidArgument("unexpected argument '" + positional_[positionals] + "'");
  }
  if (positional_.size() < positionals) return host::Status::InvalidArgument("missing an argument");
  return host::Status::OK();
}

}  // namespace vistrel::cli
