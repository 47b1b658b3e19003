// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/tally.h"

#include <array>
#include <new>

#include "geo/address.h"
#include "geo/key_index.h"
#include "geo/raw_text_memo.h"
#include "geo/value_list.h"
#include "host/text.h"

namespace vistrel::geo {
namespace {

TallyEntry zipTallyKey(const std::string_view* t, std::string& key) {
  key.assign(t[0]);
  if (NormalizeUsZip(key, t[1])) return TallyEntry::kValue;
  key = BlankFieldText(key);
  return TallyEntry::kOther;
}

void zipCountKey(const std::string_view* t, std::string& key) {
  key.assign(t[0]);
  NormalizeUsZip(key, t[1]);
}

std::string zipValueKey(std::string_view value) {
  std::string key(value);
  NormalizeUsZip(key, "U.S");
  return key;
}

void cityCountKey(const std::string_view* t, std::string& key) {
  key.assign(t[0]);
  key += ", ";
  key += StateAbbreviation(t[1]);
}

TallyEntry cityTallyKey(const std::string_view* t, std::string& key) {
  if (t[0].empty() || t[1].empty()) return TallyEntry::kNone;
  cityCountKey(t, key);
  return TallyEntry::kValue;
}

void stateCountKey(const std::string_view* t, std::string& key) { key = StateAbbreviation(t[0]); }

TallyEntry stateTallyKey(const std::string_view* t, std::string& key) {
  stateCountKey(t, key);
  return key.empty() ? TallyEntry::kNone : TallyEntry::kValue;
}

std::string stateValueKey(std::string_view value) { return StateAbbreviation(value); }

void plainCountKey(const std::string_view* t, std::string& key) { key.assign(t[0]); }

TallyEntry countryTallyKey(const std::string_view* t, std::string& key) {
  if (t[0].empty()) return TallyEntry::kNone;
  key.assign(t[0]);
  return TallyEntry::kValue;
}

std::string plainValueKey(std::string_view value) { return std::string(value); }

constexpr std::array<AnalysisInfo, 4> kAnalyses = {{
    {Analysis::kZipCode, "zip", "BtnZip", "&Zip Code Analysis", "American Zip Code Analysis", "Zip Code", 1000,
     {"Zip", "Country"}, zipTallyKey, zipCountKey, zipValueKey, MapKind::kZipDots, true, true, false},
    {Analysis::kCity, "city", "BtnCity", "&City Analysis", "American City Analysis", "City", 2000, {"City", "State"},
     cityTallyKey, cityCountKey, plainValueKey, MapKind::kContactDots, true, false, false},
    {Analysis::kState, "state", "BtnState", "S&tate Analysis", "United States Analysis", "State", 4000, {"State", ""},
     stateTallyKey, stateCountKey, stateValueKey, MapKind::kStates, false, false, true},
    {Analysis::kCountry, "country", "BtnCountry", "C&ountry Analysis", "Country Analysis", "Country", 3000,
     {"Country", ""}, countryTallyKey, plainCountKey, plainValueKey, MapKind::kWorld, false, false, false},
}};

// The contact fields `info` reads, after DB when `withDb`.
host::StatusOr<std::vector<host::Field*>> fieldsOf(host::Table& t, const AnalysisInfo& info, bool withDb) {
  if (!t.isOpen()) return host::Status::InvalidArgument(t.tableName() + ": the table is not open");
  std::vector<std::string_view> names;
  if (withDb) names.push_back("DB");
  names.insert(names.end(), info.fields.begin(), info.fields.begin() + static_cast<std::ptrdiff_t>(info.fieldCount()));
  std::vector<host::Field*> fields;
  for (std::string_view name : names) {
    host::Field* f = t.fieldByName(name);
    if (f == nullptr) {
      return host::Status::Corrupt(t.tableName() + ": the contact table lacks the field " + std::string(name));
    }
    fields.push_back(f);
  }
  return fields;
}

host::Status outOfMemory() { return host::Status::IoError("Unable to add to list. Make smaller filter."); }

// The one walk of a tally, and of its count when `counting`: the count keys
// met (ignoring case), how many contacts each has, and which of them the
// tally lists.
class ContactWalk {
 public:
  ContactWalk(const AnalysisInfo& info, std::string_view database, bool counting)
      : info_(info), database_(database), counting_(counting) {}

  // Takes one contact: texts of DB and the analysis's fields.
  void take(const std::vector<std::string_view>& t) {
    ++visited_;
    const std::string_view* fields = t.data() + 1;
    const bool inDatabase = isDatabase(t[0]);
    if (!inDatabase && !counting_) return;
    // Texts met before were taken in full then; what is left is to count
    // the contact under the key they made.
    RawTextMemo& memo = memo_[inDatabase ? 1 : 0];
    if (!memo.useful()) {
      takeNew(fields, inDatabase);
      return;
    }
    if (const std::uint32_t p = memo.find(fields, fieldCount_); p != RawTextMemo::kNone) {
      if (counting_) ++perKey_[p];
      return;
    }
    const std::size_t p = takeNew(fields, inDatabase);
    if (p < RawTextMemo::kNone) memo.remember(fields, fieldCount_, static_cast<std::uint32_t>(p));
  }

  // The first contact with these texts: makes its keys and adds them to
  // the lists. Returns the position of its count key (0 when not counting).
  std::size_t takeNew(const std::string_view* fields, bool inDatabase) {
    TallyEntry entry = TallyEntry::kNone;
    if (inDatabase) entry = info_.tallyKey(fields, key_);
    if (entry == TallyEntry::kOther) others_.add(key_);
    if (!counting_) {
      if (entry == TallyEntry::kValue) values_.add(key_);
      return 0;
    }
    if (entry != TallyEntry::kValue) info_.countKey(fields, key_);
    const std::size_t p = keys_.place(key_);
    if (p == perKey_.size()) {
      perKey_.push_back(0);
      listed_.push_back(false);
    }
    ++perKey_[p];
    if (entry == TallyEntry::kValue && !listed_[p]) {
      listed_[p] = true;
      values_.add(key_);
    }
    return p;
  }

  bool isDatabase(std::string_view db) const {
    if (db.size() != database_.size()) return false;
    std::size_t i = 0;
    while (i < db.size() && db[i] == database_[i]) ++i;  // mostly the very same bytes
    return i == db.size() || host::equalsIgnoreCase(db, database_);
  }

  TallyResult tally() const { return TallyResult{values_.sorted(), others_.sorted(), visited_}; }

  // The counts of the listed `values` (in row order) from the keys met:
  // each key adds to the first row whose key equals it ignoring case.
  host::StatusOr<CountResult> count(const std::vector<std::string>& values) const {
    KeyIndex index;
    VISTREL_RETURN_IF_ERROR(buildKeyIndex(info_.kind, values, index));
    CountResult result;
    result.counts.assign(values.size(), 0);
    result.visited = visited_;
    for (std::size_t p = 0; p < perKey_.size(); ++p) {
      if (const auto row = index.find(keys_.at(p))) {
        result.counts[*row] += perKey_[p];
        result.total += perKey_[p];
      }
    }
    return result;
  }

 private:
  const AnalysisInfo& info_;
  std::string_view database_;
  bool counting_;
  std::size_t fieldCount_ = info_.fieldCount();
  RawTextMemo memo_[2];  // texts met outside the database, and in it
  std::string key_;
  ValueList values_;
  ValueList others_;
  ValueList keys_;                   // count keys met, counting
  std::vector<std::int64_t> perKey_;  // contacts per count key
  std::vector<bool> listed_;          // the tally lists the key
  std::int64_t visited_ = 0;
};

// Sets the range of `database` on `contacts` and walks them once into `walk`.
host::Status walkDatabase(host::Table& contacts, std::string_view database, const AnalysisInfo& info,
                          ContactWalk& walk) {
  auto fields = fieldsOf(contacts, info, true);
  if (!fields.ok()) return fields.status();
  VISTREL_RETURN_IF_ERROR(contacts.setRange({std::string(database)}, {std::string(database)}));
  bool exhausted = false;
  contacts.disableControls();
  const host::Status s = contacts.visitTexts(*fields, [&](const std::vector<std::string_view>& t) {
    try {
      walk.take(t);
      return true;
    } catch (const std::bad_alloc&) {
      exhausted = true;
      return false;
    }
  });
  contacts.enableControls();
  if (exhausted) return outOfMemory();
  return s;
}

}  // namespace

const AnalysisInfo& analysisInfo(Analysis kind) { return kAnalyses[static_cast<std::size_t>(kind)]; }

const std::array<AnalysisInfo, 4>& allAnalyses() { return kAnalyses; }

const AnalysisInfo* findAnalysis(std::string_view text) {
  for (const AnalysisInfo& a : kAnalyses) {
    if (host::equalsIgnoreCase(text, a.name) || host::equalsIgnoreCase(text, a.heading)) return &a;
  }
  return nullptr;
}

host::StatusOr<TallyResult> runTally(host::Table& contacts, std::string_view database, Analysis kind) {
  ContactWalk walk(analysisInfo(kind), database, false);
  VISTREL_RETURN_IF_ERROR(walkDatabase(contacts, database, analysisInfo(kind), walk));
  try {
    return walk.tally();
  } catch (const std::bad_alloc&) {
    return outOfMemory();
  }
}

host::StatusOr<TallyAndCount> runTallyAndCount(host::Table& contacts, std::string_view database, Analysis kind) {
  ContactWalk walk(analysisInfo(kind), database, true);
  VISTREL_RETURN_IF_ERROR(walkDatabase(contacts, database, analysisInfo(kind), walk));
  try {
    TallyAndCount out;
    out.tally = walk.tally();
    auto count = walk.count(out.tally.values);
    if (!count.ok()) return count.status();
    out.count = std::move(count).value();
    return out;
  } catch (const std::bad_alloc&) {
    return outOfMemory();
  }
}

std::string countKeyOfValue(Analysis kind, std::string_view value) { return analysisInfo(kind).valueKey(value); }

host::Status buildKeyIndex(Analysis kind, const std::vector<std::string>& values, KeyIndex& index) {
  for (const std::string& value : values) {
    if (host::Status s = index.add(countKeyOfValue(kind, value)); !s.ok()) return outOfMemory();
  }
  return host::Status::OK();
}

host::StatusOr<CountResult> runCount(host::Table& contacts, Analysis kind, const std::vector<std::string>& keys,
                                     const CountProgress& progress, std::int64_t stride) {
  KeyIndex index;
  VISTREL_RETURN_IF_ERROR(buildKeyIndex(kind, keys, index));
  return runCount(contacts, kind, index, progress, stride);
}

host::StatusOr<CountResult> runCount(host::Table& contacts, Analysis kind, const KeyIndex& index,
                                     const CountProgress& progress, std::int64_t stride) {
  const AnalysisInfo& info = analysisInfo(kind);
  auto fields = fieldsOf(contacts, info, false);
  if (!fields.ok()) return fields.status();
  CountResult result;
  result.counts.assign(index.size(), 0);
  std::string key;
  if (stride < 1) stride = 1;
  contacts.disableControls();
  const host::Status walk = contacts.visitTexts(*fields, [&](const std::vector<std::string_view>& t) {
    info.countKey(t.data(), key);
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
