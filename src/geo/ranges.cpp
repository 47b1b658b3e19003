// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/ranges.h"

#include "host/ini_file.h"

namespace vistrel::geo {
namespace {

constexpr std::array<Range, kRangeCount> kDefaultRanges = {{
    {1, 8}, {9, 16}, {17, 32}, {33, 40}, {41, 48}, {49, 56},
    {57, 64}, {65, 72}, {73, 80}, {81, 88}, {89, 96}, {97, 100},
}};

constexpr int kFirstPercent = 1;
constexpr int kLastPercent = 100;

}  // namespace

std::string rangeLowKey(int index) { return "R" + std::to_string(index + 1) + "Lo"; }
std::string rangeHighKey(int index) { return "R" + std::to_string(index + 1) + "Hi"; }

std::string RangeProblem::message() const {
  switch (kind) {
    case Kind::kGap:
      return std::to_string(percent) + " percentile not represented. Repair ranges.";
    case Kind::kOverlap:
      return std::to_string(percent) + " representated in multple ranges. Repair ranges.";
    case Kind::kNone:
      break;
  }
  return std::string();
}

RangeTable::RangeTable() : ranges_(kDefaultRanges) {}

const RangeTable& RangeTable::defaults() {
  static const RangeTable table;
  return table;
}

RangeTable RangeTable::load(const std::filesystem::path& iniFile) {
  const host::IniFile ini = host::IniFile::load(iniFile);
  RangeTable table;
  for (int i = 0; i < kRangeCount; ++i) {
    table.ranges_[i].low = ini.readInteger(kRangesSection, rangeLowKey(i), kDefaultRanges[i].low);
  }
  for (int i = 0; i < kRangeCount; ++i) {
    table.ranges_[i].high = ini.readInteger(kRangesSection, rangeHighKey(i), kDefaultRanges[i].high);
  }
  return table;
}

host::Status RangeTable::save(const std::filesystem::path& iniFile) const {
  auto loaded = host::IniFile::loadForUpdate(iniFile);
  if (!loaded.ok()) return loaded.status();
  host::IniFile& ini = *loaded;
  for (int i = 0; i < kRangeCount; ++i) {
    ini.setValue(kRangesSection, rangeLowKey(i), std::to_string(ranges_[i].low));
    ini.setValue(kRangesSection, rangeHighKey(i), std::to_string(ranges_[i].high));
  }
  return ini.save(iniFile);
}

Rgb RangeTable::RangeColor(int percent) const {
  Rgb colour = kRangeColors[0];
  for (int i = 0; i < kRangeCount; ++i) {
    if (ranges_[i].contains(percent)) colour = kRangeColors[i];
  }
  return colour;
}

int RangeTable::RangeCoverage(int percent) const {
  int n = 0;
  for (const Range& r : ranges_) n += r.contains(percent) ? 1 : 0;
  return n;
}

std::string RangeTable::label(int index) const {
  return std::to_string(ranges_[index].low) + " - " + std::to_string(ranges_[index].high) + " %";
}

RangeProblem RangeTable::check() const {
  for (int p = kFirstPercent; p <= kLastPercent; ++p) {
    const int n = RangeCoverage(p);
    if (n == 0) return {RangeProblem::Kind::kGap, p};
    if (n > 1) return {RangeProblem::Kind::kOverlap, p};
  }
  return {};
}

}  // namespace vistrel::geo
