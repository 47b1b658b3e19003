// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace vistrel::geo {

// A colour of the maps and the legend.
struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kYellow{255, 255, 0};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kSilver{192, 192, 192};
inline constexpr Rgb kCyan{0, 255, 255};
inline constexpr Rgb kWhite{255, 255, 255};

}  // namespace vistrel::geo
