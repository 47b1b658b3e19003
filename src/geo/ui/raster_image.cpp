// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/ui/raster_image.h"

namespace vistrel::geo {

QImage toQImage(const Raster& raster) {
  if (raster.empty()) return QImage();
  QImage image(raster.width(), raster.height(), QImage::Format_RGB32);
  for (int y = 0; y < raster.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < raster.width(); ++x) {
      const Rgb c = raster.pixel(x, y);
      line[x] = qRgb(c.r, c.g, c.b);
    }
  }
  return image;
}

Raster fromQImage(const QImage& image) {
  if (image.isNull()) return Raster();
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  Raster raster(rgb.width(), rgb.height());
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int x = 0; x < rgb.width(); ++x) {
      raster.setPixel(x, y, Rgb{static_cast<std::uint8_t>(qRed(line[x])),
                                static_cast<std::uint8_t>(qGreen(line[x])),
                                static_cast<std::uint8_t>(qBlue(line[x]))});
    }
  }
  return raster;
}

}  // namespace vistrel::geo
