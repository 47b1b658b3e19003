// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
// The phonetic number of any text; letter case and non-letters never change it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "filter/sound_code.h"
#include "host/text.h"
#include "host/utility.h"

using namespace vistrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::uint32_t code = filter::SoundCode(text);
  std::string letters;
  for (char c : text) {
    if (host::IsLetter(c)) letters += static_cast<char>(c | 0x20);
  }
  if (filter::SoundCode(letters) != code) __builtin_trap();
  if (filter::SoundCode(host::upperAscii(text)) != code) __builtin_trap();
  return 0;
}
