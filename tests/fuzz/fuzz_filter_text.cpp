// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
// The stored filter text as the criteria editor reads and writes it. Besides
// crashes it checks that a written line reads back into the same groups and
// that a filter saved twice does not change on the second save, and that the
// editor's lines loaded from any text load again the same from what they save.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "dialogs/criteria_editor_model.h"
#include "filter/compiled_filter.h"
#include "filter/filter_text.h"
#include "host/messages.h"

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
  static host::RecordingMessageSink* const sink = [] {
    auto* s = new host::RecordingMessageSink;
    host::setMessageSink(s);
    return s;
  }();
  sink->clear();
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  for (const std::string& line : filter::splitMemoLines(text)) filter::readFilterLine(line);

  // The evaluation's own reader and check: a refused text says why and
  // leaves the filter inactive.
  static filter::ExpressionEngine expressions;
  static const host::FixedClock clock(45427.0);
  filter::CompiledFilter compiled(expressions);
  const std::size_t said = sink->messages().size();
  if (!compiled.activatethisfilter("fuzz", text, clock, host::Locale()) &&
      (compiled.active() || sink->messages().size() == said)) {
    __builtin_trap();
  }

  dialogs::CriteriaEditorModel model;
  model.loadfromMemo(text);
  const std::vector<std::string> first = model.outputToMemo();
  for (const std::string& line : first) {
    if (filter::writeFilterLine(filter::readFilterLine(line)) != line) __builtin_trap();
  }
  dialogs::CriteriaEditorModel reloaded;
  reloaded.loadfromMemo(first);
  if (!sameLines(model, reloaded)) __builtin_trap();
  const std::vector<std::string> second = saveAfterLoading(first);
  if (saveAfterLoading(second) != second) __builtin_trap();
  return 0;
}
