// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

#include "geo/raster.h"

// The pictures of the program's data files, each returned as a fresh copy that
// the caller may paint. A picture that cannot be read comes back empty.
namespace vistrel::geo {

inline constexpr int kSmallMapWidth = 464;
inline constexpr int kSmallMapHeight = 231;

// The 48 contiguous states, 464 x 231 pixels: yellow, outlined in black, on
// silver, Lake Michigan hatched cyan.
Raster smallUsMap();
// The same map at twice the scale, 922 x 462 pixels.
Raster bigUsMap();
// The world, 329 x 219 pixels.
Raster worldMap();
// The area-code picture of a state code of the state table (letter case
// ignored), 105 x 105 pixels; blank for DC, PR and VI, empty for a code that
// is not in the table.
Raster areaCodePicture(std::string_view code);

}  // namespace vistrel::geo
