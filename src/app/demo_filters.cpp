// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "app/demo_filters.h"

#include <string>
#include <vector>

#include "filter/filter_text.h"

namespace vistrel::app {

using filter::filterLine;

host::Status addDemoFilters(host::Table& select, int lastKey) {
  struct Demo {
    const char* name;
    std::vector<filter::FilterLine> lines;
  };
  const Demo demos[] = {
      {"Contacts with a sale", {filterLine("Event", "Event Type", 5, "SALE")}},
      {"Completed calls", {filterLine("Event", "Event Type", 5, "CALL", 1), filterLine("Event", "Completed", 14, "")}},
      {"California or Texas in category A",
       {filterLine("Contact", "State", 5, "CA", 2, 1), filterLine("Contact", "State", 5, "TX", 1, 0, 1),
        filterLine("Contact", "Category", 11, "A")}},
      {"Marked contacts", {filterLine("Contact", "Marked", 14, "")}},
  };
  for (const Demo& d : demos) {
    std::vector<std::string> lines;
    for (const auto& l : d.lines) lines.push_back(filter::writeFilterLine(l));
    VISTREL_RETURN_IF_ERROR(select.insert());
    const std::pair<const char*, std::string> values[] = {
        {"Shortname", d.name}, {"DB", "Sales"}, {"Who", "DEM"}, {"Type", "CONTACT"},
        {"Selection", filter::joinMemoLines(lines)}, {"FRecno", "F" + std::to_string(++lastKey)}};
    for (const auto& [name, value] : values) {
      host::Field* f = select.fieldByName(name);
      if (f == nullptr) return host::Status::Corrupt(select.tableName() + " has no field " + name);
      VISTREL_RETURN_IF_ERROR(f->setText(value));
    }
    VISTREL_RETURN_IF_ERROR(select.post());
  }
  return host::Status::OK();
}

}  // namespace vistrel::app
