// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QLocale>

#include "host/locale.h"

namespace vistrel::host {

// The engine's locale from the desktop's regional settings: decimal and
// thousands marks, the short date order and separator (years always with
// four digits, so that a date reads back as it was written), the 12- or
// 24-hour clock and its AM and PM texts. What cannot be written with one
// byte (a thousands mark that is a no-break space, say) keeps the US form.
Locale localeFromQt(const QLocale& qt);

}  // namespace vistrel::host
