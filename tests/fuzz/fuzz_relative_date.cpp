// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
// A date condition resolved against a base day taken from the first two
// bytes (days from 1 January 1990) under the locale chosen by the third; the
// rest is the text. Any date given back must exist. The scanners that read
// such texts run over it too.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "filter/relative_date.h"
#include "host/utility.h"

using namespace vistrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const int offset = data[0] | (data[1] << 8);
  host::Locale locale;
  if (data[2] & 1) {
    locale.decimalSeparator = ',';
    locale.thousandSeparator = '.';
    locale.shortDateFormat = "dd.MM.yy";
  }
  const std::string_view text(reinterpret_cast<const char*>(data + 3), size - 3);
  const host::DateTime base = *host::encodeDate(1990, 1, 1) + offset + 0.5;

  const auto date = filter::ResolveRelativeDate(text, base, locale);
  if (date.ok()) {
    const host::CivilDate d = host::decodeDate(*date);
    if (!host::isValidDate(d.year, d.month, d.day) || *date != host::dateOnly(*date)) __builtin_trap();
  }

  // The scanners as their callers loop over a text: each step moves on.
  const int length = static_cast<int>(text.size());
  int steps = 0;
  for (int position = 1; position < length; ++steps) {
    if (host::NextToken(text, position, data[2] & 2).empty()) break;
    if (steps > length) __builtin_trap();
  }
  steps = 0;
  for (int position = 1; position <= length; ++steps) {
    if (host::NextWord(text, position).empty()) break;
    if (steps > length || position > length + 1) __builtin_trap();
  }
  host::SafeStrToFloat(text, locale);
  host::SafeStrToInt(text);
  return 0;
}
