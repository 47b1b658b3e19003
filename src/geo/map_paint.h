// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

#include "geo/raster.h"
#include "geo/rgb.h"
#include "geo/zip_locator.h"

// Colouring the US map pictures in place: a state by a flood fill from one
// known pixel inside it, a zip code by a small dot at its place.
namespace vistrel::geo {

// The fill start point of a state drawn on the small map: one pixel inside
// its largest piece. Any other code (AK, HI, DC, PR, VI, lower case, any
// other text) gives (-1, -1). Codes are compared exactly.
MapPoint StateSeedPoint(std::string_view code);

// Colours one state of the small map: replaces the colour found at its start
// point, in every pixel four-way connected to it, by `colour`, and does the
// same in the state's other pieces that still have that colour. The black
// outline stops the fill, and painting again recolours the whole state.
// Nothing happens for a code without a start point, a start point outside
// the picture, a black start pixel or a black colour (black is the outline;
// a fill in it or from it would run along the borders into other states).
// On a picture of another size only the piece with the start point is
// coloured.
void PaintState(Raster& picture, std::string_view code, Rgb colour);

// Draws the dot of a zip code on the small map, or the big map when `big` is
// true. Nothing is drawn for a zip code the locator does not know.
void PlotZip(Raster& picture, Rgb colour, std::string_view zip, bool big,
             const ZipLocator& locator = ZipLocator::builtIn());

// A dot about four pixels across centred on `point`, the mark of a wide pen
// set down once. Nothing is drawn when the point lies outside the picture;
// the parts of a dot beyond the edge are left out.
void drawDot(Raster& picture, Rgb colour, MapPoint point);

}  // namespace vistrel::geo
