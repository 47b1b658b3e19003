// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/map_pictures.h"

#include <cstdio>
#include <string>

#include "geo/address.h"
#include "host/assets.h"
#include "host/text.h"

namespace vistrel::geo {
namespace {

Raster readAsset(const std::string& name) {
  const auto bytes = host::asset(name);
  if (!bytes) {
    std::fprintf(stderr, "picture %s is missing\n", name.c_str());
    return Raster();
  }
  auto raster = Raster::fromBmp(*bytes);
  if (!raster.ok()) {
    std::fprintf(stderr, "picture %s: %s\n", name.c_str(), raster.status().ToString().c_str());
    return Raster();
  }
  return std::move(raster).value();
}

}  // namespace

Raster smallUsMap() {
  static const Raster picture = readAsset("maps/us_small.bmp");
  return picture;
}

Raster bigUsMap() {
  static const Raster picture = readAsset("maps/us_big.bmp");
  return picture;
}

Raster worldMap() {
  static const Raster picture = readAsset("maps/world.bmp");
  return picture;
}

Raster areaCodePicture(std::string_view code) {
  const std::string upper = host::upperAscii(code);
  if (findState(upper) == nullptr) return Raster();
  return readAsset("maps/area_codes/" + upper + ".bmp");
}

}  // namespace vistrel::geo
