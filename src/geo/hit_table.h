// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "host/status.h"

namespace vistrel::geo {

// The pixels (x1..x2, y) of the small US map, both ends included, that belong
// to the state `code`.
struct HitRun {
  int y = 0;
  int x1 = 0;
  int x2 = 0;
  std::string code;
};

// Which state lies under a pixel of the small US map, answered from a fixed
// table of runs rather than from the picture, so painting does not change
// the answer. The runs sit in five blocks consulted in order; within a block
// the last run holding the point wins, and the first block that finds a
// state gives the answer. Immutable once built; safe to share.
class HitTable {
 public:
  static constexpr int kBlocks = 5;

  // The table built from assets/maps/hit_runs.csv, read once on first use
  // (empty when the asset is missing or malformed).
  static const HitTable& builtIn();
  // Reads "block,y,x1,x2,code" lines after a header line. Blocks are 1 to 5,
  // x1 <= x2, coordinates 0 to 4095 and codes of states drawn on the map;
  // anything else gives Corrupt.
  static host::StatusOr<HitTable> parse(std::string_view csv);

  // The code of the state at (x, y), or "XX" when there is none; uses an
  // index by row.
  std::string_view codeAt(int x, int y) const;
  // The same answer found by walking every run of every block in order.
  std::string_view codeAtByScan(int x, int y) const;

  const std::vector<HitRun>& block(int index) const { return blocks_[index]; }

 private:
  void buildIndex();

  std::array<std::vector<HitRun>, kBlocks> blocks_;
  // rows_[y][b] holds the positions in blocks_[b] of the runs on row y.
  std::vector<std::array<std::vector<int>, kBlocks>> rows_;
};

// The display name of the state under (x, y) of the small US map, or the
// empty text when there is none (borders, background, lake, off the map).
std::string StateAtPoint(int x, int y);

}  // namespace vistrel::geo
