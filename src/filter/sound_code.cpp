// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "filter/sound_code.h"

#include <string>

#include "host/text.h"
#include "host/utility.h"

namespace vistrel::filter {
namespace {

// Values of the letters A to Z.
constexpr std::uint32_t kLetterValue[26] = {
    0, 5, 1, 2, 0, 3, 4, 0, 0, 4, 1, 6, 7,  // A..M
    8, 0, 9, 1, 10, 1, 2, 0, 3, 0, 1, 0, 1,  // N..Z
};

constexpr int kCountedLetters = 10;

}  // namespace

std::uint32_t SoundCode(std::string_view text) {
  std::string w;
  for (char c : text) {
    if (host::IsLetter(c)) w += host::upperAscii(c);
  }
  std::uint32_t code = 0;
  int counted = 0;
  std::size_t i = 0;
  while (i < w.size() && counted < kCountedLetters) {
    if (i + 1 < w.size() && w[i] == 'P' && w[i + 1] == 'F') ++i;
    if (i + 1 < w.size() && w[i] == w[i + 1]) ++i;
    const std::uint32_t v = kLetterValue[w[i] - 'A'];
    if (v >= 1) {
      code *= 11;
      ++counted;
    }
    code += v;
    ++i;
  }
  return code;
}

}  // namespace vistrel::filter
