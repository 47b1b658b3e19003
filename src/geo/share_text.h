// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

#include "host/locale.h"

namespace vistrel::geo {

// The share of `count` in `total` as the hover label shows it after a state's
// name: a blank, then count × 100 / total in parentheses with a percent sign,
// " (12.5%)", " (33.33%)", " (100%)". The number has at most 4 significant
// digits, no trailing zeros and no decimal separator when whole; it is never
// written in exponent form, so very small shares read " (0.000003333%)".
// A total of 0 or less gives the empty text.
std::string shareText(std::int64_t count, std::int64_t total, const host::Locale& locale);

// The number part alone: `value` rounded to 4 significant digits, written as
// described above ("12.5", "0.0001", "100").
std::string formatFourDigits(double value, const host::Locale& locale);

}  // namespace vistrel::geo
