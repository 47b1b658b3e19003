// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
// A category expression and a variable text: the part before the first line
// feed is compiled, the rest is the text of true variables.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "filter/bool_expr.h"
#include "host/text.h"

using namespace vistrel::filter;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find('\n');
  const std::string_view expression = input.substr(0, split);
  const std::string_view variables = split == std::string_view::npos ? std::string_view() : input.substr(split + 1);

  ExpressionEngine engine;
  const bool compiled = engine.CompileExpression(expression, categorySlot(1));
  if (compiled != engine.LastExpressionError().empty() && !expression.empty()) {
    // Every failure of a text with characters other than blanks has a message.
    bool blank = true;
    for (char c : expression) blank = blank && (c == ' ' || c == '\r' || c == '\n' || c == '\b');
    if (!blank) __builtin_trap();
  }
  const std::string& error = engine.LastExpressionError();
  if (vistrel::host::utf8Length(error) > ExpressionEngine::kMaxErrorLength || error.size() > 400) __builtin_trap();
  const bool once = engine.EvaluateExpression(variables, categorySlot(1));
  if (engine.EvaluateExpression(variables, categorySlot(1)) != once) __builtin_trap();
  engine.EvaluateExpression(variables, ExpressionSlot::kRows);
  return 0;
}
