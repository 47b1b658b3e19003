// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "filter/category_selection.h"

#include "host/environment.h"
#include "host/text.h"

namespace vistrel::filter {

void CategorySelection::addItem(std::string_view item, bool joinWithOr) {
  if (item.empty()) return;
  const std::string code(1, item.front());
  if (answer_.empty()) {
    answer_ = code;
  } else {
    answer_ += (joinWithOr ? " or " : " and ") + code;
  }
}

CategorySelection::Outcome CategorySelection::accept() {
  if (host::IsBlank(answer_)) return {false, "No Categories Selected"};
  if (!engine_.CompileExpression(answer_, categorySlot(1))) return {false, engine_.LastExpressionError()};
  return {true, std::string(host::utf8Left(answer_, kMaxCategoryAnswerLength))};
}

const std::array<CategoryExample, 6>& categoryExamples() {
  static const std::array<CategoryExample, 6> examples = {{
      {"&Select one Category",
       {{"A", "Category A people only"}, {"X", "Category X people only"}, {"2", "Category 2 people only"}}},
      {"'&OR'= From one of several categories",
       {{"A or B", "people in either category a or b"},
        {"X or D or 2", "people in either category X or D or 2"},
        {"B + T", "people in either Category B or T"},
        {"", "The \"+\" symbol can be used for the word \"OR\""}}},
      {"'&AND'= In several categories at the same time",
       {{"A and B", "people in both category A and B (at once)"},
        {"X and D and 2", "people in both category X and D and 2"},
        {"B * T", "people in BOTH Category B AND T"},
        {"", "The \"*\" symbol can be used for the word \"AND\""}}},
      {"&Mixing 'AND' with 'OR'",
       {{"A and B or G", "someone in A and B or someone in G"},
        {"X*D + 2", "spaces do not matter around the * or +"},
        {"B*T*2 or A*X", "evaluated from left to right unless"},
        {"", "parenthesis are used"}}},
      {"'&NOT' = everyone who does not meet a condition",
       {{"not A", "everyone who is not in category A"},
        {"!A", "the \"!\" can used for \"NOT\""},
        {"!B or !C", "everyone not in B or everyone not in C"},
        {"D or E or !F", "people in D or E or not in F"}}},
      {"&Parenthesis can change the order",
       {{"A or (B and C)", "A or people who are both B and C"},
        {"D and (E or F)", "people in D who are also either in E or F"}}},
  }};
  return examples;
}

}  // namespace vistrel::filter
