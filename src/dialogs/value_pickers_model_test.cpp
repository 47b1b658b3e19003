// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "dialogs/value_pickers_model.h"

#include <gtest/gtest.h>

#include "host/host_lists.h"

namespace vistrel::dialogs {
namespace {

TEST(ValuePickersModelTest, EventTypeAndStatusChoices) {
  EXPECT_EQ(kEventTypeChoices[static_cast<std::size_t>(eventTypeChoiceFor("SALE"))].caption, "&Sale");
  EXPECT_EQ(eventTypeChoiceFor("HOLIDAY"), 0);
  EXPECT_EQ(eventTypeChoiceFor("sale"), 0);

  const int incoming = preselectedStatus("Incoming Call");
  EXPECT_EQ(host::EventStatusList[static_cast<std::size_t>(incoming)].name, "Incoming Call");
  EXPECT_EQ(preselectedStatus("Incoming"), -1);
  // Every button stands for an entry of the status list.
  for (auto groups : {eventStatusGroups(), letterTypeGroups()}) {
    for (const StatusGroup& g : groups) {
      for (const StatusChoice& c : g.choices) EXPECT_GE(statusPositionOf(c), 0) << c.caption;
    }
  }
  EXPECT_EQ(statusPositionOf(eventStatusGroups()[1].choices[1]), incoming);
}

TEST(ValuePickersModelTest, FieldTreeLeavesOutWhatCannotBeTested) {
  std::array<int, host::kFieldCount> nodeMap{};
  const auto nodes = host::fieldTreeNodes(fieldPickerExcludedGroups(), fieldPickerExcludedKinds(), &nodeMap);
  for (const char* absent : {"CSZ", "Today", "CategoryDetail", "Step", "LongFileName"}) {
    for (int p = 0; p < host::kFieldCount; ++p) {
      if (host::FieldCatalog()[static_cast<std::size_t>(p)].name == absent) {
        EXPECT_EQ(nodeMap[static_cast<std::size_t>(p)], -1) << absent;
      }
    }
  }
  int headings = 0;
  for (const auto& n : nodes) headings += n.heading;
  EXPECT_EQ(headings, 10);
  EXPECT_EQ(nodes[0].text, "Biographical");
  EXPECT_EQ(fieldPickerPreselection("", nodeMap), 0);
  EXPECT_EQ(fieldPickerPreselection("no such field", nodeMap), 0);
  const int city = fieldPickerPreselection("city", nodeMap);
  EXPECT_EQ(nodes[static_cast<std::size_t>(city)].text, "City");
}

}  // namespace
}  // namespace vistrel::dialogs
