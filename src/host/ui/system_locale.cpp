// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/ui/system_locale.h"

namespace vistrel::host {
namespace {

// The one-byte form of a mark, or `fallback`.
char asciiMark(const QString& mark, char fallback) {
  if (mark.size() != 1 || mark[0].unicode() > 0x7e || mark[0].unicode() < 0x20) return fallback;
  return static_cast<char>(mark[0].unicode());
}

// Day, month and year of a Qt date pattern in their order, with the first
// separator met: "dd.MM.yyyy" for "dd.MM.yy", "M/d/yyyy" for "M/d/yy".
std::string shortDatePattern(const QString& qt, const std::string& fallback) {
  std::string out;
  char separator = 0;
  std::string seen;
  for (qsizetype i = 0; i < qt.size();) {
    const QChar c = qt[i];
    qsizetype run = 1;
    while (i + run < qt.size() && qt[i + run] == c) ++run;
    const char k = c.unicode() < 0x80 ? static_cast<char>(c.unicode()) : '?';
    if ((k == 'd' || k == 'M' || k == 'y') && run <= 4) {
      if (seen.find(k) != std::string::npos || (k != 'y' && run > 2)) return fallback;  // day names, month names
      if (!out.empty()) out += separator;
      out += k == 'y' ? std::string("yyyy") : std::string(static_cast<std::size_t>(run), k);
      seen += k;
    } else if (separator == 0 && (k == '/' || k == '.' || k == '-' || k == ' ')) {
      separator = k;
    } else if (k != '/' && k != '.' && k != '-' && k != ' ' && k != ',') {
      return fallback;
    }
    i += run;
  }
  if (seen.size() != 3 || separator == 0) return fallback;
  return out;
}

}  // namespace

Locale localeFromQt(const QLocale& qt) {
  Locale l;
  l.decimalSeparator = asciiMark(qt.decimalPoint(), l.decimalSeparator);
  l.thousandSeparator = asciiMark(qt.groupSeparator(), l.decimalSeparator == ',' ? '.' : ',');
  l.shortDateFormat = shortDatePattern(qt.dateFormat(QLocale::ShortFormat), l.shortDateFormat);
  const QString time = qt.timeFormat(QLocale::ShortFormat);
  l.clock24 = !time.contains(QLatin1Char('a'), Qt::CaseInsensitive);
  if (!l.clock24) {
    l.amText = qt.amText().toStdString();
    l.pmText = qt.pmText().toStdString();
  }
  return l;
}

}  // namespace vistrel::host
