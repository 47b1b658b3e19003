// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/text.h"

#include <algorithm>

namespace vistrel::host {

std::string upperAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = upperAscii(c);
  return out;
}

int compareIgnoreCase(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(upperAscii(a[i]));
    const auto cb = static_cast<unsigned char>(upperAscii(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

namespace {

bool isContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Bytes of the character starting at `i`: a lead byte and the continuation
// bytes it announces (as many as follow); a stray byte is one character.
std::size_t charBytes(std::string_view s, std::size_t i) {
  const auto c = static_cast<unsigned char>(s[i]);
  std::size_t want = 1;
  if (c >= 0xC0 && c < 0xE0) want = 2;
  else if (c >= 0xE0 && c < 0xF0) want = 3;
  else if (c >= 0xF0 && c < 0xF8) want = 4;
  std::size_t n = 1;
  while (n < want && i + n < s.size() && isContinuation(s[i + n])) ++n;
  return n;
}

}  // namespace

std::size_t utf8Length(std::string_view s) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < s.size(); i += charBytes(s, i)) ++n;
  return n;
}

std::size_t utf8CharAt(std::string_view s, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char b = byte(i);
  if (b < 0x80) return 1;
  std::size_t len = 0;
  unsigned char lo = 0x80, hi = 0xBF;  // the allowed range of the second byte
  if (b >= 0xC2 && b <= 0xDF) {
    len = 2;
  } else if (b >= 0xE0 && b <= 0xEF) {
    len = 3;
    if (b == 0xE0) lo = 0xA0;  // no overlong form
    if (b == 0xED) hi = 0x9F;  // no surrogate
  } else if (b >= 0xF0 && b <= 0xF4) {
    len = 4;
    if (b == 0xF0) lo = 0x90;  // no overlong form
    if (b == 0xF4) hi = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (i + len > s.size()) return 0;
  if (byte(i + 1) < lo || byte(i + 1) > hi) return 0;
  for (std::size_t k = 2; k < len; ++k) {
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  }
  return len;
}

std::size_t utf8InvalidOffset(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t n = utf8CharAt(s, i);
    if (n == 0) return i;
    i += n;
  }
  return std::string_view::npos;
}

std::size_t utf8Offset(std::string_view s, std::size_t n) {
  std::size_t i = 0;
  while (i < s.size() && n > 0) {
    i += charBytes(s, i);
    --n;
  }
  return i;
}

std::string_view utf8Left(std::string_view s, std::size_t n) { return s.substr(0, utf8Offset(s, n)); }

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool endsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::string_view trimWhite(std::string_view s) {
  const auto white = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && white(s.front())) s.remove_prefix(1);
  while (!s.empty() && white(s.back())) s.remove_suffix(1);
  return s;
}

}  // namespace vistrel::host
