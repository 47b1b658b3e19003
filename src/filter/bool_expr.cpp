// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "filter/bool_expr.h"

#include <algorithm>
#include <bitset>
#include <optional>

#include "host/environment.h"
#include "host/text.h"

namespace vistrel::filter {
namespace {

constexpr std::string_view kTooManyGroups = "too many parenthesis groups, at most 14 are allowed";

bool isVariable(char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '5'); }

bool isOperatorOrBlank(char c) {
  return c == ' ' || c == '!' || c == '(' || c == ')' || c == '*' || c == '+';
}

// May follow a variable.
bool endsVariable(char c) { return c == ' ' || c == '!' || c == ')' || c == '*' || c == '+'; }

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && host::IsBlankChar(s.front())) s.remove_prefix(1);
  while (!s.empty() && host::IsBlankChar(s.back())) s.remove_suffix(1);
  return s;
}

// Every occurrence of `word` becomes `by`, from left to right.
std::string replaceAll(const std::string& text, std::string_view word, std::string_view by) {
  std::string out;
  std::size_t from = 0;
  for (std::size_t at; (at = text.find(word, from)) != std::string::npos; from = at + word.size()) {
    out.append(text, from, at - from);
    out += by;
  }
  out.append(text, from, std::string::npos);
  return out;
}

std::string normalise(std::string_view text) {
  std::string s = host::upperAscii(text);
  for (char& c : s) {
    if (host::IsBlankChar(c)) c = ' ';  // line breaks and backspaces are blanks too
    if (c == '\\') c = '!';
    if (c == '&') c = '*';
  }
  s = replaceAll(s, "AND ", "*");
  s = replaceAll(s, "OR ", "+");
  return replaceAll(s, "NOT ", "!");
}

bool isContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The UTF-8 character that starts at byte i: a lead byte and the continuation
// bytes its sequence takes, or a stray byte alone.
std::string characterAt(const std::string& s, std::size_t i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  std::size_t end = i + 1;
  while (end < s.size() && end < i + length && isContinuation(s[end])) ++end;
  return s.substr(i, end - i);
}

// At most 100 characters; stray bytes in a damaged text never make it longer
// than four bytes a character.
std::string cutMessage(std::string_view message) {
  std::string_view cut = host::utf8Left(message, ExpressionEngine::kMaxErrorLength);
  std::size_t bytes = std::min(cut.size(), 4 * ExpressionEngine::kMaxErrorLength);
  while (bytes < cut.size() && bytes > 0 && isContinuation(cut[bytes])) --bytes;
  return std::string(cut.substr(0, bytes));
}

std::string unexpected(const std::string& what, const std::string& text) {
  return what + " was unexpected in " + text;
}

// The first character error in the normalised text, if any.
std::optional<std::string> characterError(const std::string& s) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (isOperatorOrBlank(c)) continue;
    if (!isVariable(c)) return unexpected(characterAt(s, i), s);
    if (i + 1 < s.size() && !endsVariable(s[i + 1])) return unexpected(std::string(1, c), s);
  }
  return std::nullopt;
}

// Every second "!" of a run of negations (blanks between them skipped)
// becomes a blank.
void collapseNegations(std::string& s) {
  bool inRun = false;
  bool odd = false;
  for (char& c : s) {
    if (c == '!') {
      odd = inRun ? !odd : true;
      inRun = true;
      if (!odd) c = ' ';
    } else if (c != ' ') {
      inRun = false;
    }
  }
}

std::optional<std::string> syntaxError(const std::string& s) {
  bool expectOperand = true;
  int depth = 0;
  for (char c : s) {
    switch (c) {
      case ' ': break;
      case '!':
        if (!expectOperand) return "complement out of place";
        break;
      case '(':
        if (!expectOperand) return "( out of place";
        ++depth;
        break;
      case ')':
        if (expectOperand) return ") out of place";
        if (--depth < 0) return "parenthesis are not balanced";
        break;
      case '*':
      case '+':
        if (expectOperand) return "Syntax error, check expression";
        expectOperand = true;
        break;
      default:
        if (!isVariable(c)) return "expression variable " + std::string(1, c) + " is not valid";
        expectOperand = false;
    }
  }
  if (expectOperand) return "missing final variable";
  if (depth != 0) return "parenthesis are not balanced";
  return std::nullopt;
}

void appendToNode(std::string& node, char c) {
  if (node.size() < ExpressionEngine::kMaxNodeLength) node += c;
}

// Fills node `index` from `text`, giving each parenthesised group the next
// node. REQUIRES: the parentheses of `text` are balanced. False when the
// groups need more nodes than there are.
template <typename Nodes>
bool fillNode(std::string_view text, int index, Nodes& nodes, int& last) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == ' ') continue;
    if (c != '(') {
      appendToNode(nodes[static_cast<std::size_t>(index)], c);
      continue;
    }
    std::size_t close = i + 1;
    for (int depth = 0; close < text.size(); ++close) {
      if (text[close] == '(') ++depth;
      if (text[close] == ')' && depth-- == 0) break;
    }
    if (++last >= static_cast<int>(nodes.size())) return false;
    const int child = last;
    appendToNode(nodes[static_cast<std::size_t>(index)], static_cast<char>('a' + child));
    if (!fillNode(text.substr(i + 1, close - i - 1), child, nodes, last)) return false;
    i = close;
  }
  return true;
}

template <typename Nodes, typename Truth>
bool evaluateNode(const Nodes& nodes, int index, const Truth& truth) {
  bool expectOperand = true;
  bool negate = false;
  bool value = false;
  for (const char c : nodes[static_cast<std::size_t>(index)]) {
    if (expectOperand) {
      bool v = false;
      const int child = c - 'a';
      if (c == '!') {
        negate = true;
        continue;
      } else if (isVariable(c)) {
        v = truth(c);
      } else if (child > index && child < static_cast<int>(nodes.size())) {
        v = evaluateNode(nodes, child, truth);
      } else {
        return false;
      }
      value = negate ? !v : v;
      negate = false;
      expectOperand = false;
    } else if (c == '*') {
      if (!value) return false;
      expectOperand = true;
    } else if (c == '+') {
      if (value) return true;
      expectOperand = true;
    } else {
      return false;
    }
  }
  return value;
}

std::size_t slotIndex(ExpressionSlot slot) {
  const int i = static_cast<int>(slot);
  return i >= 0 && i < kExpressionSlots ? static_cast<std::size_t>(i) : 0;
}

}  // namespace

bool ExpressionEngine::fail(std::string message) {
  lastError_ = cutMessage(message);
  return false;
}

bool ExpressionEngine::CompileExpression(std::string_view text, ExpressionSlot slot) {
  lastError_.clear();
  const std::string_view trimmed = trimBlanks(text);
  if (trimmed.empty()) return false;
  std::string s = normalise(trimmed);
  if (auto error = characterError(s)) return fail(std::move(*error));
  collapseNegations(s);
  if (auto error = syntaxError(s)) return fail(std::move(*error));
  Nodes nodes;
  int last = 0;
  if (!fillNode(s, 0, nodes, last)) return fail(std::string(kTooManyGroups));
  slots_[slotIndex(slot)] = std::move(nodes);
  return true;
}

bool ExpressionEngine::EvaluateExpression(std::string_view variables, ExpressionSlot slot) const {
  std::bitset<256> truth;
  for (char c : variables) truth.set(static_cast<unsigned char>(c));
  return evaluateNode(slots_[slotIndex(slot)], 0, [&](char c) { return truth[static_cast<unsigned char>(c)]; });
}

bool ExpressionEngine::EvaluateExpression(const Truth& truth, ExpressionSlot slot) const {
  return evaluateNode(slots_[slotIndex(slot)], 0, truth);
}

}  // namespace vistrel::filter
