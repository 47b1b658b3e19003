// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <functional>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "host/status.h"

namespace vistrel::host {

// Reads RFC 4180 CSV records: fields separated by commas, optionally in
// double quotes (a quoted field may hold commas, line breaks and "" for a
// quote), records ended by CRLF or LF. A UTF-8 byte-order mark at the very
// start is skipped.
class CsvReader {
 public:
  explicit CsvReader(std::istream& in) : in_(in) {}

  // Reads the next record into `fields`; false at the end of the input.
  // A malformed record fails with a message naming its line.
  StatusOr<bool> next(std::vector<std::string>* fields);
  // The line on which the last record read began (1-based).
  int recordLine() const { return recordLine_; }

 private:
  void skipByteOrderMark();
  StatusOr<bool> endOfInput() const;

  std::istream& in_;
  bool started_ = false;
  int line_ = 1;
  int recordLine_ = 0;
};

// Calls `row` with the line number and the fields of every line after the
// header of a CSV text held in memory (a built-in table); stops at, and
// returns, the first failure. Lines end in LF or CRLF; blank lines are skipped.
Status forEachCsvRow(std::string_view csv,
                     const std::function<Status(std::size_t line, const std::vector<std::string>& fields)>& row);

// A field as CSV writes it: quoted when it holds a comma, quote or line break.
std::string csvField(std::string_view text);

}  // namespace vistrel::host
