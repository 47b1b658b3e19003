// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/field_catalog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

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

// The names of a run: "A, B, C", or "User1 to User16" for a numbered series.
std::vector<std::string> runNames(const std::string& text) {
  std::vector<std::string> out;
  if (const std::size_t to = text.find(" to "); to != std::string::npos) {
    std::string stem = text.substr(0, to);
    while (!stem.empty() && stem.back() >= '0' && stem.back() <= '9') stem.pop_back();
    const int last = std::stoi(text.substr(to + 4 + stem.size()));
    for (int i = 1; i <= last; ++i) out.push_back(stem + std::to_string(i));
    return out;
  }
  for (std::size_t from = 0; from <= text.size();) {
    const std::size_t comma = std::min(text.find(", ", from), text.size());
    out.push_back(text.substr(from, comma - from));
    from = comma + 2;
  }
  return out;
}

TEST(FieldCatalogTest, PositionsKindsAndGroupsFollowTheFixedLayout) {
  // Runs of consecutive entries that share kind code, table and group.
  struct Run {
    const char* names;
    int kind;
    int table;
    int group;
  };
  const Run runs[] = {
      {"Recno, DB", 0, 0, 7},
      {"FirstName, LastName, Dear, Salut, Honor, Title, Company, Addr1, Addr2, City, State, Zip, Country, Assistant",
       0, 0, 0},
      {"Marked", 15, 0, 0},
      {"Memo", 1, 0, 6},
      {"MailAddr, SecondAddr", 8, 0, 6},
      {"LastLetterNo", 2, 0, 8},
      {"Phone1, PhExt1, PhDesc1, Phone2, PhExt2, PhDesc2, Phone3, PhExt3, PhDesc3, Phone4, PhExt4, PhDesc4, "
       "Phone5, PhExt5, PhDesc5, Phone6, PhExt6, PhDesc6, Phone7, PhExt7, PhDesc7, Phone8, PhExt8, PhDesc8",
       0, 0, 1},
      {"Fax1, FaxExt1, Fax2, FaxExt2, EMail1, EMailExt1, EMail2, EMailExt2, EMail3, EMailExt3", 0, 0, 2},
      {"User1 to User16", 0, 0, 3},
      {"Category", 16, 0, 0},
      {"CategoryDetail", 17, 0, 6},
      {"Date1 to Date16", 4, 0, 4},
      {"Num1 to Num8", 3, 0, 5},
      {"Money1 to Money8", 14, 0, 5},
      {"DateChanged", 4, 0, 7},
      {"TimeChanged", 5, 0, 7},
      {"DateAdded", 4, 0, 7},
      {"TimeAdded", 5, 0, 7},
      {"DateLetter, DateCall, DateInCall, DateMeet, DateEMail, DateInEMail, DateLabel, DateEnvelope, DateAttempt, "
       "DateSale, DateQuote, DateFax",
       4, 0, 8},
      {"LastLetterName", 0, 0, 8},
      {"Who, WhoAdded, WhoChanged", 0, 0, 7},
      {"WhoCall, WhoInCall, WhoMeet, WhoLetter, WhoAttempt, WhoEMail, WhoInEMail, WhoLabel, WhoEnvelope, WhoFax, "
       "WhoSale, WhoQuote",
       0, 0, 8},
      {"CSZ", 9, 6, 6},
      {"FirstLast", 10, 6, 6},
      {"Today", 11, 6, 6},
      {"TimeToday", 12, 6, 6},
      {"LongToday", 13, 6, 6},
      {"LongFileName, ShortFileName", 0, 6, 10},
      {"ERecno, DB", 0, 1, 9},
      {"EventDate", 4, 1, 9},
      {"EventTime", 5, 1, 9},
      {"Recno, Type, Where, Summary, Status, LetterType", 0, 1, 9},
      {"Completed", 6, 1, 9},
      {"DateCompleted", 4, 1, 9},
      {"TimeCompleted", 5, 1, 9},
      {"Memo", 1, 1, 9},
      {"TemplateName", 0, 1, 9},
      {"ElapsedTime", 2, 1, 9},
      {"Alarm", 6, 1, 9},
      {"AlarmTime", 5, 1, 9},
      {"AlarmLead", 2, 1, 9},
      {"Priority", 0, 1, 9},
      {"Duration", 2, 1, 9},
      {"WhoAdded", 0, 1, 9},
      {"DateAdded", 4, 1, 9},
      {"TimeAdded", 5, 1, 9},
      {"WhoChanged", 0, 1, 9},
      {"DateChanged", 4, 1, 9},
      {"TimeChanged", 5, 1, 9},
      {"Who, WhoCompleted", 0, 1, 9},
      {"Sale", 14, 1, 9},
      {"Likelyhood", 2, 1, 9},
      {"Qallday, Qpaid, Qtimeless", 6, 1, 9},
      {"Paid", 4, 1, 9},
      {"Plan", 0, 1, 9},
      {"Step", 2, 1, 9},
      {"", 18, 6, 7},  // the terminator
  };
  const auto& c = FieldCatalog();
  std::size_t pos = 0;
  for (const Run& r : runs) {
    for (const std::string& name : runNames(r.names)) {
      ASSERT_LT(pos, c.size()) << name;
      const FieldCatalogEntry& e = c[pos];
      EXPECT_EQ(e.name, name) << pos;
      EXPECT_EQ(static_cast<int>(e.kind), r.kind) << pos << " " << name;
      EXPECT_EQ(e.table, r.table) << pos << " " << name;
      EXPECT_EQ(e.group, r.group) << pos << " " << name;
      ++pos;
    }
  }
  EXPECT_EQ(pos, 182u);
  EXPECT_EQ(c.size(), 182u);
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
