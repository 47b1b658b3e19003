// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "dialogs/criteria_editor_model.h"
#include "filter/category_names.h"

class QWidget;

namespace vistrel::dialogs {

// What a condition picker answered.
struct ConditionPick {
  enum class Outcome { kNoPicker, kCancelled, kChosen };
  Outcome outcome = Outcome::kNoPicker;
  std::string text;         // the chosen condition when kChosen
  bool disregards = false;  // a date picked without its year or day
};

// The small dialogs the criteria editor opens when a field or condition box
// is entered. Each picker is modal over `parent` and returns when it closes.
// The editor owns one; a picker that does not exist yet answers kNoPicker
// and the box is typed into.
class CriteriaPickers {
 public:
  virtual ~CriteriaPickers() = default;
  // The field for a field box holding `currentField` (its label, the text
  // before any ":"); the display text of the chosen field, or none on Cancel.
  virtual std::optional<std::string> pickField(QWidget* parent, std::string_view currentField);
  // A condition of the given kind, starting from `condition`.
  virtual ConditionPick pickCondition(QWidget* parent, ConditionPicker kind, std::string_view condition,
                                      const filter::CategoryNames& categories);
};

}  // namespace vistrel::dialogs
