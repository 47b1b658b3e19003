// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/tally.h"

#include <array>

#include "geo/address.h"
#include "geo/key_index.h"
#include "geo/value_list.h"
#include "host/text.h"

namespace vistrel::geo {
namespace {

constexpr std::array<AnalysisInfo, 4> kAnalyses = {{
    {Analysis::kZipCode, "zip", "&Zip Code Analysis", "American Zip Code Analysis", "Zip Code", 1000},
    {Analysis::kCity, "city", "&City Analysis", "American City Analysis", "City", 2000},
    {Analysis::kState, "state", "S&tate Analysis", "United States Analysis", "State", 4000},
    {Analysis::kCountry, "country", "C&ountry Analysis", "Country Analysis", "Country", 3000},
}};

// The address fields an analysis reads, in the order the passes take them,
// after DB when `withDb`.
host::StatusOr<std::vector<host::Field*>> fieldsOf(host::Table& t, Analysis kind, bool withDb) {
  std::vector<const char*> names;
  if (withDb) names.push_back("DB");
  switch (kind) {
    case Analysis::kZipCode: names.insert(names.end(), {"Zip", "Country"}); break;
    case Analysis::kCity: names.insert(names.end(), {"City", "State"}); break;
    case Analysis::kState: names.push_back("State"); break;
    case Analysis::kCountry: names.push_back("Country"); break;
  }
  std::vector<host::Field*> fields;
  for (const char* name : names) {
    host::Field* f = t.fieldByName(name);
    if (f == nullptr) return host::Status::Corrupt(t.tableName() + ": the contact table lacks the field " + name);
    fields.push_back(f);
  }
  return fields;
}

}  // namespace

const AnalysisInfo& analysisInfo(Analysis kind) { return kAnalyses[static_cast<std::size_t>(kind)]; }

const AnalysisInfo* findAnalysis(std::string_view text) {
  for (const AnalysisInfo& a : kAnalyses) {
    if (host::equalsIgnoreCase(text, a.name) || host::equalsIgnoreCase(text, a.heading)) return &a;
  }
  return nullptr;
}

host::StatusOr<TallyResult> runTally(host::Table& contacts, std::string_view database, Analysis kind) {
  auto fields = fieldsOf(contacts, kind, true);
  if (!fields.ok()) return fields.status();
  VISTREL_RETURN_IF_ERROR(contacts.setRange({std::string(database)}, {std::string(database)}));
  ValueList values;
  ValueList others;
  std::string key;
  std::int64_t visited = 0;
  contacts.disableControls();
  const host::Status walk = contacts.visitTexts(*fields, [&](const std::vector<std::string_view>& t) {
    ++visited;
    if (!host::equalsIgnoreCase(t[0], database)) return true;
    switch (kind) {
      case Analysis::kZipCode:
        key.assign(t[1]);
        if (NormalizeUsZip(key, t[2])) {
          values.add(key);
        } else {
          others.add(BlankFieldText(key));
        }
        break;
      case Analysis::kCity:
        if (t[1].empty() || t[2].empty()) break;
        key.assign(t[1]);
        key += ", ";
        key += StateAbbreviation(t[2]);
        values.add(key);
        break;
      case Analysis::kState:
        key = StateAbbreviation(t[1]);
        if (!key.empty()) values.add(key);
        break;
      case Analysis::kCountry:
        if (!t[1].empty()) values.add(t[1]);
        break;
    }
    return true;
  });
  contacts.enableControls();
  if (!walk.ok()) return walk;
  return TallyResult{values.sorted(), others.sorted(), visited};
}

std::string countKeyOfValue(Analysis kind, std::string_view value) {
  std::string key(value);
  switch (kind) {
    case Analysis::kZipCode: NormalizeUsZip(key, "U.S"); break;
    case Analysis::kState: key = StateAbbreviation(value); break;
    default: break;
  }
  return key;
}

host::Status buildKeyIndex(Analysis kind, const std::vector<std::string>& values, KeyIndex& index) {
  for (const std::string& value : values) {
    VISTREL_RETURN_IF_ERROR(index.add(countKeyOfValue(kind, value)));
  }
  return host::Status::OK();
}

host::StatusOr<CountResult> runCount(host::Table& contacts, Analysis kind, const std::vector<std::string>& keys,
                                     const CountProgress& progress, std::int64_t stride) {
  KeyIndex index;
  // A key that cannot be added leaves its row and those after it at 0.
  (void)buildKeyIndex(kind, keys, index);
  auto result = runCount(contacts, kind, index, progress, stride);
  if (result.ok()) result->counts.resize(keys.size(), 0);
  return result;
}

host::StatusOr<CountResult> runCount(host::Table& contacts, Analysis kind, const KeyIndex& index,
                                     const CountProgress& progress, std::int64_t stride) {
  auto fields = fieldsOf(contacts, kind, false);
  if (!fields.ok()) return fields.status();
  CountResult result;
  result.counts.assign(index.size(), 0);
  std::string key;
  if (stride < 1) stride = 1;
  contacts.disableControls();
  const host::Status walk = contacts.visitTexts(*fields, [&](const std::vector<std::string_view>& t) {
    switch (kind) {
      case Analysis::kState: key = StateAbbreviation(t[0]); break;
      case Analysis::kZipCode:
        key.assign(t[0]);
        NormalizeUsZip(key, t[1]);
        break;
      case Analysis::kCity:
        key.assign(t[0]);
        key += ", ";
        key += StateAbbreviation(t[1]);
        break;
      case Analysis::kCountry: key.assign(t[0]); break;
    }
    if (const auto row = index.find(key)) {
      ++result.counts[*row];
      ++result.total;
    }
    ++result.visited;
    if (progress && result.visited % stride == 0 && progress(result.visited)) {
      result.complete = false;
      return false;
    }
    return true;
  });
  contacts.enableControls();
  if (!walk.ok()) return walk;
  return result;
}

}  // namespace vistrel::geo
