// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "filter/filter_text.h"

#include <string>
#include <utility>

#include "host/utility.h"

namespace vistrel::filter {

std::string_view booleanToStr(bool flag) { return flag ? "TRUE" : "FALSE"; }

bool strToBoolean(std::string_view text) { return text == "TRUE"; }

std::string stripUserAlias(std::string_view text) {
  return std::string(text.substr(0, text.find(kAliasSeparator)));
}

std::string stripRealField(std::string_view text) {
  const auto at = text.find(kAliasSeparator);
  if (at == std::string_view::npos) return std::string(text);
  return std::string(text.substr(at + kAliasSeparator.size()));
}

std::string NextParenValue(std::string& line) {
  const auto open = line.find('(');
  if (open == std::string::npos) {
    if (!line.empty()) line.erase(0, 1);
    return std::string();
  }
  std::string value;
  int depth = 0;
  std::size_t i = open + 1;
  for (; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '(') ++depth;
    if (c == ')' && --depth < 0) break;
    value += c;
  }
  line.erase(0, i < line.size() ? i + 1 : line.size());
  return value;
}

FilterLine readFilterLine(std::string_view text) {
  std::string line(text);
  FilterLine f;
  f.database = NextParenValue(line);
  f.field = NextParenValue(line);
  f.condition = host::SafeStrToInt(NextParenValue(line));
  f.value = NextParenValue(line);
  f.caseSensitive = strToBoolean(NextParenValue(line));
  f.noYear = strToBoolean(NextParenValue(line));
  f.noDay = strToBoolean(NextParenValue(line));
  f.ignorePunctuation = strToBoolean(NextParenValue(line));
  f.open = host::SafeStrToInt(NextParenValue(line));
  f.close = host::SafeStrToInt(NextParenValue(line));
  const std::string connector = NextParenValue(line);
  f.connector = host::SafeStrToInt(connector);
  f.connectorGiven = !connector.empty();
  return f;
}

FilterLine filterLine(std::string database, std::string field, int condition, std::string value, int connector,
                      int open, int close) {
  FilterLine l;
  l.database = std::move(database);
  l.field = std::move(field);
  l.condition = condition;
  l.value = std::move(value);
  l.connector = connector;
  l.open = open;
  l.close = close;
  return l;
}

std::string writeFilterLine(const FilterLine& f) {
  std::string line;
  line += "database(" + f.database + ") ";
  line += "field(" + f.field + ") ";
  line += "condition(" + std::to_string(f.condition) + ") ";
  line += "value(" + f.value + ") ";
  line += "casebox(" + std::string(booleanToStr(f.caseSensitive)) + ") ";
  line += "yearbox(" + std::string(booleanToStr(f.noYear)) + ") ";
  line += "daybox(" + std::string(booleanToStr(f.noDay)) + ") ";
  line += "punctbox(" + std::string(booleanToStr(f.ignorePunctuation)) + ") ";
  line += "openpara(" + std::to_string(f.open) + ") ";
  line += "closepara(" + std::to_string(f.close) + ") ";
  line += "and(" + (f.connector >= 1 ? std::to_string(f.connector) : std::string("0")) + ")";
  return line;
}

std::vector<std::string> splitMemoLines(std::string_view text) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') {
      line += c;
      continue;
    }
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    lines.push_back(std::move(line));
    line.clear();
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

std::string joinMemoLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace vistrel::filter
