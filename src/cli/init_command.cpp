// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <chrono>
#include <ostream>

#include "app/demo_data.h"
#include "cli/args.h"
#include "cli/commands.h"
#include "cli/data_dir.h"
#include "host/tallis_schema.h"

namespace vistrel::cli {
namespace {

constexpr char kUsage[] =
    "Usage: vistrel-cli init --data DIR [--demo] [--contacts N] [--seed S] [--one-database]\n\n"
    "Creates a Tallis data directory DIR with every table. With --demo it fills it\n"
    "with made-up users, databases, contacts (N, default 20000), events, holidays,\n"
    "marks and saved filters; the same seed gives the same data. --one-database\n"
    "puts every contact in the database Sales.\n";

bool parseCount(const std::string& text, std::int64_t* out) {
  if (text.empty() || text.size() > 12) return false;
  std::int64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  *out = v;
  return true;
}

int runInit(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  auto args = Args::parse(argv, {"data", "contacts", "seed"}, {"demo", "one-database"});
  if (!args.ok()) {
    err << "vistrel-cli init: " << args.status().message() << "\n";
    return kExitUsage;
  }
  const auto data = args->value("data");
  if (const host::Status s = args->check({"data"}, 0); !s.ok()) {
    err << "vistrel-cli init: " << s.message() << "\n\n" << kUsage;
    return kExitUsage;
  }
  app::DemoOptions options;
  if (auto n = args->value("contacts"); n && !parseCount(*n, &options.contacts)) {
    err << "vistrel-cli init: --contacts needs a whole number, not '" << *n << "'\n";
    return kExitUsage;
  }
  std::int64_t seed = 1;
  if (auto s = args->value("seed"); s && !parseCount(*s, &seed)) {
    err << "vistrel-cli init: --seed needs a whole number, not '" << *s << "'\n";
    return kExitUsage;
  }
  options.seed = static_cast<std::uint64_t>(seed);
  options.oneDatabase = args->has("one-database");

  const auto started = std::chrono::steady_clock::now();
  host::Status s = host::Engine::createDataDirectory(*data);
  host::Engine engine;
  useDataDirectory(engine, *data);
  if (s.ok()) s = host::createTallisTables(engine, host::kTallisAlias);
  if (s.ok() && args->has("demo")) {
    options.progress = [&err](std::int64_t done, std::int64_t total) {
      if (total >= 100000) err << "\r" << done << " of " << total << " contacts" << std::flush;
    };
    s = engine.setBulkLoad(host::kTallisAlias, true);
    if (s.ok()) s = app::fillDemoData(engine, host::kTallisAlias, options);
    if (s.ok()) s = engine.setBulkLoad(host::kTallisAlias, false);
    if (options.contacts >= 100000) err << "\n";
  }
  if (!s.ok()) {
    err << "vistrel-cli init: " << s.message() << "\n";
    return kExitFailure;
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  out << "Created " << *data;
  if (args->has("demo")) out << " with " << options.contacts << " demo contacts";
  out << " in " << static_cast<int>(seconds * 10) / 10.0 << " s\n";
  return kExitOk;
}

}  // namespace

const Command kInitCommand = {"init", "create a Tallis data directory, optionally with demo data", kUsage,
                              runInit};

}  // namespace vistrel::cli
