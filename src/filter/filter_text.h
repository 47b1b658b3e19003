// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The stored text of a filter (the memo field "Selection" of a select-table
// row), shared with Tallis, which reads and writes the same rows: every
// character of it matters. The text is 1 to 10 lines separated by CR LF, one
// per criterion row, and each line is eleven groups "keyword(value)" joined by
// one blank:
//
//   database(Contact) field(Last Name) condition(5) value(Smith) casebox(FALSE)
//   yearbox(FALSE) daybox(FALSE) punctbox(FALSE) openpara(0) closepara(0) and(1)
//
// (one line, wrapped here). Keywords are never compared: the reader takes the
// groups by position with NextParenValue. Values are not quoted; balanced
// parentheses inside a value survive, an unbalanced one shifts the groups.
namespace vistrel::filter {

// "TRUE" or "FALSE".
std::string_view booleanToStr(bool flag);
// True exactly for "TRUE" (case-sensitive).
bool strToBoolean(std::string_view text);

// The separator between a field's label and its alias in the editor's field
// box ("Birthday : Bday").
inline constexpr std::string_view kAliasSeparator = " : ";
// The part before the first " : ", or the whole text when there is none.
std::string stripUserAlias(std::string_view text);
// The part after the first " : ", or the whole text when there is none.
std::string stripRealField(std::string_view text);

// Returns the text inside the line's next parenthesis pair, nested pairs
// included, and removes everything up to and including the closing
// parenthesis from `line` (the whole line when the pair is not closed). A
// line without "(" gives the empty text and loses its first character.
std::string NextParenValue(std::string& line);

// One line of the stored text, group by group.
struct FilterLine {
  std::string database;  // a DatabaseTypeNames entry; not used when reading
  std::string field;     // the field's catalog label
  int condition = 0;     // a RelationCode number
  std::string value;
  bool caseSensitive = false;
  bool noYear = false;
  bool noDay = false;
  bool ignorePunctuation = false;
  int open = 0;   // "(" before the row
  int close = 0;  // ")" after the row
  int connector = 0;              // 1 And, 2 Or, 0 none
  bool connectorGiven = false;    // the and group held some text

  friend bool operator==(const FilterLine&, const FilterLine&) = default;
};

// Reads the eleven groups of one line. Missing groups read as empty; numbers
// that are not integers read as 0; flags other than "TRUE" read as false.
FilterLine readFilterLine(std::string_view line);

// A line of these groups with every flag off.
FilterLine filterLine(std::string database, std::string field, int condition, std::string value, int connector = 0,
                      int open = 0, int close = 0);

// Writes one line from its groups exactly as they are (no value rules).
std::string writeFilterLine(const FilterLine& line);

// The lines of a memo text: split at CR LF, or at a lone CR or LF. A line
// break at the very end opens no further line.
std::vector<std::string> splitMemoLines(std::string_view text);
// The memo text of lines: each line followed by CR LF, as the memo field
// stores them.
std::string joinMemoLines(const std::vector<std::string>& lines);

}  // namespace vistrel::filter
