// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "dialogs/description_generator.h"

#include "filter/filter_text.h"
#include "host/environment.h"
#include "host/text.h"

namespace vistrel::dialogs {
namespace {

// Appends `part` and keeps the first 60 characters.
void append(std::string& d, std::string_view part) {
  d += part;
  d.resize(host::utf8Left(d, kMaxGeneratedDescription).size());
}

void appendCriterion(std::string& d, const CriteriaLine& l) {
  append(d, filter::stripRealField(l.fieldText) + " " + l.relationText);
}

std::string_view connectorText(int connector) {
  return connector == 1 ? "And" : connector == 2 ? "Or" : "";
}

}  // namespace

std::optional<std::string> generateDescription(const CriteriaEditorModel& model,
                                               const filter::CategoryNames& categories) {
  std::string d;
  const CriteriaLine& first = model.line(1);
  appendCriterion(d, first);
  if (first.conditionShown && !first.conditionText.empty()) {
    append(d, " \"" + first.conditionText + "\"");
    if (host::upperAscii(first.fieldText) == "CATEGORY" && host::utf8Length(first.conditionText) == 1) {
      const std::string name = filter::categoryName(categories, first.conditionText);
      if (!name.empty()) append(d, " (" + name + ")");
    }
  }
  const CriteriaLine& second = model.line(2);
  if (second.inUse) {
    append(d, " " + std::string(connectorText(first.connector)) + " ");
    appendCriterion(d, second);
    if (second.conditionShown && !second.conditionText.empty()) append(d, " \"" + second.conditionText + "\"");
  }
  if (model.line(3).inUse) append(d, "...");
  if (host::IsBlank(d)) return std::nullopt;
  return d;
}

}  // namespace vistrel::dialogs
