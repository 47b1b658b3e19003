// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/value_list.h"

#include <algorithm>
#include <cstdint>

#include "host/text.h"

namespace vistrel::geo {

bool ValueList::add(std::string_view value) {
  const std::size_t before = values_.size();
  return place(value) == before;
}

std::size_t ValueList::place(std::string_view value) {
  if (const int n = fiveDigitNumber(value); n >= 0) {
    if (digits_.empty()) digits_.resize(kFiveDigitNumbers);
    std::uint32_t& slot = digits_[static_cast<std::size_t>(n)];
    if (slot != 0) return slot - 1;
    values_.emplace_back(value);
    slot = static_cast<std::uint32_t>(values_.size());
    return values_.size() - 1;
  }
  const std::uint32_t h = FoldedTextTable::hash(value);
  const auto textAt = [this](std::uint32_t p) -> std::string_view { return values_[p]; };
  if (const std::uint32_t p = table_.find(value, h, textAt); p != FoldedTextTable::kNone) return p;
  values_.emplace_back(value);
  try {
    table_.insert(h, static_cast<std::uint32_t>(values_.size() - 1));
  } catch (...) {
    values_.pop_back();  // keep the list and its table in step
    throw;
  }
  return values_.size() - 1;
}

bool ValueList::contains(std::string_view value) const {
  if (const int n = fiveDigitNumber(value); n >= 0) return !digits_.empty() && digits_[static_cast<std::size_t>(n)] != 0;
  const auto textAt = [this](std::uint32_t p) -> std::string_view { return values_[p]; };
  return table_.find(value, FoldedTextTable::hash(value), textAt) != FoldedTextTable::kNone;
}

std::vector<std::string> ValueList::sorted() const {
  // Each value is folded once, not at every comparison. No two values are
  // equal folded, so the folded texts alone give the order, byte by byte.
  std::vector<std::pair<std::string, std::uint32_t>> folded;
  folded.reserve(values_.size());
  for (std::size_t i = 0; i < values_.size(); ++i) {
    folded.emplace_back(host::upperAscii(values_[i]), static_cast<std::uint32_t>(i));
  }
  std::sort(folded.begin(), folded.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::string> out;
  out.reserve(values_.size());
  for (const auto& f : folded) out.push_back(values_[f.second]);
  return out;
}

void ValueList::clear() {
  values_.clear();
  table_.clear();
  digits_.clear();
}

}  // namespace vistrel::geo
