// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "host/text.h"

// An open-addressing hash table of positions into a list of texts that its
// owner keeps, keyed by the text with a-z folded to upper case. It stores
// only the positions and their hashes (8 bytes a slot), so a text is held
// once, by the owner. Used by ValueList and KeyIndex.
namespace vistrel::geo {

class FoldedTextTable {
 public:
  static constexpr std::uint32_t kNone = UINT32_MAX;
  // The most positions the table can hold.
  static constexpr std::size_t kMaxPositions = kNone - 1;

  // The hash of `text` with a-z folded, so texts equal ignoring case hash alike.
  static std::uint32_t hash(std::string_view text);

  // The position recorded for a text equal to `text` ignoring case, or kNone.
  // `hashOfText` is hash(text); `textAt(position)` returns the owner's text.
  template <typename TextAt>
  std::uint32_t find(std::string_view text, std::uint32_t hashOfText, const TextAt& textAt) const {
    if (slots_.empty()) return kNone;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hashOfText & mask;; i = (i + 1) & mask) {
      const Slot& s = slots_[i];
      if (s.position == kNone) return kNone;
      if (s.hash == hashOfText && host::equalsIgnoreCase(textAt(s.position), text)) return s.position;
    }
  }

  // Records `position` under `hashOfText`. REQUIRES: no text equal ignoring
  // case is recorded yet. May throw std::bad_alloc when growing.
  void insert(std::uint32_t hashOfText, std::uint32_t position);

  std::size_t size() const { return used_; }
  void clear();

 private:
  struct Slot {
    std::uint32_t position = kNone;
    std::uint32_t hash = 0;
  };
  void place(Slot slot);
  void grow();

  std::vector<Slot> slots_;  // size a power of two, at most half full
  std::size_t used_ = 0;
};

// A five-digit text (a zip code) as its number, or -1. Digits have no letter
// case, so such texts can be kept by number instead of by folded hash.
inline int fiveDigitNumber(std::string_view text) {
  if (text.size() != 5) return -1;
  int n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    n = n * 10 + (c - '0');
  }
  return n;
}
inline constexpr int kFiveDigitNumbers = 100000;

}  // namespace vistrel::geo
