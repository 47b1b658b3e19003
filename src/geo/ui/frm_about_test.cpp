// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/ui/frm_about.h"

#include <gtest/gtest.h>
#include <utime.h>

#include <ctime>

#include "testing.h"

namespace vistrel::geo {
namespace {

TEST(ProgramFileDateTest, LastWriteDateInTheShortDateFormat) {
  testing::TempDir dir;
  const auto file = dir / "vistrel";
  testing::writeFile(file, "x");
  std::tm noon{};
  noon.tm_year = 2024 - 1900;
  noon.tm_mon = 2;  // March
  noon.tm_mday = 5;
  noon.tm_hour = 12;
  noon.tm_isdst = -1;
  const utimbuf times{std::mktime(&noon), std::mktime(&noon)};
  ASSERT_EQ(utime(file.c_str(), &times), 0);

  EXPECT_EQ(programFileDate(file, host::Locale::unitedStates()), "3/5/2024");
  host::Locale german;
  german.shortDateFormat = "dd.MM.yyyy";
  EXPECT_EQ(programFileDate(file, german), "05.03.2024");
  EXPECT_EQ(programFileDate(dir / "missing", german), "01/01/1980") << "the fixed text, whatever the format";
}

}  // namespace
}  // namespace vistrel::geo
