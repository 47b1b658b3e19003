// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

#include "dialogs/criteria_editor_model.h"
#include "filter/category_names.h"

namespace vistrel::dialogs {

// Characters of a generated description.
inline constexpr std::size_t kMaxGeneratedDescription = 60;

inline constexpr std::string_view kNoFieldsForDescription =
    "A description cannot be generated without filled in fields.";

// A readable description of the first two lines, at most 60 characters:
// field (the alias of a user field), relation and the quoted condition of
// line 1, with the category's name (from `categories`, the current
// database's names) after a one-letter category condition; then the And/Or
// of line 1 and line 2 likewise; "..." when line 3 is in use. None when
// the text would be blank.
std::optional<std::string> generateDescription(const CriteriaEditorModel& model,
                                               const filter::CategoryNames& categories);

}  // namespace vistrel::dialogs
