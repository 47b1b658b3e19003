// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace vistrel::filter {

// The places an engine keeps compiled expressions: the row expression of a
// filter (its criteria rows as letters A to J) and the category expression of
// each of its rows 1 to 10, so that two category rows never share one.
enum class ExpressionSlot : int { kRows = 0 };
inline constexpr int kExpressionSlots = 11;
// The slot of the category expression of row `row` (1 to 10).
constexpr ExpressionSlot categorySlot(int row) { return static_cast<ExpressionSlot>(row); }

// The and/or/not expression engine. An expression names variables, one
// character each ("A" to "Z", "0" to "5"), joined by "and"/"&"/"*",
// "or"/"+", "not"/"!"/"\" and parentheses, in any letter case. A variable is
// true when it occurs in the text handed to the evaluation (a contact's
// category codes, or the letters of the rows that hold).
//
// Evaluation reads a chain from the left, each operator taking everything to
// its right: A*B+C is A and (B or C), A+B*C is A or (B and C). A run of
// negations counts as one ("!!A" is "!A"). Every parenthesis level keeps at
// most 30 characters; an expression needs one node for itself and one per
// parenthesis pair, and at most 15 fit, so deeper expressions are refused.
//
// An engine holds its slots and the message of the last failed compile; each
// user (the active filter, the category dialog) has its own. Not thread-safe.
class ExpressionEngine {
 public:
  static constexpr int kMaxNodes = 15;
  static constexpr std::size_t kMaxNodeLength = 30;
  static constexpr std::size_t kMaxErrorLength = 100;

  // Checks and compiles `text` into `slot`. On failure the slot keeps what it
  // held and LastExpressionError() says why (empty for an empty text).
  bool CompileExpression(std::string_view text, ExpressionSlot slot);
  // The value of the slot's expression for the given true variables
  // (case-sensitive). A slot never compiled gives false.
  bool EvaluateExpression(std::string_view variables, ExpressionSlot slot) const;
  // The same value, asking `truth` about a variable only when the evaluation
  // reaches it (an "and" whose left side is false skips its right side).
  using Truth = std::function<bool(char variable)>;
  bool EvaluateExpression(const Truth& truth, ExpressionSlot slot) const;
  // Empty once a compile starts; the first error it met, at most 100 characters.
  const std::string& LastExpressionError() const { return lastError_; }

 private:
  using Nodes = std::array<std::string, kMaxNodes>;

  bool fail(std::string message);

  std::array<Nodes, kExpressionSlots> slots_;
  std::string lastError_;
};

}  // namespace vistrel::filter
