// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/key_index.h"

#include <new>

namespace vistrel::geo {

host::Status KeyIndex::add(std::string key) {
  if (keys_.size() >= FoldedTextTable::kMaxPositions) {
    return host::Status::InvalidArgument("The key list is full");
  }
  const auto position = static_cast<std::uint32_t>(keys_.size());
  if (const int n = fiveDigitNumber(key); n >= 0) {
    try {
      if (digits_.empty()) digits_.assign(kFiveDigitNumbers, FoldedTextTable::kNone);
      keys_.push_back(std::move(key));
    } catch (const std::bad_alloc&) {
      return host::Status::IoError("Out of memory");
    }
    auto& slot = digits_[static_cast<std::size_t>(n)];
    if (slot == FoldedTextTable::kNone) slot = position;
    return host::Status::OK();
  }
  const std::uint32_t h = FoldedTextTable::hash(key);
  const auto textAt = [this](std::uint32_t p) -> std::string_view { return keys_[p]; };
  const bool first = table_.find(key, h, textAt) == FoldedTextTable::kNone;
  try {
    keys_.push_back(std::move(key));
    if (first) table_.insert(h, position);
  } catch (const std::bad_alloc&) {
    if (keys_.size() > position) keys_.pop_back();
    return host::Status::IoError("Out of memory");
  }
  return host::Status::OK();
}

std::optional<std::size_t> KeyIndex::find(std::string_view key) const {
  if (const int n = fiveDigitNumber(key); n >= 0) {
    if (digits_.empty() || digits_[static_cast<std::size_t>(n)] == FoldedTextTable::kNone) return std::nullopt;
    return digits_[static_cast<std::size_t>(n)];
  }
  const auto textAt = [this](std::uint32_t p) -> std::string_view { return keys_[p]; };
  const std::uint32_t p = table_.find(key, FoldedTextTable::hash(key), textAt);
  if (p == FoldedTextTable::kNone) return std::nullopt;
  return p;
}

void KeyIndex::clear() {
  keys_.clear();
  table_.clear();
  digits_.clear();
}

}  // namespace vistrel::geo
