// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "dialogs/criteria_validation.h"

#include "filter/filter_text.h"
#include "host/environment.h"
#include "host/messages.h"
#include "host/text.h"

namespace vistrel::dialogs {
namespace {

CriteriaFault fault(std::string message, CriteriaBox box, int line = 0) {
  return CriteriaFault{std::move(message), box, line};
}

bool isNumberKind(host::FieldKind kind) {
  return kind == host::FieldKind::kNumber || kind == host::FieldKind::kMoney;
}

bool onlyDigitsAndSeparators(std::string_view text, const host::Locale& locale) {
  for (const char c : text) {
    if ((c < '0' || c > '9') && c != locale.thousandSeparator && c != locale.decimalSeparator) return false;
  }
  return true;
}

// A message sink that keeps what it is told, installed for one scope.
class SinkSwap {
 public:
  SinkSwap() : previous_(&host::messageSink()) { host::setMessageSink(&recorder_); }
  ~SinkSwap() { host::setMessageSink(previous_); }
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const host::Message& m : recorder_.messages()) out.push_back(m.text);
    return out;
  }

 private:
  host::RecordingMessageSink recorder_;
  host::MessageSink* previous_;
};

// The first used line whose stored value is longer than a condition box holds.
std::optional<CriteriaFault> overlongCondition(const std::vector<std::string>& memo) {
  for (std::size_t i = 0; i < memo.size() && i < kCriteriaLineCount && !host::IsBlank(memo[i]); ++i) {
    const filter::FilterLine stored = filter::readFilterLine(memo[i]);
    if (host::utf8Length(stored.value) > kMaxConditionLength) {
      return fault("The condition for " + stored.field + " is longer than 80 characters.", CriteriaBox::kCondition,
                   static_cast<int>(i) + 1);
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<CriteriaFault> verifyDescription(std::string_view description) {
  if (host::IsBlank(description)) {
    return fault("The description is blank.  Use it to describe the filter.", CriteriaBox::kDescription);
  }
  if (host::utf8Length(description) > kMaxDescriptionLength) {
    return fault("The description is longer than 100 characters.", CriteriaBox::kDescription);
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
    if (!isNumberKind(model.fieldtype(n))) continue;
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

CriteriaVerdict checkFilterDefinition(std::string_view description, std::string_view definitionText,
                                      const host::Locale& locale) {
  CriteriaVerdict verdict;
  const std::vector<std::string> memo = filter::splitMemoLines(definitionText);
  if ((verdict.fault = verifyDescription(description))) return verdict;
  if ((verdict.fault = overlongCondition(memo))) return verdict;
  CriteriaEditorModel model;
  {
    SinkSwap quiet;
    model.loadfromMemo(memo);
    verdict.loadMessages = quiet.texts();
  }
  if ((verdict.fault = verifyCriteria(description, model, locale))) return verdict;
  verdict.definition = model.outputToMemo();
  return verdict;
}

}  // namespace vistrel::dialogs
