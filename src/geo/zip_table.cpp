// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/zip_table.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>

#include "host/assets.h"

namespace vistrel::geo {
namespace {

// Splits one CSV line into fields; a field may be double-quoted with "" inside.
std::vector<std::string> splitCsvLine(std::string_view line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        fields.back() += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        fields.back() += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

bool parseDouble(const std::string& s, double* out) {
  const auto res = std::from_chars(s.data(), s.data() + s.size(), *out);
  return res.ec == std::errc() && res.ptr == s.data() + s.size();
}

}  // namespace

const ZipTable& ZipTable::builtIn() {
  static const ZipTable table = [] {
    const auto bytes = host::embeddedAsset("zipcodes.csv");
    if (!bytes) return ZipTable();
    auto parsed = parse(*bytes);
    if (!parsed.ok()) {
      std::fprintf(stderr, "zip table: %s\n", parsed.status().ToString().c_str());
      return ZipTable();
    }
    return std::move(parsed).value();
  }();
  return table;
}

host::StatusOr<ZipTable> ZipTable::parse(std::string_view csv) {
  ZipTable table;
  std::size_t lineNo = 0;
  while (!csv.empty()) {
    const std::size_t eol = csv.find('\n');
    std::string_view line = csv.substr(0, eol);
    csv = eol == std::string_view::npos ? std::string_view() : csv.substr(eol + 1);
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (lineNo == 1 || line.empty()) continue;
    std::vector<std::string> f = splitCsvLine(line);
    ZipRecord r;
    if (f.size() != 5 || f[0].size() != 5 || !parseDouble(f[3], &r.latitude) ||
        !parseDouble(f[4], &r.longitude)) {
      return host::Status::Corrupt("zip table line " + std::to_string(lineNo) + " is malformed");
    }
    r.zip = std::move(f[0]);
    r.city = std::move(f[1]);
    r.state = std::move(f[2]);
    table.records_.push_back(std::move(r));
  }
  const auto byZip = [](const ZipRecord& a, const ZipRecord& b) { return a.zip < b.zip; };
  if (!std::is_sorted(table.records_.begin(), table.records_.end(), byZip)) {
    std::sort(table.records_.begin(), table.records_.end(), byZip);
  }
  return table;
}

const ZipRecord* ZipTable::find(std::string_view zip) const {
  const auto it = std::lower_bound(records_.begin(), records_.end(), zip,
                                   [](const ZipRecord& r, std::string_view z) { return r.zip < z; });
  if (it == records_.end() || it->zip != zip) return nullptr;
  return &*it;
}

}  // namespace vistrel::geo
