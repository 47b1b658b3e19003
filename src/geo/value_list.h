// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "geo/folded_text_table.h"

// The distinct values of a tally. Values equal ignoring the case of a-z are
// one value, written as the first one added. Adding is a hash lookup, so a
// million adds stay fast, and a repeated value costs no storage; the sorted
// order is produced once, when the tally asks for it.
namespace vistrel::geo {

class ValueList {
 public:
  // Adding may throw std::bad_alloc; the tally turns it into a Status.
  // Adds `value` unless a value equal ignoring case is present; true when added.
  bool add(std::string_view value);
  bool contains(std::string_view value) const;
  // Adds `value` unless a value equal ignoring case is present, and returns
  // the position of that value in the order first met.
  std::size_t place(std::string_view value);
  const std::string& at(std::size_t position) const { return values_[position]; }

  std::size_t size() const { return values_.size(); }
  bool empty() const { return values_.empty(); }

  // The values in ascending order: a-z folded to upper case, then byte by
  // byte (host::compareIgnoreCase).
  std::vector<std::string> sorted() const;

  void clear();

 private:
  std::vector<std::string> values_;  // in the order first met
  FoldedTextTable table_;
  std::vector<std::uint32_t> digits_;  // position + 1 of each five-digit value met, by number
};

}  // namespace vistrel::geo
