// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/table_sql.h"

namespace vistrel::host {
namespace {

std::string marks(std::size_t n) {
  std::string s;
  for (std::size_t i = 0; i < n; ++i) s += i ? ", ?" : "?";
  return s;
}

}  // namespace

std::string TableSql::part(int part) const {
  return part == kRowid ? "_rowid_" : quoteIdent(meta_.columns[static_cast<std::size_t>(part)].name);
}

std::string TableSql::partList(const std::vector<int>& parts) const {
  std::string out;
  for (int p : parts) out += (out.empty() ? "" : ", ") + part(p);
  return out;
}

std::string TableSql::compare(const std::vector<int>& parts, std::size_t n, const char* op) const {
  if (n == 1) return part(parts[0]) + " " + op + " ?";
  const std::vector<int> used(parts.begin(), parts.begin() + static_cast<std::ptrdiff_t>(n));
  return "(" + partList(used) + ") " + op + " (" + marks(n) + ")";
}

std::string TableSql::from() const {
  std::string s = " FROM " + quoteIdent(meta_.sqlName);
  if (!index_.sqlIndex.empty()) s += " INDEXED BY " + quoteIdent(index_.sqlIndex);
  return s;
}

std::string TableSql::order(Direction dir) const {
  std::string s = " ORDER BY ";
  for (std::size_t i = 0; i < index_.order.size(); ++i) {
    s += (i ? ", " : "") + part(index_.order[i]) + (dir == Direction::kBackward ? " DESC" : "");
  }
  return s;
}

std::string TableSql::where(const Restriction& r, const std::vector<std::string>& extra,
                            std::vector<Value>* params) const {
  std::vector<std::string> terms;
  if (r.low != nullptr && r.high != nullptr) {
    terms.push_back(compare(index_.fields, r.low->size(), ">="));
    params->insert(params->end(), r.low->begin(), r.low->end());
    terms.push_back(compare(index_.fields, r.high->size(), "<="));
    params->insert(params->end(), r.high->begin(), r.high->end());
  }
  if (r.conditions != nullptr) {
    for (const auto& [c, v] : *r.conditions) {
      terms.push_back(part(c) + " = ?");
      params->push_back(v);
    }
  }
  terms.insert(terms.end(), extra.begin(), extra.end());
  std::string s;
  for (const std::string& t : terms) s += (s.empty() ? " WHERE " : " AND ") + t;
  return s;
}

std::string TableSql::walk(const std::vector<int>& parts, const std::string& where, Direction dir) const {
  return "SELECT " + partList(parts) + from() + where + order(dir);
}

std::string TableSql::identityWhere() const {
  std::string s;
  for (int p : meta_.identity) s += (s.empty() ? " WHERE " : " AND ") + part(p) + " = ?";
  return s;
}

std::string TableSql::selectByIdentity(const std::vector<int>& parts) const {
  return "SELECT " + partList(parts) + " FROM " + quoteIdent(meta_.sqlName) + identityWhere();
}

std::string TableSql::update(const std::vector<int>& columns) const {
  std::string sql = "UPDATE " + quoteIdent(meta_.sqlName) + " SET ";
  for (std::size_t i = 0; i < columns.size(); ++i) sql += (i ? ", " : "") + part(columns[i]) + " = ?";
  return sql + identityWhere();
}

std::string TableSql::insertAll() const {
  std::vector<int> all(meta_.columns.size());
  for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int>(i);
  return "INSERT INTO " + quoteIdent(meta_.sqlName) + " (" + partList(all) + ") VALUES (" + marks(all.size()) + ")";
}

std::string TableSql::removeByIdentity() const { return "DELETE FROM " + quoteIdent(meta_.sqlName) + identityWhere(); }

}  // namespace vistrel::host
