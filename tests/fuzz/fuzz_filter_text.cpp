// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
// The stored filter text as the verdict, activation and the criteria editor
// read it. Besides crashes it checks that a text the verdict passes is stored
// as written and activates, that a refused one leaves the filter inactive,
// and that the editor's lines loaded from any text load again the same from
// what they save, when that passes the verdict.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "dialogs/criteria_editor_model.h"
#include "filter/compiled_filter.h"
#include "filter/filter_text.h"
#include "filter/filter_definition.h"

using namespace vistrel;

namespace {

std::vector<std::string> saveAfterLoading(const std::vector<std::string>& memo) {
  dialogs::CriteriaEditorModel model;
  model.loadfromMemo(memo);
  return model.outputToMemo();
}

bool sameLines(const dialogs::CriteriaEditorModel& a, const dialogs::CriteriaEditorModel& b) {
  if (a.caseSensitive != b.caseSensitive || a.ignorePunctuation != b.ignorePunctuation) return false;
  for (int n = 1; n <= dialogs::kCriteriaLineCount; ++n) {
    const dialogs::CriteriaLine& x = a.line(n);
    const dialogs::CriteriaLine& y = b.line(n);
    if (x.inUse != y.inUse) return false;
    if (!x.inUse) continue;
    if (x.fieldText != y.fieldText || x.relationText != y.relationText || x.conditionText != y.conditionText ||
        x.openCount != y.openCount || x.closeCount != y.closeCount || x.conditionShown != y.conditionShown ||
        x.relations != y.relations) {
      return false;
    }
    if (x.connector != y.connector) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  for (const std::string& line : filter::splitMemoLines(text)) filter::readFilterLine(line);

  // The verdict and activation: a text that passes is stored as written and
  // reads back into the same groups; a refused one says why and leaves the
  // filter inactive.
  static const host::FixedClock clock(45427.0);
  const filter::DefinitionVerdict verdict = filter::judgeDefinition(text, clock, host::Locale());
  if (verdict.ok()) {
    for (const std::string& line : filter::splitMemoLines(verdict.storedText())) {
      if (filter::writeFilterLine(filter::readFilterLine(line)) != line) __builtin_trap();
    }
  }
  filter::CompiledFilter compiled;
  const filter::DefinitionFaults faults = compiled.activatethisfilter("fuzz", text, "DEM", clock, host::Locale());
  if (faults.empty() != compiled.active()) __builtin_trap();
  if (verdict.ok() && !faults.empty()) __builtin_trap();

  // What the editor would store it passes is loaded again as it was, and
  // saving again changes nothing.
  dialogs::CriteriaEditorModel model;
  model.loadfromMemo(text);
  const std::vector<std::string> first = model.outputToMemo();
  if (!filter::judgeDefinition(first, clock, host::Locale()).ok()) return 0;
  dialogs::CriteriaEditorModel reloaded;
  reloaded.loadfromMemo(first);
  if (!sameLines(model, reloaded)) __builtin_trap();
  const std::vector<std::string> second = saveAfterLoading(first);
  if (saveAfterLoading(second) != second) __builtin_trap();
  return 0;
}
