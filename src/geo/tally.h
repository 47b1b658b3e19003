// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "geo/key_index.h"
#include "host/status.h"
#include "host/table.h"

// The four analyses: what each reads of a contact, the key it makes of it,
// the one pass that lists the distinct keys of a database (the tally) and the
// pass that counts the contacts per listed key (the count).
namespace vistrel::geo {

enum class Analysis { kZipCode, kCity, kState, kCountry };

struct AnalysisInfo {
  Analysis kind;
  std::string_view name;         // "zip", "city", "state", "country"
  std::string_view buttonCaption;
  std::string_view title;        // of the result window
  std::string_view heading;      // of the value column
  int helpContext;
};

const AnalysisInfo& analysisInfo(Analysis kind);
// The analysis whose name or column heading is `text` (ignoring case).
const AnalysisInfo* findAnalysis(std::string_view text);

inline constexpr std::string_view kNoRecordsMessage =
    "No records match current selection.\rChange Filter/Database or all fields are blank.";

struct TallyResult {
  std::vector<std::string> values;  // distinct keys in list order
  std::vector<std::string> others;  // zip values that are no US zip code
  std::int64_t visited = 0;         // contacts walked, of every database the range let through
};

// Sets a range on `contacts` (opened on the "LastFirst" index) from
// `database` to `database`, and walks its contacts once (the record filter
// applies), skipping those whose DB differs from `database` other than in
// letter case. The range stays on the table afterwards.
host::StatusOr<TallyResult> runTally(host::Table& contacts, std::string_view database, Analysis kind);

// The key a listed value is counted under.
std::string countKeyOfValue(Analysis kind, std::string_view value);

struct CountResult {
  std::vector<std::int64_t> counts;  // one per key, in key order
  std::int64_t total = 0;            // contacts that matched a key
  std::int64_t visited = 0;          // contacts walked
  bool complete = true;              // false when the walk was aborted
};

// Called every `stride` contacts with the number visited so far; returning
// true stops the count (the counts so far are kept).
using CountProgress = std::function<bool(std::int64_t visited)>;

// Adds the count key of each listed value (in row order) to `index`. Stops at
// the first key that cannot be added and returns why; the keys added so far
// stay, so the rows after it are never counted.
host::Status buildKeyIndex(Analysis kind, const std::vector<std::string>& values, KeyIndex& index);

// Walks the contacts of `contacts` as they stand (range and record filter
// apply) and counts each under the first key equal to its own ignoring case.
// `keys` are the listed values in row order.
host::StatusOr<CountResult> runCount(host::Table& contacts, Analysis kind, const std::vector<std::string>& keys,
                                     const CountProgress& progress = nullptr, std::int64_t stride = 4096);
// The same walk over a key index built beforehand; there is one count per
// key of the index.
host::StatusOr<CountResult> runCount(host::Table& contacts, Analysis kind, const KeyIndex& index,
                                     const CountProgress& progress = nullptr, std::int64_t stride = 4096);

}  // namespace vistrel::geo
