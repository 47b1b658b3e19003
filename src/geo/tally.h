// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
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

// What Plot draws for an analysis.
enum class MapKind {
  kStates,       // the small US map, states filled by their share
  kZipDots,      // a dot per listed zip code in its share's colour
  kContactDots,  // a red dot per contact with a US zip code (walks the contacts)
  kWorld,        // the world map, nothing plotted
};

// What a contact adds to a tally.
enum class TallyEntry { kNone, kValue, kOther };

// One analysis: everything that differs from one to the next. Adding an
// analysis is adding a row to the table in tally.cpp.
struct AnalysisInfo {
  Analysis kind;
  std::string_view name;          // "zip", "city", "state", "country"
  std::string_view buttonName;    // of the main window's button
  std::string_view buttonCaption;
  std::string_view title;         // of the result window
  std::string_view heading;       // of the value column
  int helpContext;
  std::array<std::string_view, 2> fields;  // the contact fields read; the second may be empty
  // The tally's key of a contact from the texts of `fields`: a value to
  // list, a value for the others list, or nothing.
  TallyEntry (*tallyKey)(const std::string_view* texts, std::string& key);
  // The key a contact is counted under. Where tallyKey lists a value, the
  // two keys are the same.
  void (*countKey)(const std::string_view* texts, std::string& key);
  // The key a listed value is counted under.
  std::string (*valueKey)(std::string_view value);
  MapKind map;
  bool bigMap;      // the big map can be shown, saved and plotted
  bool others;      // the tally lists values that are no US zip code apart
  bool hoverShare;  // the hover label shows the state's share after a Count

  std::size_t fieldCount() const { return fields[1].empty() ? 1 : 2; }
  bool hasLegend() const { return map == MapKind::kStates || map == MapKind::kZipDots; }
};

const AnalysisInfo& analysisInfo(Analysis kind);
// The table of analyses, one row each, in the order of the enum.
const std::array<AnalysisInfo, 4>& allAnalyses();
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

struct TallyAndCount {
  TallyResult tally;
  CountResult count;  // complete; one count per listed value
};

// The tally and its count in one walk of the contacts, giving what runTally
// and then runCount on its values give: each contact walked (range and
// record filter apply) counts under the first listed value whose count key
// equals its own ignoring case.
host::StatusOr<TallyAndCount> runTallyAndCount(host::Table& contacts, std::string_view database, Analysis kind);

// Called every `stride` contacts with the number visited so far; returning
// true stops the count (the counts so far are kept).
using CountProgress = std::function<bool(std::int64_t visited)>;

// Adds the count key of each listed value (in row order) to `index`. Fails
// with "Unable to add to list. Make smaller filter." at the first key that
// cannot be added (memory runs out); the keys added so far stay.
host::Status buildKeyIndex(Analysis kind, const std::vector<std::string>& values, KeyIndex& index);

// Walks the contacts of `contacts` as they stand (range and record filter
// apply) and counts each under the first key equal to its own ignoring case.
// `keys` are the listed values in row order; a key list that cannot be built
// fails before the walk.
host::StatusOr<CountResult> runCount(host::Table& contacts, Analysis kind, const std::vector<std::string>& keys,
                                     const CountProgress& progress = nullptr, std::int64_t stride = 4096);
// The same walk over a key index built beforehand; there is one count per
// key of the index.
host::StatusOr<CountResult> runCount(host::Table& contacts, Analysis kind, const KeyIndex& index,
                                     const CountProgress& progress = nullptr, std::int64_t stride = 4096);

}  // namespace vistrel::geo
