// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>

#include "geo/raster.h"

namespace vistrel::geo {

// The raster as a Qt image (32-bit RGB) that windows can show, print and
// save. An empty raster gives a null image.
QImage toQImage(const Raster& raster);

// The pixels of a Qt image of any format, alpha dropped. A null image gives
// an empty raster.
Raster fromQImage(const QImage& image);

}  // namespace vistrel::geo
