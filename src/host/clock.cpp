// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/clock.h"

#include <chrono>
#include <ctime>

namespace vistrel::host {

DateTime SystemClock::now() const {
  const auto moment = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(moment);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(moment.time_since_epoch()) % 1000;
  std::tm local{};
  localtime_r(&seconds, &local);
  const DateTime day = encodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday).value_or(0);
  return day + encodeTime(local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(ms.count()));
}

const SystemClock& SystemClock::instance() {
  static const SystemClock clock;
  return clock;
}

}  // namespace vistrel::host
