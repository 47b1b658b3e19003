// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "geo/ranges.h"
#include "geo/raster.h"
#include "geo/tally.h"
#include "host/locale.h"
#include "host/status.h"
#include "host/table.h"

namespace vistrel::geo {

// One analysis of one database: the tally's values (in list order) and
// others, and the count once there is one (per value, the total, complete or
// aborted). The result window owns one and its grid shows it; the command
// line prints one. Plain data: copying is cheap enough for a result.
class AnalysisReport {
 public:
  AnalysisReport(Analysis kind, std::string database) : kind_(kind), database_(std::move(database)) {}

  const AnalysisInfo& analysis() const { return analysisInfo(kind_); }
  const std::string& database() const { return database_; }

  // The tally's lists; drops any count.
  void setTally(TallyResult tally);
  const std::vector<std::string>& values() const { return tally_.values; }
  const std::vector<std::string>& others() const { return tally_.others; }
  std::int64_t walked() const { return tally_.visited; }

  // Counts the contacts of `contacts` as they stand under the values. On a
  // failure the report holds no count.
  host::Status count(host::Table& contacts, const CountProgress& progress = nullptr, std::int64_t stride = 4096);
  // A count made elsewhere (the one walk); one count per value.
  void setCount(CountResult count);
  void clearCount();
  bool counted() const { return counted_; }
  // One per value, all 0 before a count.
  const std::vector<std::int64_t>& counts() const { return count_.counts; }
  std::int64_t total() const { return count_.total; }
  bool complete() const { return count_.complete; }
  // Contacts the count walked.
  std::int64_t countWalked() const { return count_.visited; }
  // The user stopped the count: what it has is not the whole.
  void markIncomplete() { count_.complete = false; }
  // "123 total records", with " (INCOMPLETE)" after an aborted count, or
  // "Total Records (Not Counted)".
  std::string totalText() const;

  // The share of row `row`'s count in the total: " (12.5%)".
  std::string share(std::size_t row, const host::Locale& locale) const;
  // The share text that follows a state's name in the hover label, or empty
  // before a count or when the state has no row.
  std::string GetPercent(std::string_view stateName, const host::Locale& locale) const;

  // What Plot draws on the maps (either may be empty to skip it): states or
  // zip dots by share after a count, or a dot per contact of the database
  // (which sets the database's range on `contacts` and walks them).
  host::Status plot(host::Table& contacts, Raster& smallMap, Raster& bigMap, const RangeTable& ranges) const;

 private:
  Analysis kind_;
  std::string database_;
  TallyResult tally_;
  CountResult count_;
  bool counted_ = false;
};

// The tally of `database` on `contacts` (opened on the "LastFirst" index),
// and its count in the same walk when `withCount`.
host::StatusOr<AnalysisReport> analyseDatabase(host::Table& contacts, std::string_view database, Analysis kind,
                                               bool withCount);

}  // namespace vistrel::geo
