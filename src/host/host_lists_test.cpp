// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/host_lists.h"

#include <gtest/gtest.h>

namespace vistrel::host {
namespace {

TEST(HostListsTest, StatusCodesAndNamesMapBothWays) {
  EXPECT_EQ(EventStatusList[static_cast<std::size_t>(findEventStatusByCode("P"))].name, "Paid");
  EXPECT_EQ(EventStatusList[static_cast<std::size_t>(findEventStatusByName("Paid"))].code, "P");
  EXPECT_EQ(findEventStatusByName("Not Set"), 15);
  EXPECT_EQ(findEventStatusByCode(""), 15) << "an empty code means Not Set";
  EXPECT_EQ(findEventStatusByCode("p"), -1) << "codes match exactly";
  EXPECT_EQ(findEventStatusByName("paid"), -1);
}

TEST(HostListsTest, TableCodesIndexTheDatabaseTypeNames) {
  EXPECT_EQ(DatabaseTypeNames[0], "Contact");
  EXPECT_EQ(DatabaseTypeNames[1], "Event");
  EXPECT_EQ(DatabaseTypeNames[6], "None");
  EXPECT_EQ(EventTypeNames[5], "HOLIDAY");
}

}  // namespace
}  // namespace vistrel::host
