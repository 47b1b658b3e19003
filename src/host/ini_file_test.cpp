// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/ini_file.h"

#include <gtest/gtest.h>

#include "testing.h"

namespace vistrel::host {
namespace {

TEST(IniFileTest, KeysAndSectionsMatchIgnoringCase) {
  const IniFile ini = IniFile::parse("[Ranges]\r\nr3lo = 17\r\nR3HI=32\r\n; R4Lo=1\r\n[other]\r\nR3Lo=99\r\n");
  EXPECT_EQ(ini.readInteger("RANGES", "R3Lo", 0), 17);
  EXPECT_EQ(ini.readInteger("ranges", "r3hi", 0), 32);
  EXPECT_EQ(ini.readInteger("Ranges", "R4Lo", 5), 5) << "comment lines are not keys";
}

TEST(IniFileTest, NonNumbersFallBack) {
  const IniFile ini = IniFile::parse("[R]\nA=x\nB=\nC=12x\nD=-4\n");
  EXPECT_EQ(ini.readInteger("R", "A", 7), 7);
  EXPECT_EQ(ini.readInteger("R", "B", 7), 7);
  EXPECT_EQ(ini.readInteger("R", "C", 7), 7);
  EXPECT_EQ(ini.readInteger("R", "D", 7), -4);
}

TEST(IniFileTest, SetValueKeepsOtherLinesAndSavesAtomically) {
  testing::TempDir dir;
  testing::writeFile(dir / "v.ini", "; kept\n[Aliases]\nTALDB=/x\n\n[Ranges]\nR1Lo=1\n");
  IniFile ini = IniFile::load(dir / "v.ini");
  ini.setValue("ranges", "r1lo", "2");
  ini.setValue("Ranges", "R1Hi", "9");
  ini.setValue("New", "Key", "v");
  ASSERT_TRUE(ini.save(dir / "v.ini").ok());
  const IniFile back = IniFile::load(dir / "v.ini");
  EXPECT_EQ(back.readInteger("Ranges", "R1Lo", 0), 2);
  EXPECT_EQ(back.readInteger("Ranges", "R1Hi", 0), 9);
  EXPECT_EQ(back.readString("Aliases", "TALDB", ""), "/x");
  EXPECT_EQ(back.readString("New", "Key", ""), "v");
  EXPECT_NE(testing::readFile(dir / "v.ini").find("; kept"), std::string::npos);
}

TEST(IniFileTest, AnUnreadableFileIsNotTakenForAnEmptyOne) {
  testing::TempDir dir;
  EXPECT_TRUE(IniFile::loadForUpdate(dir / "missing.ini").ok());
  std::filesystem::create_directory(dir / "a-folder.ini");  // exists, cannot be read as a file
  EXPECT_FALSE(IniFile::loadForUpdate(dir / "a-folder.ini").ok());
}

TEST(IniFileTest, SaveIntoMissingFolderFails) {
  testing::TempDir dir;
  IniFile ini;
  ini.setValue("A", "B", "C");
  EXPECT_FALSE(ini.save(dir / "no" / "such" / "v.ini").ok());
}

}  // namespace
}  // namespace vistrel::host
