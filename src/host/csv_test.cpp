// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/csv.h"

#include <gtest/gtest.h>

#include <sstream>

namespace vistrel::host {
namespace {

std::vector<std::vector<std::string>> readAll(const std::string& text, Status* error = nullptr) {
  std::istringstream in(text);
  CsvReader reader(in);
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> fields;
  for (;;) {
    auto more = reader.next(&fields);
    if (!more.ok()) {
      if (error) *error = more.status();
      break;
    }
    if (!*more) break;
    rows.push_back(fields);
  }
  return rows;
}

TEST(CsvTest, QuotedFieldsHoldCommasQuotesAndLineBreaks) {
  const auto rows = readAll("a,b,c\r\n\"x, y\",\"say \"\"hi\"\"\",\"two\nlines\"\n,,\n");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1], (std::vector<std::string>{"x, y", "say \"hi\"", "two\nlines"}));
  EXPECT_EQ(rows[2], (std::vector<std::string>{"", "", ""}));
}

TEST(CsvTest, MalformedRecordsNameTheirLine) {
  Status s;
  readAll("a,b\n1,2\n\"open,3\n", &s);
  EXPECT_NE(s.message().find("line 3"), std::string::npos) << s.ToString();
  readAll("a,b\n1,x\"y\n", &s);
  EXPECT_NE(s.message().find("line 2"), std::string::npos) << s.ToString();
  readAll("a\n\"q\"z\n", &s);
  EXPECT_NE(s.message().find("line 2"), std::string::npos) << s.ToString();
}

TEST(CsvTest, WritingQuotesOnlyWhenNeeded) {
  EXPECT_EQ(csvField("Boston"), "Boston");
  EXPECT_EQ(csvField("Boston, MA"), "\"Boston, MA\"");
  EXPECT_EQ(csvField("a\"b"), "\"a\"\"b\"");
}

}  // namespace
}  // namespace vistrel::host
