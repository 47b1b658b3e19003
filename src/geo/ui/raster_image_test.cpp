// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/ui/raster_image.h"

#include <gtest/gtest.h>

#include "geo/map_pictures.h"

namespace vistrel::geo {
namespace {

TEST(RasterImageTest, MapSurvivesTheRoundTripThroughQImage) {
  Raster map = smallUsMap();
  map.setPixel(3, 4, Rgb{1, 2, 3});
  const QImage image = toQImage(map);
  ASSERT_EQ(image.width(), 464);
  ASSERT_EQ(image.height(), 231);
  EXPECT_EQ(image.pixel(3, 4), qRgb(1, 2, 3));
  EXPECT_EQ(image.pixel(68, 113), qRgb(255, 255, 0));
  EXPECT_EQ(fromQImage(image), map);
  EXPECT_EQ(fromQImage(image.convertToFormat(QImage::Format_RGB888)), map);
}

TEST(RasterImageTest, EmptyAndNullCorrespond) {
  EXPECT_TRUE(toQImage(Raster()).isNull());
  EXPECT_TRUE(fromQImage(QImage()).empty());
}

}  // namespace
}  // namespace vistrel::geo
