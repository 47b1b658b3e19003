// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "host/locale.h"
#include "host/status.h"
#include "host/value.h"

// Conversions between the texts users and callers give and the values the
// table engine stores, column type by column type.
namespace vistrel::host {

// "True", "T", "Yes", "Y", "1" and their false twins, ignoring case and
// surrounding blanks; false when the text is none of them.
bool parseLogical(std::string_view text, bool* out);

// An optionally signed run of digits within the 64-bit range; false otherwise.
bool parseInteger(std::string_view text, std::int64_t* out);

// The text of a stored value of a column of `type`: numbers and dates in
// `locale`, logicals as "True" or "False", the empty text for null.
std::string valueText(const Value& v, ColumnType type, const Locale& locale);

// The stored value of `text` for a column of `type` and `size` (texts are cut
// to `size` characters when it is positive). A blank text is null for the
// other types. InvalidArgument naming `fieldName` when the text does not read
// as the type.
StatusOr<Value> valueFromText(std::string_view text, ColumnType type, int size, std::string_view fieldName,
                              const Locale& locale);

// The empty value a key field holds in place of null.
Value emptyKey(ColumnType type);

}  // namespace vistrel::host
