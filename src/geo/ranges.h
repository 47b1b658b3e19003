// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <filesystem>
#include <string>

#include "geo/rgb.h"
#include "host/status.h"

// The twelve count ranges that colour the map: each range is a span of whole
// percentages with a fixed colour; only the bounds can be changed by the user.
namespace vistrel::geo {

inline constexpr int kRangeCount = 12;

// Range n (1 to 12) has the colour kRangeColors[n - 1].
inline constexpr std::array<Rgb, kRangeCount> kRangeColors = {{
    {0, 255, 255},    // aqua
    {0, 0, 255},      // blue
    {128, 128, 128},  // gray
    {255, 0, 255},    // fuchsia
    {0, 128, 0},      // green
    {0, 255, 0},      // lime
    {128, 0, 0},      // maroon
    {0, 0, 128},      // navy
    {128, 128, 0},    // olive
    {128, 0, 128},    // purple
    {0, 128, 128},    // teal
    {255, 255, 255},  // white
}};

// The legend colours that are not ranges: a state without contacts keeps the
// map's own yellow, a state or zip with exactly one contact is red.
inline constexpr Rgb kNoContactColor = kYellow;
inline constexpr Rgb kOneContactColor = kRed;

// Both bounds are whole percentages and both are included.
struct Range {
  int low = 0;
  int high = 0;
  bool contains(int percent) const { return low <= percent && percent <= high; }
  friend bool operator==(const Range&, const Range&) = default;
};

// What the OK check of the ranges dialog found: the first percentage from 1 to
// 100 that no range holds, or that more than one range holds.
struct RangeProblem {
  enum class Kind { kNone, kGap, kOverlap };
  Kind kind = Kind::kNone;
  int percent = 0;

  bool ok() const { return kind == Kind::kNone; }
  // "17 percentile not represented. Repair ranges." or
  // "9 representated in multple ranges. Repair ranges."; empty when ok.
  std::string message() const;
};

// The range table: ranges 1 to 12 by index 0 to 11. The table is sound when
// every percentage from 1 to 100 lies in exactly one range; 0 lies in none.
// Unsound tables still work: a percentage in no range is aqua, and where
// ranges overlap the higher-numbered one wins.
class RangeTable {
 public:
  // The default table: 1-8, 9-16, 17-32, then spans of eight up to 89-96, and 97-100.
  RangeTable();
  static const RangeTable& defaults();

  // Reads section "Ranges" of the INI file, keys "R1Lo".."R12Lo" and then
  // "R1Hi".."R12Hi". A missing file, key or number gives that bound's default.
  static RangeTable load(const std::filesystem::path& iniFile);
  // Writes the 24 keys ("R1Lo", "R1Hi", "R2Lo", ...) and keeps every other
  // line of the file. Fails when the file cannot be written.
  host::Status save(const std::filesystem::path& iniFile) const;

  const Range& range(int index) const { return ranges_[index]; }
  void setRange(int index, Range range) { ranges_[index] = range; }

  // The colour of the last range that holds `percent`; aqua when none does.
  Rgb RangeColor(int percent) const;
  // How many ranges hold `percent`.
  int RangeCoverage(int percent) const;
  // The legend text of range `index`: low, " - ", high, " %" ("1 - 8 %").
  std::string label(int index) const;
  // The first percentage from 1 to 100 held by no range or by several.
  RangeProblem check() const;

  friend bool operator==(const RangeTable&, const RangeTable&) = default;

 private:
  std::array<Range, kRangeCount> ranges_;
};

// The program's INI section and key names ("R3Lo", "R12Hi"); `index` is 0 to 11.
inline constexpr const char* kRangesSection = "Ranges";
std::string rangeLowKey(int index);
std::string rangeHighKey(int index);

}  // namespace vistrel::geo
