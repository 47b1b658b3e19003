// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "filter/compiled_filter.h"

#include "filter/filter_evaluator.h"
#include "host/environment.h"
#include "host/field_catalog.h"

namespace vistrel::filter {
namespace {

constexpr std::string_view kCorrupt =
    "Error : this filter appears corrupt.  Delete and re-add or run database repair";

DefinitionFaults wholeFault(std::string message) {
  return {DefinitionFault{0, DefinitionPart::kWhole, std::move(message)}};
}

}  // namespace

CompiledFilter::CompiledFilter() = default;

CompiledFilter::~CompiledFilter() = default;

DefinitionFaults CompiledFilter::activatethisfilter(std::string_view shortname, std::string_view definition,
                                                    std::string marksWho, const host::Clock& clock,
                                                    const host::Locale& locale) {
  deactivate();
  reverse_ = false;
  if (host::IsBlank(shortname)) return wholeFault("No filter selected");
  const std::vector<std::string> lines = splitMemoLines(definition);
  if (lines.empty() || host::IsBlank(lines[0])) {
    return wholeFault(std::string(kCorrupt) + "\nThe filter: " + std::string(shortname));
  }
  const DefinitionVerdict verdict = judgeDefinition(definition, clock, locale);
  if (!verdict.ok()) return verdict.faults;
  if (DefinitionFaults faults = compile(verdict.criteria, clock, locale); !faults.empty()) return faults;
  name_ = std::string(shortname);
  marksWho_ = std::move(marksWho);
  active_ = true;
  return {};
}

DefinitionFaults CompiledFilter::compile(const std::vector<Criterion>& rows, const host::Clock& clock,
                                         const host::Locale& locale) {
  rows_ = rows;
  for (int n = 1; n <= count(); ++n) {
    if (fieldKindInfo(row(n).field).values != ValueClass::kCategory || !relationTakesValue(row(n).relation)) continue;
    if (!expressions_.CompileExpression(row(n).value, categorySlot(n))) {
      return {DefinitionFault{n, DefinitionPart::kValue,
                              "Criteria " + std::to_string(n) + ": " + expressions_.LastExpressionError()}};
    }
  }
  if (!expressions_.CompileExpression(rowExpression(), ExpressionSlot::kRows)) {
    return wholeFault(expressions_.LastExpressionError());
  }
  return prepareapply(clock, locale);
}

DefinitionFaults CompiledFilter::prepareapply(const host::Clock& clock, const host::Locale& locale) {
  evaluator_.reset();
  std::vector<PreparedValue> prepared(rows_.size());
  DefinitionFaults faults;
  for (int n = 1; n <= count(); ++n) {
    if (!relationTakesValue(row(n).relation)) continue;
    auto value = prepareValue(row(n), n, clock, locale);
    if (value.ok()) {
      prepared[static_cast<std::size_t>(n - 1)] = std::move(value).value();
    } else {
      faults.push_back(DefinitionFault{n, DefinitionPart::kValue, value.status().message()});
    }
  }
  if (!faults.empty()) {
    deactivate();
    return faults;
  }
  prepared_ = std::move(prepared);
  return {};
}

void CompiledFilter::deactivate() {
  evaluator_.reset();
  name_.clear();
  active_ = false;
}

void CompiledFilter::setReverse(bool on) { reverse_ = on; }

RowTable CompiledFilter::rowTable(int n) const {
  const int field = row(n).field;
  if (field < 0 || field >= host::kUndefinedField) return RowTable::kNone;
  switch (host::FieldCatalog()[static_cast<std::size_t>(field)].table) {
    case host::kContactTable: return RowTable::kContact;
    case host::kEventTable: return RowTable::kEvent;
    default: return RowTable::kNone;
  }
}

bool CompiledFilter::hasEventRows() const {
  for (int n = 1; n <= count(); ++n) {
    if (rowTable(n) == RowTable::kEvent) return true;
  }
  return false;
}

FilterEvaluator& CompiledFilter::evaluator(host::Engine& engine) {
  if (!evaluator_ || engine_ != &engine) {
    engine_ = &engine;
    evaluator_ = std::make_unique<FilterEvaluator>(*this, engine, marksWho_);
  }
  return *evaluator_;
}

bool CompiledFilter::acceptRecord(host::Table& table) {
  if (!active_ || engine_ == nullptr) return true;
  return evaluator(*engine_).acceptRecord(table);
}

host::Status CompiledFilter::install(host::Table& table, host::Engine& engine) {
  engine_ = &engine;
  evaluator_.reset();
  table.setOnFilterRecord([this](host::Table& t) { return acceptRecord(t); });
  // A table without filter lines walks unfiltered while no filter is active.
  return table.setFiltered(active_ || !table.filterLines().empty());
}

host::StatusOr<SelectionCount> CompiledFilter::countSelection(host::Table& table, host::Engine& engine,
                                                              const SelectionProgress& progress,
                                                              std::int64_t stride) {
  evaluator_.reset();
  return filter::countSelection(evaluator(engine), table, progress, stride);
}

}  // namespace vistrel::filter
