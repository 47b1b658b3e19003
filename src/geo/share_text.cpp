// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/share_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vistrel::geo {
namespace {

constexpr int kSignificantDigits = 4;

void dropTrailingZeros(std::string& digits) {
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
}

}  // namespace

std::string formatFourDigits(double value, const host::Locale& locale) {
  if (!std::isfinite(value)) return "0";
  // "%.3e" rounds to four significant digits and tells where the point goes,
  // carrying 99.995 into 1.000e+02 the way a hand rounding would.
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*e", kSignificantDigits - 1, std::fabs(value));
  std::string digits{buf[0]};
  digits.append(buf + 2, kSignificantDigits - 1);  // skip the "." after the first digit
  if (digits == "0000") return "0";
  const int exponent = std::atoi(buf + 2 + kSignificantDigits);  // after the 'e'
  const std::string sign = value < 0 ? "-" : "";

  if (exponent >= kSignificantDigits - 1) {
    return sign + digits + std::string(exponent - (kSignificantDigits - 1), '0');
  }
  std::string whole, fraction;
  if (exponent >= 0) {
    whole = digits.substr(0, exponent + 1);
    fraction = digits.substr(exponent + 1);
  } else {
    whole = "0";
    fraction = std::string(-exponent - 1, '0') + digits;
  }
  dropTrailingZeros(fraction);
  if (fraction.empty()) return sign + whole;
  return sign + whole + locale.decimalSeparator + fraction;
}

std::string shareText(std::int64_t count, std::int64_t total, const host::Locale& locale) {
  if (total <= 0) return std::string();
  const double share = static_cast<double>(count) * 100.0 / static_cast<double>(total);
  return " (" + formatFourDigits(share, locale) + "%)";
}

}  // namespace vistrel::geo
