// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

// Remembers a number (a slot of its owner) for the exact texts of one or two
// fields, byte for byte. A walk over a million contacts meets a few hundred
// distinct state texts, but hundreds of thousands of distinct zip codes; what
// it made of texts met before it looks up here instead of making it again.
// Holds at most kMaxTexts; past that, texts not held are simply not found.
// When most of the first kTrial texts asked for were new, the memo is not
// worth asking: useful() turns false and nothing more is remembered.
namespace vistrel::geo {

class RawTextMemo {
 public:
  static constexpr std::uint32_t kNone = UINT32_MAX;
  static constexpr std::size_t kMaxTexts = 1 << 16;
  static constexpr std::size_t kMaxFields = 2;
  static constexpr std::uint32_t kTrial = 4096;

  // The hash of `n` (at most kMaxFields) texts, their lengths included.
  static std::uint64_t hash(const std::string_view* texts, std::size_t n) {
    constexpr std::uint64_t kMul = 0x9E3779B97F4A7C15ull;
    std::uint64_t h = 0;
    for (std::size_t f = 0; f < n; ++f) {
      const char* p = texts[f].data();
      std::size_t left = texts[f].size();
      for (; left >= 8; left -= 8, p += 8) {
        std::uint64_t w;
        std::memcpy(&w, p, 8);
        h = (h ^ w) * kMul;
        h ^= h >> 29;
      }
      std::uint64_t w = texts[f].size() << 56;  // ends the field: "ab","c" differs from "a","bc"
      for (std::size_t i = 0; i < left; ++i) w |= std::uint64_t{static_cast<unsigned char>(p[i])} << (8 * i);
      h = (h ^ w) * kMul;
      h ^= h >> 29;
    }
    return h;
  }

  bool useful() const { return useful_; }

  // The number remembered for `texts`, or kNone.
  std::uint32_t find(const std::string_view* texts, std::size_t n) {
    if (asked_ < kTrial && ++asked_ == kTrial) useful_ = found_ * 2 >= kTrial;
    std::uint32_t value = kNone;
    if (!isShort(texts, n)) value = findHashed(texts, n);
    else if (!short_.empty()) value = short_[shortIndex(texts[0])];
    if (value != kNone) ++found_;
    return value;
  }

  // Remembers `value` (not kNone) for texts not held yet, unless the memo is
  // full or a text is too long to keep. May throw std::bad_alloc.
  void remember(const std::string_view* texts, std::size_t n, std::uint32_t value);

 private:
  struct Slot {
    std::uint64_t hash = 0;
    std::uint32_t offset = 0;              // of the texts in bytes_
    std::uint16_t length[kMaxFields] = {};
    std::uint32_t value = kNone;
  };

  // One text of at most two bytes (most states are codes) has its own place
  // in short_, found without hashing.
  static constexpr std::size_t kShortTexts = 1 + 256 + 65536;
  static bool isShort(const std::string_view* texts, std::size_t n) { return n == 1 && texts[0].size() <= 2; }
  static std::size_t shortIndex(std::string_view s) {
    if (s.empty()) return 0;
    if (s.size() == 1) return 1 + static_cast<unsigned char>(s[0]);
    return 257 + (static_cast<std::size_t>(static_cast<unsigned char>(s[0])) << 8) + static_cast<unsigned char>(s[1]);
  }

  std::uint32_t findHashed(const std::string_view* texts, std::size_t n) const;
  bool holds(const Slot& s, const std::string_view* texts, std::size_t n) const {
    const char* p = bytes_.data() + s.offset;
    for (std::size_t f = 0; f < n; ++f) {
      if (texts[f].size() != s.length[f]) return false;
      // Most texts are a few bytes: a loop beats a call to memcmp.
      for (std::size_t i = 0; i < s.length[f]; ++i) {
        if (texts[f][i] != p[i]) return false;
      }
      p += s.length[f];
    }
    return true;
  }
  void grow();

  std::vector<std::uint32_t> short_;  // by shortIndex, kNone where none
  std::vector<Slot> slots_;  // size a power of two, at most half full
  std::string bytes_;        // the texts held, one after another
  std::size_t used_ = 0;
  std::uint32_t asked_ = 0;
  std::uint32_t found_ = 0;  // of the first kTrial asked
  bool useful_ = true;
};

}  // namespace vistrel::geo
