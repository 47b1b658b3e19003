// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/folded_text_table.h"

#include <utility>

namespace vistrel::geo {

std::uint32_t FoldedTextTable::hash(std::string_view text) {
  // FNV-1a over the folded bytes, then a final mix so the low bits, which
  // pick the slot, depend on every byte.
  std::uint64_t h = 14695981039346656037ull;
  for (char c : text) {
    h ^= static_cast<unsigned char>(host::upperAscii(c));
    h *= 1099511628211ull;
  }
  h ^= h >> 32;
  h *= 0x9E3779B97F4A7C15ull;
  return static_cast<std::uint32_t>(h >> 32);
}

void FoldedTextTable::insert(std::uint32_t hashOfText, std::uint32_t position) {
  if ((used_ + 1) * 2 > slots_.size()) grow();
  place({position, hashOfText});
  ++used_;
}

void FoldedTextTable::clear() {
  slots_.clear();
  used_ = 0;
}

void FoldedTextTable::place(Slot slot) {
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = slot.hash & mask;
  while (slots_[i].position != kNone) i = (i + 1) & mask;
  slots_[i] = slot;
}

void FoldedTextTable::grow() {
  std::vector<Slot> old(slots_.empty() ? 16 : slots_.size() * 2);
  old.swap(slots_);
  for (const Slot& s : old) {
    if (s.position != kNone) place(s);
  }
}

}  // namespace vistrel::geo
