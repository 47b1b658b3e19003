// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/analysis_report.h"

#include "geo/address.h"
#include "geo/plot.h"
#include "geo/share_text.h"
#include "host/text.h"

namespace vistrel::geo {

void AnalysisReport::setTally(TallyResult tally) {
  tally_ = std::move(tally);
  clearCount();
}

host::Status AnalysisReport::count(host::Table& contacts, const CountProgress& progress, std::int64_t stride) {
  clearCount();
  auto result = runCount(contacts, kind_, tally_.values, progress, stride);
  if (!result.ok()) return result.status();
  setCount(std::move(result).value());
  return host::Status::OK();
}

void AnalysisReport::setCount(CountResult count) {
  count_ = std::move(count);
  count_.counts.resize(tally_.values.size(), 0);
  counted_ = true;
}

void AnalysisReport::clearCount() {
  count_ = CountResult();
  count_.counts.assign(tally_.values.size(), 0);
  counted_ = false;
}

std::string AnalysisReport::totalText() const {
  if (!counted_) return "Total Records (Not Counted)";
  return std::to_string(count_.total) + " total records" + (count_.complete ? "" : " (INCOMPLETE)");
}

std::string AnalysisReport::share(std::size_t row, const host::Locale& locale) const {
  return shareText(count_.counts[row], count_.total, locale);
}

std::string AnalysisReport::GetPercent(std::string_view stateName, const host::Locale& locale) const {
  if (!counted_) return std::string();
  const std::string code = StateAbbreviation(stateName);
  for (std::size_t row = 0; row < tally_.values.size(); ++row) {
    if (tally_.values[row] == code) return share(row, locale);
  }
  return std::string();
}

host::Status AnalysisReport::plot(host::Table& contacts, Raster& smallMap, Raster& bigMap,
                                  const RangeTable& ranges) const {
  switch (analysis().map) {
    case MapKind::kStates: plotStates(smallMap, values(), counts(), total(), ranges); break;
    case MapKind::kZipDots: plotZipCodes(smallMap, bigMap, values(), counts(), total(), ranges); break;
    case MapKind::kContactDots: {
      VISTREL_RETURN_IF_ERROR(contacts.setRange({database_}, {database_}));
      auto dots = plotContactZips(contacts, database_, smallMap, bigMap);
      return dots.status();
    }
    case MapKind::kWorld: break;
  }
  return host::Status::OK();
}

host::StatusOr<AnalysisReport> analyseDatabase(host::Table& contacts, std::string_view database, Analysis kind,
                                               bool withCount) {
  AnalysisReport report(kind, std::string(database));
  if (!withCount) {
    auto tally = runTally(contacts, database, kind);
    if (!tally.ok()) return tally.status();
    report.setTally(std::move(tally).value());
    return report;
  }
  auto both = runTallyAndCount(contacts, database, kind);
  if (!both.ok()) return both.status();
  report.setTally(std::move(both->tally));
  report.setCount(std::move(both->count));
  return report;
}

}  // namespace vistrel::geo
