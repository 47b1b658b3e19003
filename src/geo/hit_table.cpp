// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/hit_table.h"

#include <charconv>
#include <cstdio>

#include "geo/address.h"
#include "host/assets.h"
#include "host/csv.h"

namespace vistrel::geo {
namespace {

// Splits a line at commas; no field of the table is quoted.
bool parseInt(std::string_view s, int* out) {
  const auto res = std::from_chars(s.data(), s.data() + s.size(), *out);
  return !s.empty() && res.ec == std::errc() && res.ptr == s.data() + s.size();
}

bool onMap(std::string_view code) {
  const StateInfo* s = findState(code);
  return s != nullptr && s->onMap;
}

// Runs beyond this row or column are refused; the map is far smaller.
constexpr int kMaxCoordinate = 4096;

// The code the runs of one block give for (x, y), the last containing run
// winning.
std::string_view lastContaining(const std::vector<HitRun>& runs, int x, int y) {
  std::string_view code = kNoState;
  for (const HitRun& r : runs) {
    if (r.y == y && r.x1 <= x && x <= r.x2) code = r.code;
  }
  return code;
}

}  // namespace

const HitTable& HitTable::builtIn() {
  static const HitTable table = [] {
    const auto bytes = host::asset("maps/hit_runs.csv");
    if (!bytes) return HitTable();
    auto parsed = parse(*bytes);
    if (!parsed.ok()) {
      std::fprintf(stderr, "hit-test table: %s\n", parsed.status().ToString().c_str());
      return HitTable();
    }
    return std::move(parsed).value();
  }();
  return table;
}

host::StatusOr<HitTable> HitTable::parse(std::string_view csv) {
  HitTable table;
  const host::Status read = host::forEachCsvRow(csv, [&](std::size_t line, const std::vector<std::string>& f) {
    int block = 0;
    HitRun run;
    if (f.size() != 5 || !parseInt(f[0], &block) || block < 1 || block > kBlocks || !parseInt(f[1], &run.y) ||
        !parseInt(f[2], &run.x1) || !parseInt(f[3], &run.x2) || run.y < 0 || run.y >= kMaxCoordinate ||
        run.x1 < 0 || run.x2 < run.x1 || run.x2 >= kMaxCoordinate || !onMap(f[4])) {
      return host::Status::Corrupt("hit-test table line " + std::to_string(line) + " is malformed");
    }
    run.code = f[4];
    table.blocks_[block - 1].push_back(std::move(run));
    return host::Status::OK();
  });
  if (!read.ok()) return read;
  table.buildIndex();
  return table;
}

void HitTable::buildIndex() {
  rows_.clear();
  for (int b = 0; b < kBlocks; ++b) {
    for (std::size_t i = 0; i < blocks_[b].size(); ++i) {
      const int y = blocks_[b][i].y;
      if (static_cast<std::size_t>(y) >= rows_.size()) rows_.resize(static_cast<std::size_t>(y) + 1);
      rows_[static_cast<std::size_t>(y)][b].push_back(static_cast<int>(i));
    }
  }
}

std::string_view HitTable::codeAt(int x, int y) const {
  if (y < 0 || static_cast<std::size_t>(y) >= rows_.size()) return kNoState;
  const auto& row = rows_[static_cast<std::size_t>(y)];
  for (int b = 0; b < kBlocks; ++b) {
    std::string_view code = kNoState;
    for (const int i : row[b]) {
      const HitRun& r = blocks_[b][static_cast<std::size_t>(i)];
      if (r.x1 <= x && x <= r.x2) code = r.code;
    }
    if (code != kNoState) return code;
  }
  return kNoState;
}

std::string_view HitTable::codeAtByScan(int x, int y) const {
  for (const auto& runs : blocks_) {
    const std::string_view code = lastContaining(runs, x, y);
    if (code != kNoState) return code;
  }
  return kNoState;
}

std::string StateAtPoint(int x, int y) {
  const std::string_view code = HitTable::builtIn().codeAt(x, y);
  if (code == kNoState) return std::string();
  return std::string(StateDisplayName(code));
}

}  // namespace vistrel::geo
