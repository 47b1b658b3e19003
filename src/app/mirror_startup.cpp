// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "app/mirror_startup.h"

#include <system_error>

#include "host/host_mirror.h"
#include "host/messages.h"

namespace vistrel::app {

std::filesystem::path mirrorDirectory(const host::Engine& engine) { return engine.privateDir() / "TALDB"; }

bool mirrorHostTablesAtStartup(host::Engine& engine,
                               const std::function<void(std::int64_t done, std::int64_t total)>& progress,
                               const std::function<void(const std::string& table)>& copying) {
  auto hostDir = engine.aliasDirectory(host::kTallisAlias);
  if (!hostDir.ok() || !host::isHostDirectory(*hostDir)) return true;
  const std::filesystem::path copy = mirrorDirectory(engine);
  host::MirrorOptions options;
  options.progress = progress;
  options.copying = copying;
  auto results = host::mirrorHostTables(*hostDir, copy, options);
  std::error_code ec;
  const bool haveCopy = std::filesystem::exists(copy / std::string(host::kDataFileName), ec);
  if (!results.ok()) {
    host::ShowError("Could not copy the Tallis tables of " + hostDir->string() + ": " + results.status().message());
    if (!haveCopy) return false;
  } else if (const std::string problems = host::mirrorProblems(*results); !problems.empty()) {
    host::ShowWarning("These Tallis tables could not be copied; the previous copy of each is used:\n" + problems);
  }
  engine.setAlias(host::kTallisAlias, copy);
  return true;
}

}  // namespace vistrel::app
