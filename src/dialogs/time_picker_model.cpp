// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "dialogs/time_picker_model.h"

#include <cmath>

#include "host/text.h"

namespace vistrel::dialogs {

int pointerOfTime(HourMinute time) { return (time.hour * 60 + time.minute) / 3 + 15; }

int snapMinute(int minute) {
  static constexpr int kSnap[20] = {0, 5, 5, 10, 10, 15, 15, 20, 25, 30, 30, 35, 35, 40, 45, 45, 50, 50, 55, 60};
  if (minute < 0 || minute > 59) return 0;
  return kSnap[minute / 3];
}

HourMinute timeOfPointer(int p) {
  const int m = (p - 16) * 3;
  if (m <= 0 || m >= 1440) return {};
  HourMinute t{m / 60, snapMinute(m % 60)};
  if (t.minute == 60) {
    t.minute = 0;
    t.hour = (t.hour + 1) % 24;
  }
  return t;
}

bool pointerDrawable(int p) {
  return p >= kStripLeft - 1 && p + kTriangleWidth / 2 <= kStripLeft + kStripWidth - 11;
}

bool nightHour(int hour) { return hour < 7 || hour > 18; }

HourMinute stepTime(HourMinute t, TimeKey key) {
  const int minutes = t.hour * 60 + t.minute;
  switch (key) {
    case TimeKey::kUp:
      return minutes < 1439 ? HourMinute{(minutes + 1) / 60, (minutes + 1) % 60} : t;
    case TimeKey::kDown:
      return minutes > 0 ? HourMinute{(minutes - 1) / 60, (minutes - 1) % 60} : t;
    case TimeKey::kPageUp:
      return t.hour < 23 ? HourMinute{t.hour + 1, t.minute} : t;
    case TimeKey::kPageDown:
      return t.hour > 0 ? HourMinute{t.hour - 1, t.minute} : t;
  }
  return t;
}

std::string shortTimeText(HourMinute t, const host::Locale& locale) {
  const std::string mm = (t.minute < 10 ? "0" : "") + std::to_string(t.minute);
  if (locale.clock24) return std::to_string(t.hour) + ":" + mm;
  const int h12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
  return std::to_string(h12) + ":" + mm + " " + (t.hour < 12 ? locale.amText : locale.pmText);
}

std::string conditionTimeText(HourMinute t, const host::Locale& locale) {
  return host::formatTime(host::encodeTime(t.hour, t.minute, 0), locale);
}

HourMinute hourMinuteOf(host::DateTime value) {
  const host::TimeOfDay t = host::decodeTime(value);
  return {t.hour, t.minute};
}

std::string itIsText(const host::Clock& clock, const host::Locale& locale) {
  return "It is " + shortTimeText(hourMinuteOf(clock.now()), locale);
}

HourMinute startTime(std::string_view conditionText, const host::Clock& clock, const host::Locale& locale) {
  if (!host::trimWhite(conditionText).empty()) {
    if (const auto t = host::parseTime(conditionText, locale); t && *t >= 0 && *t < 1) return hourMinuteOf(*t);
  }
  return hourMinuteOf(clock.now());
}

}  // namespace vistrel::dialogs
