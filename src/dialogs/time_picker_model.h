// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "host/clock.h"
#include "host/date_time.h"
#include "host/locale.h"

// The 24-hour strip of the time picker without its window. The pointer
// position p is counted in the window's frame, one unit per 3 minutes: 0:00
// lies at p = 16 and 24:00 at p = 496; the pointer's line stands at window x
// p + 8, that is strip x p - 8, so the strip picture puts 0:00 at its x 8
// and 24:00 at its x 488.
namespace vistrel::dialogs {

inline constexpr int kStripLeft = 16;
inline constexpr int kStripTop = 8;
inline constexpr int kStripWidth = 495;
inline constexpr int kStripHeight = 42;
inline constexpr int kTriangleWidth = 11;
inline constexpr int kTriangleHeight = 6;
inline constexpr int kPointerLineHeight = 32;

struct HourMinute {
  int hour = 0;
  int minute = 0;
  friend bool operator==(const HourMinute&, const HourMinute&) = default;
};

// p = (hour * 60 + minute) div 3 + 15.
int pointerOfTime(HourMinute time);
// The time the strip shows at p: m = (p - 16) * 3; 0:00 when m <= 0 or
// m >= 1440; else its hour and minute with the minute snapped to the strip's
// 5-minute table (57 moves on to the next hour, 24 becoming 0).
HourMinute timeOfPointer(int p);
// The snap table for a minute (multiples of 3 from 0 to 57; others are
// rounded down to one first). Returns 60 for 57.
int snapMinute(int minute);

// Whether the pointer can be drawn at p: within the strip less the
// triangle's half width at the right.
bool pointerDrawable(int p);

// The time panel shows aqua for hours before 7 or after 18, yellow otherwise.
bool nightHour(int hour);

enum class TimeKey { kUp, kDown, kPageUp, kPageDown };
// One minute or one hour later or earlier, never past 0:00 or 23:59.
HourMinute stepTime(HourMinute time, TimeKey key);

// The short time form: "1:45 PM", or "13:45" on a 24-hour clock.
std::string shortTimeText(HourMinute time, const host::Locale& locale);
// The stored time form of a time condition: "1:45:00 PM" or "13:45:00".
std::string conditionTimeText(HourMinute time, const host::Locale& locale);
// "It is 1:45 PM".
std::string itIsText(const host::Clock& clock, const host::Locale& locale);
HourMinute hourMinuteOf(host::DateTime value);

// The time the picker starts at for a condition: the current time for a blank
// text or one that is no time, else the text's time.
HourMinute startTime(std::string_view conditionText, const host::Clock& clock, const host::Locale& locale);

// True when the strip shows 12-hour marks (the locale's short time format
// holds "AM").
inline bool twelveHourStrip(const host::Locale& locale) { return !locale.clock24; }

}  // namespace vistrel::dialogs
