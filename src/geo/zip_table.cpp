// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/zip_table.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>

#include "host/assets.h"
#include "host/csv.h"

namespace vistrel::geo {
namespace {

bool parseDouble(const std::string& s, double* out) {
  const auto res = std::from_chars(s.data(), s.data() + s.size(), *out);
  return res.ec == std::errc() && res.ptr == s.data() + s.size();
}

}  // namespace

const ZipTable& ZipTable::builtIn() {
  static const ZipTable table = [] {
    const auto bytes = host::asset("zipcodes.csv");
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
  const host::Status read = host::forEachCsvRow(csv, [&](std::size_t line, const std::vector<std::string>& f) {
    ZipRecord r;
    if (f.size() != 5 || f[0].size() != 5 || !parseDouble(f[3], &r.latitude) || !parseDouble(f[4], &r.longitude)) {
      return host::Status::Corrupt("zip table line " + std::to_string(line) + " is malformed");
    }
    r.zip = f[0];
    r.city = f[1];
    r.state = f[2];
    table.records_.push_back(std::move(r));
    return host::Status::OK();
  });
  if (!read.ok()) return read;
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
