// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "app/mirror_startup.h"

#include <system_error>

#include "host/host_mirror.h"

namespace vistrel::app {

std::filesystem::path mirrorDirectory(const host::Engine& engine) { return engine.privateDir() / "TALDB"; }

MirrorStartup mirrorHostTablesAtStartup(host::Engine& engine,
                                        const std::function<void(std::int64_t done, std::int64_t total)>& progress,
                                        const std::function<void(const std::string& table)>& copying) {
  MirrorStartup outcome;
  auto hostDir = engine.aliasDirectory(host::kTallisAlias);
  if (!hostDir.ok() || !host::isHostDirectory(*hostDir)) return outcome;
  const std::filesystem::path copy = mirrorDirectory(engine);
  host::MirrorOptions options;
  options.progress = progress;
  options.copying = copying;
  auto results = host::mirrorHostTables(*hostDir, copy, options);
  std::error_code ec;
  const bool haveCopy = std::filesystem::exists(copy / std::string(host::kDataFileName), ec);
  if (!results.ok()) {
    outcome.error = "Could not copy the Tallis tables of " + hostDir->string() + ": " + results.status().message();
    if (!haveCopy) {
      outcome.haveCopy = false;
      return outcome;
    }
  } else if (const std::string problems = host::mirrorProblems(*results); !problems.empty()) {
    outcome.warning = "These Tallis tables could not be copied; the previous copy of each is used:\n" + problems;
  }
  engine.setAlias(host::kTallisAlias, copy);
  return outcome;
}

}  // namespace vistrel::app
