// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/status.h"

namespace vistrel::geo {

struct ZipRecord {
  std::string zip;  // five digits
  std::string city;
  std::string state;  // two-letter code
  double latitude = 0;   // degrees, north positive
  double longitude = 0;  // degrees, east positive (US longitudes are negative)
};

// Every US zip code with its city, state and position, sorted by zip code.
// Built from the table in assets/zipcodes.csv; looked up by bisection.
class ZipTable {
 public:
  // The table of the program's data files, read once on first use.
  static const ZipTable& builtIn();
  // Reads "zip,city,state,latitude,longitude" lines after a header line.
  static host::StatusOr<ZipTable> parse(std::string_view csv);

  // The record of a five-digit zip code, or nullptr when the table has none.
  const ZipRecord* find(std::string_view zip) const;
  const std::vector<ZipRecord>& records() const { return records_; }

 private:
  std::vector<ZipRecord> records_;
};

}  // namespace vistrel::geo
