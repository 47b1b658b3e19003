// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "cli/data_dir.h"

#include "host/tallis_schema.h"

namespace vistrel::cli {

void useDataDirectory(host::Engine& engine, const std::filesystem::path& directory) {
  engine.setAlias(host::kTallisAlias, directory);
  for (auto which : {host::TablePassword::kUsers, host::TablePassword::kContacts, host::TablePassword::kFilters}) {
    engine.addPassword(host::tallisTablePassword(which));
  }
}

}  // namespace vistrel::cli
