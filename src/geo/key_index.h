// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "geo/folded_text_table.h"
#include "host/status.h"

// The key list of a count: one key per grid row, in row order, looked up
// ignoring the case of a-z. find() gives the same answer as a linear search
// from the front (the first row whose key is equal), but by hashing, so a
// count costs one pass over the contacts whatever the number of rows.
namespace vistrel::geo {

class KeyIndex {
 public:
  // Appends `key` at position size(). Fails, leaving the index unchanged, when
  // memory runs out or the index is full.
  host::Status add(std::string key);

  // The position of the first key equal to `key` ignoring case; none when no
  // key is.
  std::optional<std::size_t> find(std::string_view key) const;

  std::size_t size() const { return keys_.size(); }
  const std::string& key(std::size_t position) const { return keys_[position]; }
  void clear();

 private:
  std::vector<std::string> keys_;
  FoldedTextTable table_;  // the first position of each key, ignoring case
  std::vector<std::uint32_t> digits_;  // the first position of each five-digit key, by number
};

}  // namespace vistrel::geo
