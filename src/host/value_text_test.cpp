// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/value_text.h"

#include <gtest/gtest.h>

#include "host/date_time.h"

namespace vistrel::host {
namespace {

// Each row: a text given for a column of a type, and the stored value it
// becomes (its text in the same locale), or "!" when it is refused.
TEST(ValueTextTest, TextsBecomeStoredValuesAndBack) {
  Locale de;
  de.decimalSeparator = ',';
  de.thousandSeparator = '.';
  de.shortDateFormat = "dd.MM.yyyy";
  de.clock24 = true;
  const Locale us = Locale::unitedStates();
  struct Row {
    const char* name;
    ColumnType type;
    int size;
    const Locale* locale;
    const char* text;
    const char* back;
  };
  const Row rows[] = {
      {"text is cut by characters", ColumnType::kText, 3, &us, "Zürich", "Zür"},
      {"memo keeps all", ColumnType::kMemo, 0, &us, "a long note", "a long note"},
      {"signed integer", ColumnType::kInteger, 0, &us, " -42 ", "-42"},
      {"integer overflow", ColumnType::kInteger, 0, &us, "99999999999999999999", "!"},
      {"integer with a fraction", ColumnType::kInteger, 0, &us, "4.5", "!"},
      {"US number", ColumnType::kNumber, 0, &us, "-1234.5", "-1234.5"},
      {"German number", ColumnType::kNumber, 0, &de, "1234,5", "1234,5"},
      {"money is a number", ColumnType::kMoney, 0, &us, "12.25", "12.25"},
      {"no number", ColumnType::kNumber, 0, &us, "12a", "!"},
      {"US date", ColumnType::kDate, 0, &us, "2/29/2024", "2/29/2024"},
      {"German date", ColumnType::kDate, 0, &de, "29.02.2024", "29.02.2024"},
      {"no such day", ColumnType::kDate, 0, &us, "2/30/2024", "!"},
      {"time", ColumnType::kTime, 0, &de, "15:05:00", "15:05:00"},
      {"date and time", ColumnType::kDateTime, 0, &us, "12/25/2024 3:05:00 PM", "12/25/2024 3:05:00 PM"},
      {"date with a bad time", ColumnType::kDateTime, 0, &us, "12/25/2024 25:99", "!"},
      {"logical words", ColumnType::kLogical, 0, &us, " yes ", "True"},
      {"logical letter", ColumnType::kLogical, 0, &us, "f", "False"},
      {"no logical", ColumnType::kLogical, 0, &us, "maybe", "!"},
      {"blank is null", ColumnType::kDate, 0, &us, "   ", ""},
  };
  for (const Row& r : rows) {
    auto v = valueFromText(r.text, r.type, r.size, "F", *r.locale);
    if (std::string(r.back) == "!") {
      ASSERT_FALSE(v.ok()) << r.name;
      EXPECT_NE(v.status().message().find("(field F)"), std::string::npos) << r.name;
      continue;
    }
    if (!v.ok()) {
      ADD_FAILURE() << r.name << ": " << v.status().message();
      continue;
    }
    EXPECT_EQ(valueText(*v, r.type, *r.locale), r.back) << r.name;
  }
}

TEST(ValueTextTest, KeysHoldEmptyValuesInPlaceOfNull) {
  EXPECT_EQ(emptyKey(ColumnType::kText).text(), "");
  EXPECT_EQ(emptyKey(ColumnType::kDate).integer(), 0);
  EXPECT_EQ(valueText(Value(std::int64_t{1}), ColumnType::kLogical, Locale()), "True");
  EXPECT_EQ(valueText(Value(*encodeDate(2024, 1, 2)), ColumnType::kDate, Locale()), "1/2/2024");
}

}  // namespace
}  // namespace vistrel::host
