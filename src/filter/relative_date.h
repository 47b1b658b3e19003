// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "host/date_time.h"
#include "host/locale.h"
#include "host/status.h"

namespace vistrel::filter {

// Turns a date condition into a date. A text that is one date in the short
// date format is that date. Otherwise the text is "TODAY" (any case) and
// blank-separated words, read against the date part of `base`:
//  - an offset: "+" or "-", digits, then a unit letter (Y years, M months,
//    W weeks, anything else or nothing days), e.g. "+1yr", "-2wk", "+5";
//    signs need no blank before them ("TODAY+5dy-1mo");
//  - a plain number: the first one sets the day, the second the month, the
//    third the year; every word except TODAY counts for these places;
//  - anything else is ignored.
// Words apply from left to right. A day that the month does not have becomes
// the month's last day (31 January +1mo gives the end of February), also
// before a day or week offset is added. A month outside 1 to 12, a day below
// 1 or a year outside 1 to 9999 fails with InvalidArgument, as does an offset
// above 100,000,000.
host::StatusOr<host::DateTime> ResolveRelativeDate(std::string_view text, host::DateTime base,
                                                   const host::Locale& locale);

// The first word of a relative date text that ResolveRelativeDate would pass
// over or read as days only for want of a better reading: anything but TODAY,
// an offset with no unit or one of d, dy, w, wk, m, mo, y, yr (any case),
// and at most three plain numbers. A trailing note of NoYear and NoDay in
// parentheses is not read. None when every word reads.
std::optional<std::string> unreadableDateWord(std::string_view text);

}  // namespace vistrel::filter
