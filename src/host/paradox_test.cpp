// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/paradox.h"

#include <gtest/gtest.h>

#include <fstream>

#include "host/date_time.h"
#include "testing.h"

namespace vistrel::host {
namespace {

namespace fs = std::filesystem;
using T = ParadoxType;

const std::vector<ParadoxField> kAllTypes = {
    {"Name", T::kAlpha, 20},     {"Born", T::kDate, 4},        {"At", T::kTime, 4},
    {"Stamp", T::kTimestamp, 8}, {"Small", T::kShort, 2},      {"Big", T::kLong, 4},
    {"Id", T::kAutoInc, 4},      {"Num", T::kNumber, 8},       {"W\xC3\xA4hrung", T::kCurrency, 8},
    {"Done", T::kLogical, 1},    {"Memo", T::kMemo, 30},       {"Notes", T::kFmtMemo, 30},
};

double day(int y, int m, int d) { return *encodeDate(y, m, d); }

std::vector<std::vector<Value>> sampleRows() {
  return {
      {"Zo\xC3\xAB \xC3\x85ngstr\xC3\xB6m", day(1850, 3, 1), encodeTime(13, 14, 15),
       day(2050, 6, 7) + encodeTime(8, 9, 10), -123, 123456789, 7, -1.25, 1234.56, 1,
       std::string(5000, 'm') + "\xE2\x82\xAC", std::string(300, 'n'), },
      {Value(), Value(), Value(), Value(), Value(), Value(), Value(), Value(), Value(), Value(), Value(), Value()},
      {"x", day(1899, 12, 30), 0.0, day(2039, 1, 1), 0, 0, 0, 0.0, 0.0, 0, "short", "\xC3\xA9t\xC3\xA9"},
  };
}

ParadoxRowSource from(const std::vector<std::vector<Value>>& rows) {
  auto next = std::make_shared<std::size_t>(0);
  return [rows, next](std::vector<Value>* row) -> StatusOr<bool> {
    if (*next >= rows.size()) return false;
    *row = rows[(*next)++];
    return true;
  };
}

StatusOr<std::vector<std::vector<Value>>> readAll(const fs::path& file, const std::vector<std::string>& names) {
  auto reader = ParadoxReader::open(file);
  if (!reader.ok()) return reader.status();
  std::vector<int> wanted;
  for (const auto& n : names) wanted.push_back((*reader)->field(n));
  std::vector<std::vector<Value>> rows;
  const Status s = (*reader)->read(wanted, [&](const std::vector<Value>& v) {
    rows.push_back(v);
    return Status::OK();
  });
  if (!s.ok()) return s;
  return rows;
}

void expectSame(const Value& got, const Value& want, const std::string& what) {
  if (want.kind() == Value::Kind::kReal && got.kind() == Value::Kind::kReal) {
    EXPECT_NEAR(got.real(), want.real(), 1e-9) << what;
  } else {
    EXPECT_TRUE(got == want) << what << ": got '" << got.text() << "' " << got.integer() << " " << got.real();
  }
}

TEST(ParadoxTest, EveryFieldTypeReadsBackAsWritten) {
  for (const std::string password : {"", "s3cret!"}) {
    testing::TempDir dir;
    const fs::path file = dir / "PEOPLE.DB";
    ParadoxWriteOptions options;
    options.password = password;
    ASSERT_TRUE(writeParadoxTable(file, kAllTypes, from(sampleRows()), options).ok());
    auto reader = ParadoxReader::open(file);
    ASSERT_TRUE(reader.ok()) << reader.status().message();
    EXPECT_EQ((*reader)->info().codePage, 1252);
    // Field names are kept in the code page and read back in UTF-8.
    EXPECT_NE(testing::readFile(file).find("W\xE4hrung"), std::string::npos);
    EXPECT_GE((*reader)->field("W\xC3\xA4hrung"), 0);
    EXPECT_EQ((*reader)->info().encrypted, !password.empty());

    std::vector<std::string> names;
    for (const auto& f : kAllTypes) names.push_back(f.name);
    names.push_back("NotInTheFile");
    auto rows = readAll(file, names);
    ASSERT_TRUE(rows.ok()) << rows.status().message();
    const auto want = sampleRows();
    ASSERT_EQ(rows->size(), want.size());
    for (std::size_t r = 0; r < want.size(); ++r) {
      for (std::size_t c = 0; c < kAllTypes.size(); ++c) {
        Value expected = want[r][c];
        if (kAllTypes[c].type == T::kLogical && !expected.isNull()) expected = Value(expected.integer());
        expectSame((*rows)[r][c], expected,
                   "row " + std::to_string(r) + " " + kAllTypes[c].name + (password.empty() ? "" : " (encrypted)"));
      }
      EXPECT_TRUE((*rows)[r].back().isNull()) << "a field the table lacks reads as null";
    }
  }
}

TEST(ParadoxTest, DamagedFilesAreRefusedWithTheirName) {
  testing::TempDir dir;
  const fs::path file = dir / "EVENT.DB";
  std::vector<std::vector<Value>> many;
  for (int i = 0; i < 300; ++i) many.push_back(sampleRows()[2]);
  ASSERT_TRUE(writeParadoxTable(file, kAllTypes, from(many), {}).ok());
  const std::string whole = testing::readFile(file);

  struct Case {
    std::string name;
    std::function<void()> damage;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"cut short", [&] { testing::writeFile(file, whole.substr(0, whole.size() / 2)); }, "cut short"},
      {"empty", [&] { testing::writeFile(file, ""); }, "cut short"},
      {"no table", [&] { testing::writeFile(file, std::string(4096, '\x7f')); }, "header"},
      {"memo file missing", [&] { fs::remove(dir / "EVENT.MB"); }, "EVENT.MB is missing"},
      {"blocks in a circle",
       [&] {
         std::string patched = whole;
         const std::size_t first = static_cast<unsigned char>(whole[2]) | static_cast<unsigned char>(whole[3]) << 8;
         patched[first] = 1;  // the first block's successor: itself
         patched[first + 1] = 0;
         testing::writeFile(file, patched);
       },
       "damaged block chain"},
      {"unknown field type",
       [&] {
         std::string patched = whole;
         ASSERT_EQ(patched[0x78], static_cast<char>(T::kAlpha)) << "field types start at 0x78";
         patched[0x78] = 0x33;
         testing::writeFile(file, patched);
       },
       "field Name has a type this program does not read (0x33)"},
  };
  for (const Case& c : cases) {
    ParadoxWriteOptions options;
    if (c.name == "cut short" || c.name == "memo file missing") options.password = "pw";
    ASSERT_TRUE(writeParadoxTable(file, kAllTypes, from(many), options).ok());
    c.damage();
    auto rows = readAll(file, {"Name", "Memo"});
    ASSERT_FALSE(rows.ok()) << c.name;
    EXPECT_NE(rows.status().message().find("EVENT.DB"), std::string::npos) << c.name << ": " << rows.status().message();
    EXPECT_NE(rows.status().message().find(c.message), std::string::npos) << c.name << ": " << rows.status().message();
  }
}

}  // namespace
}  // namespace vistrel::host
