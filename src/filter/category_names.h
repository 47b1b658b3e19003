// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "host/engine.h"
#include "host/status.h"

// The names a Tallis database gives its 32 categories, kept in its row of the
// database table as the fields cat1 to cat32: cat1 to cat26 name the codes A
// to Z, cat27 to cat32 the codes 0 to 5.
namespace vistrel::filter {

inline constexpr int kCategoryCount = 32;
using CategoryNames = std::array<std::string, kCategoryCount>;

// The field number (1 to 32) of a category code, letters in either case; 0
// for any other character.
int categoryFieldNumber(char code);
// The code of field number 1 to 32.
char categoryCode(int fieldNumber);

// The category names of `database`'s row; all empty when the table holds no
// row for it. Fails when the table cannot be read.
host::StatusOr<CategoryNames> readCategoryNames(host::Engine& engine, std::string_view database);

// The name of a one-character category code, or the empty text.
std::string categoryName(const CategoryNames& names, std::string_view code);

// The lines of the category dialog's list: "code = name" cut to 30
// characters, for each category with a name, in field order.
std::vector<std::string> categoryListItems(const CategoryNames& names);

}  // namespace vistrel::filter
