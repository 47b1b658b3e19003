// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "geo/ranges.h"
#include "geo/raster.h"
#include "geo/rgb.h"
#include "host/status.h"
#include "host/table.h"

// What Plot draws for each analysis, shared by the result window and the
// command line: states filled by their share, zip dots, a dot per contact.
namespace vistrel::geo {

// The whole-number share of `count` in `total` (0 when total is 0).
int sharePercent(std::int64_t count, std::int64_t total);

// Red for exactly one contact, otherwise the colour of the share's range.
Rgb shareColour(std::int64_t count, std::int64_t total, const RangeTable& ranges);

// Fills each listed state of the small map with its colour. States that are
// not on the map, and codes in other letter case, are left alone. Draws
// nothing when `total` is 0.
void plotStates(Raster& smallMap, const std::vector<std::string>& values, const std::vector<std::int64_t>& counts,
                std::int64_t total, const RangeTable& ranges);

// Draws the dot of each listed zip code in its colour on both maps (either
// may be empty to skip it). Draws nothing when `total` is 0.
void plotZipCodes(Raster& smallMap, Raster& bigMap, const std::vector<std::string>& values,
                  const std::vector<std::int64_t>& counts, std::int64_t total, const RangeTable& ranges);

// Walks the contacts of `contacts` (the range and filter apply) and draws a
// red dot for every contact of `database` (DB ignoring case) with a US zip
// code. Returns the number of dots drawn.
host::StatusOr<std::int64_t> plotContactZips(host::Table& contacts, std::string_view database, Raster& smallMap,
                                             Raster& bigMap);

// The distinct US zip codes of the contacts of `database`, in order: the
// places of the dots above. Sets the database's range on `contacts` and walks
// them (the filter applies).
host::StatusOr<std::vector<std::string>> contactZipCodes(host::Table& contacts, std::string_view database);

}  // namespace vistrel::geo
