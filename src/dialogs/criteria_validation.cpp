// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "dialogs/criteria_validation.h"

#include "filter/filter_text.h"
#include "host/environment.h"
#include "host/text.h"

namespace vistrel::dialogs {
namespace {

CriteriaFault fault(std::string message, CriteriaBox box, int line = 0) {
  return CriteriaFault{std::move(message), box, line};
}

bool onlyDigitsAndSeparators(std::string_view text, const host::Locale& locale) {
  for (const char c : text) {
    if ((c < '0' || c > '9') && c != locale.thousandSeparator && c != locale.decimalSeparator) return false;
  }
  return true;
}

}  // namespace

std::optional<CriteriaFault> verifyDescription(std::string_view description) {
  if (auto message = filter::descriptionFault(description)) {
    return fault(std::move(*message), CriteriaBox::kDescription);
  }
  return std::nullopt;
}

std::optional<CriteriaFault> verifyFields(const CriteriaEditorModel& model) {
  for (int n = 1; n <= kCriteriaLineCount; ++n) {
    if (model.line(n).inUse && host::IsBlank(model.line(n).fieldText)) {
      return fault("A selected field is blank.", CriteriaBox::kField, n);
    }
  }
  return std::nullopt;
}

std::optional<CriteriaFault> verifyRelations(const CriteriaEditorModel& model) {
  for (int n = 1; n <= kCriteriaLineCount; ++n) {
    const CriteriaLine& l = model.line(n);
    if (l.inUse && l.relationText.empty()) {
      return fault("The relation field for " + l.fieldText + " is blank.", CriteriaBox::kRelation, n);
    }
  }
  return std::nullopt;
}

std::optional<CriteriaFault> verifyEdits(const CriteriaEditorModel& model, const host::Locale& locale) {
  for (int n = 1; n <= kCriteriaLineCount && model.line(n).inUse && model.line(n).conditionShown; ++n) {
    const CriteriaLine& l = model.line(n);
    const std::string prefix = "The condition for " + l.fieldText;
    if (host::IsBlank(l.conditionText)) return fault(prefix + " is blank.", CriteriaBox::kCondition, n);
    if (!filter::fieldKindInfo(fieldPositionOfText(l.fieldText)).digitsOnly) continue;
    if (!onlyDigitsAndSeparators(l.conditionText, locale)) {
      return fault(prefix + " is not numeric.", CriteriaBox::kCondition, n);
    }
    if (!host::parseNumber(l.conditionText, locale)) {
      return fault(prefix + " is not a valid number.", CriteriaBox::kCondition, n);
    }
  }
  return std::nullopt;
}

std::optional<CriteriaFault> verifyOpenClose(const CriteriaEditorModel& model) {
  int open = 0;
  int close = 0;
  for (int n = 1; n <= kCriteriaLineCount; ++n) {
    if (model.line(n).inUse) {
      open += model.line(n).openCount;
      close += model.line(n).closeCount;
    }
    if (close > open) {
      return fault("Parenthesis are not balanced. There must be an equal number of open and closed parenthesis.",
                   CriteriaBox::kNone);
    }
  }
  if (open != close) return fault("There are too many open parenthesis.", CriteriaBox::kNone);
  return std::nullopt;
}

std::optional<CriteriaFault> verifyCriteria(std::string_view description, const CriteriaEditorModel& model,
                                            const host::Locale& locale) {
  if (auto f = verifyDescription(description)) return f;
  if (auto f = verifyFields(model)) return f;
  if (auto f = verifyRelations(model)) return f;
  if (auto f = verifyEdits(model, locale)) return f;
  return verifyOpenClose(model);
}

std::optional<CriteriaFault> verifyDefinition(const CriteriaEditorModel& model, const host::Clock& clock,
                                              const host::Locale& locale) {
  const filter::DefinitionVerdict verdict =
      filter::judgeDefinition(model.outputToMemo(), clock, locale);
  if (verdict.ok()) return std::nullopt;
  const filter::DefinitionFault& first = verdict.faults.front();
  const int n = first.row >= 1 && first.row <= kCriteriaLineCount ? first.row : 0;
  CriteriaBox box = CriteriaBox::kNone;
  if (n > 0) {
    switch (first.part) {
      case filter::DefinitionPart::kField: box = CriteriaBox::kField; break;
      case filter::DefinitionPart::kRelation: box = CriteriaBox::kRelation; break;
      case filter::DefinitionPart::kValue:
      case filter::DefinitionPart::kLine: box = CriteriaBox::kCondition; break;
      case filter::DefinitionPart::kWhole: break;
    }
  }
  return fault(first.message, box, box == CriteriaBox::kNone ? 0 : n);
}

}  // namespace vistrel::dialogs
