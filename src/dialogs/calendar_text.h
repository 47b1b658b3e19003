// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "host/date_time.h"

// The English names and long forms of dates that the date pickers show.
namespace vistrel::dialogs {

// "January" .. "December" and "Jan" .. "Dec"; empty outside 1 to 12.
std::string longMonthName(int month);
std::string shortMonthName(int month);
// "Sunday" .. "Saturday" and "Sun" .. "Sat" for day of week 1 to 7.
std::string longDayName(int dayOfWeek);
std::string shortDayName(int dayOfWeek);

// The long date form: "Tuesday, December 8, 2026".
std::string longDateText(host::DateTime date);

}  // namespace vistrel::dialogs
