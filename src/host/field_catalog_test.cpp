// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/field_catalog.h"

#include <gtest/gtest.h>

#include <set>

#include "host/text.h"

namespace vistrel::host {
namespace {

TEST(FieldCatalogTest, EveryOfferedEntryHasAUniqueReadableLabel) {
  const auto& catalog = FieldCatalog();
  std::set<std::string> seen;
  for (int i = 0; i < kUndefinedField; ++i) {
    const FieldCatalogEntry& e = catalog[static_cast<std::size_t>(i)];
    ASSERT_FALSE(e.name.empty()) << i;
    EXPECT_LE(e.name.size(), 14u) << e.name;
    EXPECT_FALSE(e.label.empty()) << i;
    EXPECT_LE(utf8Length(e.label), 40u) << e.label;
    EXPECT_LE(utf8Length(e.alias), 20u) << e.alias;
    EXPECT_TRUE(seen.insert(upperAscii(e.label)).second) << "duplicate label " << e.label;
    EXPECT_EQ(FindFieldByLabel(e.label), i) << e.label;
  }
  EXPECT_EQ(catalog[kUndefinedField].kind, FieldKind::kTerminator);
}

TEST(FieldCatalogTest, PositionsKindsAndGroupsFollowTheFixedLayout) {
  const auto& c = FieldCatalog();
  struct Row {
    int pos;
    const char* name;
    FieldKind kind;
    int table;
    int group;
  };
  const Row rows[] = {
      {0, "Recno", FieldKind::kText, 0, 7},          {13, "Zip", FieldKind::kText, 0, 0},
      {16, "Marked", FieldKind::kMarked, 0, 0},      {44, "PhDesc8", FieldKind::kText, 0, 1},
      {54, "EMailExt3", FieldKind::kText, 0, 2},     {70, "User16", FieldKind::kText, 0, 3},
      {71, "Category", FieldKind::kCategory, 0, 0},  {88, "Date16", FieldKind::kDate, 0, 4},
      {104, "Money8", FieldKind::kMoney, 0, 5},      {120, "DateFax", FieldKind::kDate, 0, 8},
      {136, "WhoQuote", FieldKind::kText, 0, 8},     {141, "LongToday", FieldKind::kLongToday, 6, 6},
      {149, "Type", FieldKind::kText, 1, 9},         {152, "Status", FieldKind::kText, 1, 9},
      {153, "LetterType", FieldKind::kText, 1, 9},   {173, "Sale", FieldKind::kMoney, 1, 9},
      {180, "Step", FieldKind::kInteger, 1, 9},
  };
  for (const Row& r : rows) {
    const FieldCatalogEntry& e = c[static_cast<std::size_t>(r.pos)];
    EXPECT_EQ(e.name, r.name) << r.pos;
    EXPECT_EQ(e.kind, r.kind) << r.pos;
    EXPECT_EQ(e.table, r.table) << r.pos;
    EXPECT_EQ(e.group, r.group) << r.pos;
  }
}

TEST(FieldCatalogTest, LabelsAgreeWithTheUserFieldTest) {
  // Labels that start with User, Date, Num or Money are exactly the user,
  // date and numeric fields, apart from the built-in dates named as such.
  const auto& c = FieldCatalog();
  for (int i = 0; i < kUndefinedField; ++i) {
    const FieldCatalogEntry& e = c[static_cast<std::size_t>(i)];
    const std::string u = upperAscii(e.label);
    const bool looksUser = u.rfind("USER", 0) == 0 || u.rfind("NUM", 0) == 0 || u.rfind("MONEY", 0) == 0 ||
                           (u.rfind("DAT", 0) == 0 && u != "DATECHANGED" && u != "DATEADDED" &&
                            !(i >= 109 && i <= 120));
    EXPECT_EQ(looksUser, e.group >= 3 && e.group <= 5) << e.label;
  }
  EXPECT_EQ(c[105].label, "DateChanged");
  EXPECT_EQ(c[110].label, "DateCall");
}

TEST(FieldCatalogTest, LookupsIgnoreCaseAndMissFallToTheTerminator) {
  EXPECT_EQ(FindFieldByLabel(""), kUndefinedField);
  EXPECT_EQ(FindFieldByLabel("ZIP CODE"), 13);
  EXPECT_EQ(FindFieldByLabel("no such"), kUndefinedField);
  EXPECT_EQ(FindFieldByLabel("Step"), kStepField);
  EXPECT_EQ(FindFieldByAlias("user1"), 55);
}

TEST(FieldCatalogTest, AliasesOfUserFieldsComeFromSettingsAndShowAfterTheLabel) {
  applyFieldAliases({{"user1", "Birthday card sent to"}, {"Num2", "Kids"}});
  EXPECT_EQ(FieldCatalog()[55].alias, "Birthday card sent t");
  EXPECT_EQ(fieldDisplayText(90), "Num 2 : Kids");
  EXPECT_EQ(fieldDisplayText(13), "Zip Code");
  applyFieldAliases({});
  EXPECT_EQ(fieldDisplayText(90), "Num 2 : Num2");
}

TEST(FieldCatalogTest, TreeHasHeadingsInGroupOrderAndNeverOffersStep) {
  std::array<int, kFieldCount> map{};
  const auto nodes = fieldTreeNodes({}, {}, &map);
  ASSERT_FALSE(nodes.empty());
  EXPECT_TRUE(nodes[0].heading);
  EXPECT_EQ(nodes[0].text, "Biographical");
  EXPECT_EQ(map[kStepField], -1);
  EXPECT_EQ(nodes[static_cast<std::size_t>(map[13])].text, "Zip Code");
  int headings = 0;
  for (const auto& n : nodes) headings += n.heading ? 1 : 0;
  EXPECT_EQ(headings, 11);

  std::bitset<16> allButWp;
  for (int g = 0; g < 10; ++g) allButWp.set(static_cast<std::size_t>(g));
  const auto wpOnly = fieldTreeNodes(allButWp, {});
  EXPECT_EQ(wpOnly.front().text, "WP Fields");
  std::bitset<16> everything;
  everything.set();
  EXPECT_EQ(fieldTreeNodes(everything, {}).front().text, "WP Fields") << "the last group stands when all are out";
  std::bitset<32> noText;
  noText.set(0);
  for (const auto& n : fieldTreeNodes({}, noText)) {
    if (!n.heading) {
      EXPECT_NE(FieldCatalog()[static_cast<std::size_t>(n.position)].kind, FieldKind::kText);
    }
  }
}

}  // namespace
}  // namespace vistrel::host
