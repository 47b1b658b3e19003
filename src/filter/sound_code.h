// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string_view>

namespace vistrel::filter {

// The phonetic number of a text, compared by "sounds like": the base-11
// reading of the letter values of the first ten letters that carry a value
// (B 5, C K Q S X Z 1, D T 2, F V 3, G J 4, L 6, M 7, N 8, P 9, R 10; vowels
// and H W Y are 0 but still separate equal consonants). Only the letters a-z
// and A-Z count, case never matters; a doubled letter counts once and the P of
// "PF" is silent. Arithmetic wraps modulo 2^32, so two long texts may share a
// number.
std::uint32_t SoundCode(std::string_view text);

}  // namespace vistrel::filter
