// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "filter/bool_expr.h"

#include <gtest/gtest.h>

namespace vistrel::filter {
namespace {

constexpr auto kSlot = categorySlot(1);

TEST(BoolExprTest, Evaluation) {
  const struct {
    const char* name;
    const char* expression;
    const char* variables;
    bool expected;
  } cases[] = {
      {"group with a negation holds", "A and (B or !C)", "ABX", true},
      {"group with a negation fails", "A and (B or !C)", "AC", false},
      {"lower-case words", "a and b", "AB", true},
      {"lower-case words, one missing", "a and b", "A", false},
      {"and then or: A and C", "A*B+C", "AC", true},
      {"and then or: no A", "A*B+C", "BC", false},
      {"and then or: A and B", "A*B+C", "AB", true},
      {"and then or: A alone", "A*B+C", "A", false},
      {"or then and: A alone", "A+B*C", "A", true},
      {"or then and: B and C", "A+B*C", "BC", true},
      {"or then and: B alone", "A+B*C", "B", false},
      {"double negation is one", "!!A", "A", false},
      {"double negation without A", "!!A", "", true},
      {"spaced double negation", "! !A", "A", false},
      {"triple negation", "not not not A", "A", false},
      {"negated group", "!(A+B)", "", true},
      {"negated group, B holds", "!(A+B)", "B", false},
      {"ampersand and backslash", "A & \\B", "A", true},
      {"digit variables", "A or 2", "2", true},
      {"variables are case-sensitive", "A", "a", false},
      {"two groups", "(A+B)*(C+D)", "AC", true},
      {"two groups, second fails", "(A+B)*(C+D)", "AB", false},
      {"nested groups", "A*(B+(C*!D))", "AC", true},
      {"nested groups, D holds", "A*(B+(C*!D))", "ACD", false},
      {"blanks do not matter", "  X*D  +   2 ", "X2", true},
      {"X*D + 2 needs X", "X*D + 2", "2", false},
      {"line breaks and backspaces are blanks", "A\r\nand\bB or\nnot\rC", "AB", true},
      {"words end at a line break", "not\nA and\r\nB", "B", true},
  };
  for (const auto& c : cases) {
    ExpressionEngine engine;
    ASSERT_TRUE(engine.CompileExpression(c.expression, kSlot)) << c.name << ": " << engine.LastExpressionError();
    EXPECT_EQ(engine.EvaluateExpression(c.variables, kSlot), c.expected) << c.name;
  }
}

TEST(BoolExprTest, CompileMessages) {
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"A AND(B)", "A was unexpected in A AND(B)"},
      {"A6", "A was unexpected in A6"},
      {"6", "6 was unexpected in 6"},
      {"A( ", "A was unexpected in A("},
      {"A # B", "# was unexpected in A # B"},
      {"a and \xC3\xA9", "\xC3\xA9 was unexpected in A *\xC3\xA9"},
      {"BRAND X", "B was unexpected in BR*X"},
      {"A+", "missing final variable"},
      {"!", "missing final variable"},
      {"(A", "parenthesis are not balanced"},
      {"A)", "parenthesis are not balanced"},
      {"A)+(B", "parenthesis are not balanced"},
      {"A!", "complement out of place"},
      {"A (B)", "( out of place"},
      {"()", ") out of place"},
      {"A++B", "Syntax error, check expression"},
      {"*A", "Syntax error, check expression"},
  };
  for (const auto& c : cases) {
    ExpressionEngine engine;
    EXPECT_FALSE(engine.CompileExpression(c.text, kSlot)) << c.text;
    EXPECT_EQ(engine.LastExpressionError(), c.message) << c.text;
  }
}

TEST(BoolExprTest, EmptyTextFailsWithoutMessage) {
  ExpressionEngine engine;
  EXPECT_FALSE(engine.CompileExpression("A+", kSlot));
  EXPECT_FALSE(engine.CompileExpression(" \r\n", kSlot));
  EXPECT_EQ(engine.LastExpressionError(), "");
}

TEST(BoolExprTest, MessageKeepsAHundredCharacters) {
  ExpressionEngine engine;
  const std::string text = std::string(90, 'A').insert(1, " ") + "#";
  EXPECT_FALSE(engine.CompileExpression(text, kSlot));
  EXPECT_EQ(engine.LastExpressionError().size(), 100u);
  EXPECT_EQ(engine.LastExpressionError().substr(0, 24), "A was unexpected in A AA");
}

TEST(BoolExprTest, StrayBytesGiveABoundedMessage) {
  ExpressionEngine engine;
  EXPECT_FALSE(engine.CompileExpression("  " + std::string(500, '\x82'), kSlot));
  const std::string& error = engine.LastExpressionError();
  EXPECT_EQ(error.rfind("\x82 was unexpected in", 0), 0u) << "one stray byte is one character";
  EXPECT_LE(error.size(), 400u);
}

TEST(BoolExprTest, FailedCompileKeepsTheSlotAndSlotsAreApart) {
  ExpressionEngine engine;
  ASSERT_TRUE(engine.CompileExpression("A", ExpressionSlot::kRows));
  ASSERT_TRUE(engine.CompileExpression("B", categorySlot(1)));
  EXPECT_FALSE(engine.CompileExpression("C+", ExpressionSlot::kRows));
  EXPECT_TRUE(engine.EvaluateExpression("A", ExpressionSlot::kRows));
  EXPECT_FALSE(engine.EvaluateExpression("A", categorySlot(1)));
  EXPECT_TRUE(engine.EvaluateExpression("B", categorySlot(1)));
  EXPECT_TRUE(engine.CompileExpression("C", ExpressionSlot::kRows));
  EXPECT_EQ(engine.LastExpressionError(), "") << "a new compile clears the message";
  EXPECT_FALSE(ExpressionEngine().EvaluateExpression("ABC", ExpressionSlot::kRows)) << "never compiled";
}

TEST(BoolExprTest, ALevelKeepsThirtyCharacters) {
  ExpressionEngine engine;
  // 33 characters at one level: the last three (+P+Q less one) are cut.
  ASSERT_TRUE(engine.CompileExpression("A+B+C+D+E+F+G+H+I+J+K+L+M+N+O+P+Q", kSlot));
  EXPECT_TRUE(engine.EvaluateExpression("O", kSlot));
  EXPECT_FALSE(engine.EvaluateExpression("P", kSlot));
  EXPECT_FALSE(engine.EvaluateExpression("Q", kSlot));
}

TEST(BoolExprTest, FourteenGroupsFitFifteenAreRefused) {
  std::string fourteen = "A";
  for (int i = 0; i < 14; ++i) fourteen = "(" + fourteen + ")";
  ExpressionEngine engine;
  ASSERT_TRUE(engine.CompileExpression(fourteen, kSlot)) << engine.LastExpressionError();
  EXPECT_TRUE(engine.EvaluateExpression("A", kSlot));
  EXPECT_FALSE(engine.CompileExpression("(" + fourteen + ")", kSlot));
  EXPECT_EQ(engine.LastExpressionError(), "too many parenthesis groups, at most 14 are allowed");
  EXPECT_TRUE(engine.EvaluateExpression("A", kSlot)) << "the slot keeps the last good expression";

  std::string flat = "(A)";
  for (int i = 0; i < 14; ++i) flat += "+(A)";
  EXPECT_FALSE(engine.CompileExpression(flat, kSlot));
}

}  // namespace
}  // namespace vistrel::filter
