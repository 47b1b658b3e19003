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

// The contact fields an analysis reads, looked up once per pass.
struct ContactFields {
  host::Field* db = nullptr;
  host::Field* zip = nullptr;
  host::Field* country = nullptr;
  host::Field* city = nullptr;
  host::Field* state = nullptr;

  static host::StatusOr<ContactFields> of(host::Table& t, Analysis kind) {
    ContactFields f;
    f.db = t.fieldByName("DB");
    const auto need = [&](const char* name, host::Field** out) {
      *out = t.fieldByName(name);
      return *out != nullptr;
    };
    bool ok = f.db != nullptr;
    switch (kind) {
      case Analysis::kZipCode: ok = ok && need("Zip", &f.zip) && need("country", &f.country); break;
      case Analysis::kCity: ok = ok && need("City", &f.city) && need("State", &f.state); break;
      case Analysis::kState: ok = ok && need("State", &f.state); break;
      case Analysis::kCountry: ok = ok && need("Country", &f.country); break;
    }
    if (!ok) return host::Status::Corrupt(t.tableName() + ": the contact table lacks an address field");
    return f;
  }
};

}  // namespace

const AnalysisInfo& analysisInfo(Analysis kind) { return kAnalyses[static_cast<std::size_t>(kind)]; }

const AnalysisInfo* findAnalysis(std::string_view text) {
  for (const AnalysisInfo& a : kAnalyses) {
    if (host::equalsIgnoreCase(text, a.name) || host::equalsIgnoreCase(text, a.heading)) return &a;
  }
  return nullptr;
}

host::StatusOr<TallyResult> runTally(host::Table& contacts, std::string_view database, Analysis kind) {
  auto fields = ContactFields::of(contacts, kind);
  if (!fields.ok()) return fields.status();
  const ContactFields& f = *fields;
  VISTREL_RETURN_IF_ERROR(contacts.setRange({std::string(database)}, {std::string(database)}));
  ValueList values;
  ValueList others;
  std::string key;
  contacts.disableControls();
  std::int64_t visited = 0;
  host::Status walk;
  for (walk = contacts.first(); walk.ok() && !contacts.eof(); walk = contacts.next()) {
    ++visited;
    if (!host::equalsIgnoreCase(f.db->asTextView(), database)) continue;
    switch (kind) {
      case Analysis::kZipCode:
        key.assign(f.zip->asTextView());
        if (NormalizeUsZip(key, f.country->asTextView())) {
          values.add(key);
        } else {
          others.add(BlankFieldText(key));
        }
        break;
      case Analysis::kCity: {
        const std::string_view city = f.city->asTextView();
        const std::string_view state = f.state->asTextView();
        if (city.empty() || state.empty()) break;
        key.assign(city);
        key += ", ";
        key += StateAbbreviation(state);
        values.add(key);
        break;
      }
      case Analysis::kState: {
        const std::string s = StateAbbreviation(f.state->asTextView());
        if (!s.empty()) values.add(s);
        break;
      }
      case Analysis::kCountry: {
        const std::string_view c = f.country->asTextView();
        if (!c.empty()) values.add(c);
        break;
      }
    }
  }
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
  auto fields = ContactFields::of(contacts, kind);
  if (!fields.ok()) return fields.status();
  const ContactFields& f = *fields;
  CountResult result;
  result.counts.assign(index.size(), 0);
  std::string key;
  if (stride < 1) stride = 1;
  contacts.disableControls();
  host::Status walk;
  for (walk = contacts.first(); walk.ok() && !contacts.eof(); walk = contacts.next()) {
    switch (kind) {
      case Analysis::kState: key = StateAbbreviation(f.state->asTextView()); break;
      case Analysis::kZipCode:
        key.assign(f.zip->asTextView());
        NormalizeUsZip(key, f.country->asTextView());
        break;
      case Analysis::kCity:
        key.assign(f.city->asTextView());
        key += ", ";
        key += StateAbbreviation(f.state->asTextView());
        break;
      case Analysis::kCountry: key.assign(f.country->asTextView()); break;
    }
    if (const auto row = index.find(key)) {
      ++result.counts[*row];
      ++result.total;
    }
    ++result.visited;
    if (progress && result.visited % stride == 0 && progress(result.visited)) {
      result.complete = false;
      break;
    }
  }
  contacts.enableControls();
  if (!walk.ok()) return walk;
  return result;
}

}  // namespace vistrel::geo
