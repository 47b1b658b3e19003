// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "dialogs/criteria_editor_model.h"
#include "dialogs/ui/frm_pick_date.h"
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

// What the condition pickers need of the running program.
struct PickerContext {
  PickDateContext dates;  // the calendar's engine and user; the clock and locale of every picker
  filter::CategoryNames categories;  // the current database's category names
};

// The small dialogs the criteria editor opens when a field or condition box
// is entered, each modal over `parent` and returning when it closes: the
// field tree; the event type, event status and letter type pickers; the
// relative date dialog; the time picker; the category dialog. A kind of
// condition without a picker answers kNoPicker and the box is typed into.
// Tests replace single pickers by overriding.
class CriteriaPickers {
 public:
  virtual ~CriteriaPickers() = default;
  // The field for a field box holding `currentField` (its label, the text
  // before any ":"); the display text of the chosen field, or none on Cancel.
  virtual std::optional<std::string> pickField(QWidget* parent, std::string_view currentField);
  // A condition of the given kind, starting from `condition`.
  virtual ConditionPick pickCondition(QWidget* parent, ConditionPicker kind, std::string_view condition,
                                      const PickerContext& context);
};

}  // namespace vistrel::dialogs
