// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "geo/rgb.h"
#include "host/status.h"

namespace vistrel::geo {

// A picture held as plain RGB pixels, row by row from the top left corner.
// The maps are painted in it without any windowing library; the windows turn
// it into their own image type. A default Raster is empty (0 x 0).
class Raster {
 public:
  Raster() = default;
  // REQUIRES: width >= 0, height >= 0.
  Raster(int width, int height, Rgb fill = kWhite);

  // Reads an uncompressed Windows bitmap of 1, 4, 8, 24 or 32 bits per pixel,
  // top-down or bottom-up. A truncated or malformed file gives Corrupt, a
  // compressed or otherwise unsupported one InvalidArgument.
  static host::StatusOr<Raster> fromBmp(std::string_view bytes);

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return pixels_.empty(); }
  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  // REQUIRES: contains(x, y).
  Rgb pixel(int x, int y) const { return pixels_[index(x, y)]; }
  void setPixel(int x, int y, Rgb colour) { pixels_[index(x, y)] = colour; }

  const std::vector<Rgb>& pixels() const { return pixels_; }

  // The bytes of a 24-bit bottom-up Windows bitmap file (painted maps can
  // hold more than 16 colours). REQUIRES: !empty().
  std::string toBmp() const;
  // The bytes of a PNG file, RGB with 8 bits per channel, its data in stored
  // deflate blocks. REQUIRES: !empty().
  std::string toPng() const;

  friend bool operator==(const Raster&, const Raster&) = default;

 private:
  std::size_t index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }

  int width_ = 0;
  int height_ = 0;
  std::vector<Rgb> pixels_;
};

}  // namespace vistrel::geo
