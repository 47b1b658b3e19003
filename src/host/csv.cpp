// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/csv.h"

#include <sstream>

namespace vistrel::host {

void CsvReader::skipByteOrderMark() {
  static constexpr int kMark[] = {0xEF, 0xBB, 0xBF};
  int matched = 0;
  while (matched < 3 && in_.peek() == kMark[matched]) {
    in_.get();
    ++matched;
  }
  // Part of a mark is no mark: give the bytes back for the first field.
  while (matched > 0 && matched < 3 && in_.unget()) --matched;
}

// The end of the input, or the read failure that looked like it.
StatusOr<bool> CsvReader::endOfInput() const {
  if (in_.bad()) return Status::IoError("line " + std::to_string(line_) + ": the file could not be read to its end");
  return false;
}

StatusOr<bool> CsvReader::next(std::vector<std::string>* fields) {
  fields->clear();
  if (!started_) {
    started_ = true;
    skipByteOrderMark();
  }
  int c = in_.get();
  if (c == EOF) return endOfInput();
  recordLine_ = line_;
  fields->emplace_back();
  enum class State { kStart, kUnquoted, kQuoted, kAfterQuote } state = State::kStart;
  for (;; c = in_.get()) {
    if (c == EOF) {
      if (Status s = endOfInput().status(); !s.ok()) return s;
      if (state == State::kQuoted) {
        return Status::InvalidArgument("line " + std::to_string(recordLine_) + ": a quoted field is not closed");
      }
      return true;
    }
    const char ch = static_cast<char>(c);
    if (state == State::kQuoted) {
      if (ch == '"') {
        state = State::kAfterQuote;
      } else {
        if (ch == '\n') ++line_;
        fields->back() += ch;
      }
      continue;
    }
    if (ch == '\r' && in_.peek() == '\n') continue;
    if (ch == '\n') {
      ++line_;
      return true;
    }
    if (ch == ',') {
      fields->emplace_back();
      state = State::kStart;
      continue;
    }
    if (ch == '"') {
      if (state == State::kStart) {
        state = State::kQuoted;
        continue;
      }
      if (state == State::kAfterQuote) {
        fields->back() += '"';
        state = State::kQuoted;
        continue;
      }
      return Status::InvalidArgument("line " + std::to_string(line_) + ": a quote inside an unquoted field");
    }
    if (state == State::kAfterQuote) {
      return Status::InvalidArgument("line " + std::to_string(line_) + ": text after a closing quote");
    }
    state = State::kUnquoted;
    fields->back() += ch;
  }
}

Status forEachCsvRow(std::string_view csv,
                     const std::function<Status(std::size_t line, const std::vector<std::string>& fields)>& row) {
  std::istringstream in{std::string(csv)};
  CsvReader reader(in);
  std::vector<std::string> fields;
  bool header = true;
  for (;;) {
    auto more = reader.next(&fields);
    if (!more.ok()) return more.status();
    if (!*more) return Status::OK();
    if (header || (fields.size() == 1 && fields[0].empty())) {
      header = false;
      continue;
    }
    VISTREL_RETURN_IF_ERROR(row(static_cast<std::size_t>(reader.recordLine()), fields));
  }
}

std::string csvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string out = "\"";
  for (char c : text) {
    out += c;
    if (c == '"') out += '"';
  }
  out += '"';
  return out;
}

}  // namespace vistrel::host
