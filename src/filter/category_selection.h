// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "filter/bool_expr.h"

// The category selection dialog without its window: the answer being built,
// the double click that adds a code, the check on OK and the examples.
namespace vistrel::filter {

// Characters of the answer that a criterion keeps.
inline constexpr std::size_t kMaxCategoryAnswerLength = 80;

// The state of one category dialog. The check on OK compiles into the
// selection's own expression engine.
class CategorySelection {
 public:
  explicit CategorySelection(std::string answer) : answer_(std::move(answer)) {}

  const std::string& answer() const { return answer_; }
  void setAnswer(std::string answer) { answer_ = std::move(answer); }
  bool okEnabled() const { return !answer_.empty(); }

  // A double click on a list item: its code alone when the answer is empty,
  // else joined to the answer by " and " or " or ".
  void addItem(std::string_view item, bool joinWithOr);

  // The check on OK: the answer cut to 80 characters when it compiles,
  // otherwise the message to show ("No Categories Selected" for a blank
  // answer, the compiler's message for a wrong one).
  struct Outcome {
    bool accepted = false;
    std::string text;  // the result, or the message
  };
  Outcome accept();

 private:
  std::string answer_;
  ExpressionEngine engine_;
};

// One button of the dialog's Examples group and the rows it shows (example,
// description).
struct CategoryExample {
  std::string_view button;
  std::vector<std::pair<std::string_view, std::string_view>> rows;
};
const std::array<CategoryExample, 6>& categoryExamples();

}  // namespace vistrel::filter
