// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Text helpers shared by every subsystem. Texts are UTF-8. Upper-casing and
// case-insensitive comparison touch the letters a to z only, so results are
// the same on every machine and locale.
namespace vistrel::host {

inline char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
std::string upperAscii(std::string_view s);

// Compares with a-z folded to A-Z, then byte by byte. Returns <0, 0 or >0.
int compareIgnoreCase(std::string_view a, std::string_view b);
inline bool equalsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && compareIgnoreCase(a, b) == 0;
}

// Number of characters (code points) of a UTF-8 text; stray bytes count one each.
std::size_t utf8Length(std::string_view s);

// The first `n` characters of `s`; never splits a multi-byte character.
std::string_view utf8Left(std::string_view s, std::size_t n);

// Length in bytes of the well-formed UTF-8 character at s[i] (1 to 4), or 0
// when the bytes there are not one (a stray or missing continuation byte, an
// overlong form, a surrogate, a value above U+10FFFF).
std::size_t utf8CharAt(std::string_view s, std::size_t i);
// Byte offset of the first byte that is not well-formed UTF-8, or npos.
std::size_t utf8InvalidOffset(std::string_view s);

// Byte offset of character `n` (0-based) in `s`, or s.size() when beyond.
std::size_t utf8Offset(std::string_view s, std::size_t n);

bool startsWith(std::string_view text, std::string_view prefix);
bool endsWith(std::string_view text, std::string_view suffix);

// Removes spaces, tabs, carriage returns and line feeds at both ends.
std::string_view trimWhite(std::string_view s);

}  // namespace vistrel::host
