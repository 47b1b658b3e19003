// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/test_hooks.h"

#include <csignal>
#include <cstdlib>

namespace vistrel::host {

void rowWrittenForTesting(std::int64_t rowsSoFar) {
  static const std::int64_t killAfter = [] {
    const char* v = std::getenv("VISTREL_TEST_KILL_AFTER_ROWS");
    return v != nullptr && *v != '\0' ? std::atoll(v) : std::int64_t{-1};
  }();
  if (killAfter >= 0 && rowsSoFar >= killAfter) std::raise(SIGKILL);
}

}  // namespace vistrel::host
