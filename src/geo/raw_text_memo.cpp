// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/raw_text_memo.h"

#include <limits>

namespace vistrel::geo {

std::uint32_t RawTextMemo::findHashed(const std::string_view* texts, std::size_t n) const {
  if (slots_.empty()) return kNone;
  const std::uint64_t h = hash(texts, n);
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = h & mask; slots_[i].value != kNone; i = (i + 1) & mask) {
    if (slots_[i].hash == h && holds(slots_[i], texts, n)) return slots_[i].value;
  }
  return kNone;
}

void RawTextMemo::remember(const std::string_view* texts, std::size_t n, std::uint32_t value) {
  if (!useful_) return;
  if (isShort(texts, n)) {
    if (short_.empty()) short_.assign(kShortTexts, kNone);
    short_[shortIndex(texts[0])] = value;
    return;
  }
  if (used_ >= kMaxTexts) return;
  const std::uint64_t h = hash(texts, n);
  Slot slot;
  slot.hash = h;
  slot.value = value;
  std::size_t total = 0;
  for (std::size_t f = 0; f < n; ++f) {
    if (texts[f].size() > std::numeric_limits<std::uint16_t>::max()) return;
    slot.length[f] = static_cast<std::uint16_t>(texts[f].size());
    total += texts[f].size();
  }
  if (bytes_.size() + total > std::numeric_limits<std::uint32_t>::max()) return;
  if ((used_ + 1) * 2 > slots_.size()) grow();
  slot.offset = static_cast<std::uint32_t>(bytes_.size());
  for (std::size_t f = 0; f < n; ++f) bytes_.append(texts[f]);
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = h & mask;
  while (slots_[i].value != kNone) i = (i + 1) & mask;
  slots_[i] = slot;
  ++used_;
}

void RawTextMemo::grow() {
  std::vector<Slot> old(slots_.empty() ? 64 : slots_.size() * 2);
  old.swap(slots_);
  const std::size_t mask = slots_.size() - 1;
  for (const Slot& s : old) {
    if (s.value == kNone) continue;
    std::size_t i = s.hash & mask;
    while (slots_[i].value != kNone) i = (i + 1) & mask;
    slots_[i] = s;
  }
}

}  // namespace vistrel::geo
