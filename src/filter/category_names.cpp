// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "filter/category_names.h"

#include "host/table.h"
#include "host/tallis_schema.h"
#include "host/text.h"

namespace vistrel::filter {
namespace {

constexpr std::size_t kMaxNameLength = 30;

}  // namespace

int categoryFieldNumber(char code) {
  code = host::upperAscii(code);
  if (code >= 'A' && code <= 'Z') return code - 'A' + 1;
  if (code >= '0' && code <= '5') return code - '0' + 27;
  return 0;
}

char categoryCode(int fieldNumber) {
  return static_cast<char>(fieldNumber <= 26 ? 'A' + fieldNumber - 1 : '0' + fieldNumber - 27);
}

host::StatusOr<CategoryNames> readCategoryNames(host::Engine& engine, std::string_view database) {
  host::Table table(engine, std::string(host::kTallisAlias), std::string(host::kDatabaseTableName));
  VISTREL_RETURN_IF_ERROR(table.open());
  CategoryNames names;
  auto found = table.findKey({std::string(database)});
  if (!found.ok()) return found.status();
  if (!*found) return names;
  for (int n = 1; n <= kCategoryCount; ++n) {
    if (host::Field* field = table.fieldByName("cat" + std::to_string(n))) {
      names[static_cast<std::size_t>(n - 1)] = field->asText();
    }
  }
  return names;
}

std::string categoryName(const CategoryNames& names, std::string_view code) {
  if (code.size() != 1) return std::string();
  const int n = categoryFieldNumber(code[0]);
  return n == 0 ? std::string() : names[static_cast<std::size_t>(n - 1)];
}

std::vector<std::string> categoryListItems(const CategoryNames& names) {
  std::vector<std::string> items;
  for (int n = 1; n <= kCategoryCount; ++n) {
    const std::string_view name = host::utf8Left(names[static_cast<std::size_t>(n - 1)], kMaxNameLength);
    if (name.empty()) continue;
    const std::string item = std::string(1, categoryCode(n)) + " = " + std::string(name);
    items.emplace_back(host::utf8Left(item, kMaxNameLength));
  }
  return items;
}

}  // namespace vistrel::filter
