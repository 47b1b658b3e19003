// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include "host/date_time.h"

namespace vistrel::host {

// Where "now" comes from. Routines that depend on the current moment take a
// Clock so tests can fix the day; the program passes SystemClock::instance().
class Clock {
 public:
  virtual ~Clock() = default;
  // The current local date and time as a date-time value.
  virtual DateTime now() const = 0;
};

// The machine's clock in local time.
class SystemClock : public Clock {
 public:
  DateTime now() const override;
  static const SystemClock& instance();
};

// A clock that stands still at a given moment until it is set again.
class FixedClock : public Clock {
 public:
  explicit FixedClock(DateTime moment) : moment_(moment) {}
  DateTime now() const override { return moment_; }
  void set(DateTime moment) { moment_ = moment; }

 private:
  DateTime moment_;
};

}  // namespace vistrel::host
