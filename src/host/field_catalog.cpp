// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/field_catalog.h"

#include "host/text.h"

namespace vistrel::host {

const std::array<std::string_view, 11> FieldGroupNames = {
    "Biographical",   "Phone Numbers",           "Fax/E-mail",   "User Fields",
    "Date Fields",    "Numeric Fields",          "Special and Constructed",
    "Database and internal fields", "Event Related Fields", "Event Fields", "WP Fields"};

namespace {

using K = FieldKind;

struct Builder {
  std::array<FieldCatalogEntry, kFieldCount> entries;
  int next = 0;

  void add(std::string name, std::string label, K kind, std::uint8_t table, std::uint8_t group) {
    FieldCatalogEntry& e = entries[static_cast<std::size_t>(next++)];
    e.name = std::move(name);
    e.label = std::move(label);
    e.kind = kind;
    e.table = table;
    e.group = group;
  }
};

std::array<FieldCatalogEntry, kFieldCount> buildCatalog() {
  Builder b;
  const std::uint8_t C = kContactTable, E = kEventTable, N = kNoTable;

  b.add("Recno", "Record Number", K::kText, C, 7);
  b.add("DB", "Contact DB", K::kText, C, 7);
  b.add("FirstName", "First Name", K::kText, C, 0);
  b.add("LastName", "Last Name", K::kText, C, 0);
  b.add("Dear", "Dear", K::kText, C, 0);
  b.add("Salut", "Salutation", K::kText, C, 0);
  b.add("Honor", "Honorific", K::kText, C, 0);
  b.add("Title", "Title", K::kText, C, 0);
  b.add("Company", "Company", K::kText, C, 0);
  b.add("Addr1", "Address 1", K::kText, C, 0);
  b.add("Addr2", "Address 2", K::kText, C, 0);
  b.add("City", "City", K::kText, C, 0);
  b.add("State", "State", K::kText, C, 0);
  b.add("Zip", "Zip Code", K::kText, C, 0);
  b.add("Country", "Country", K::kText, C, 0);
  b.add("Assistant", "Assistant", K::kText, C, 0);
  b.add("Marked", "Marked", K::kMarked, C, 0);
  b.add("Memo", "Memo", K::kMemo, C, 6);
  b.add("MailAddr", "Mailing Address", K::kAddressBlock, C, 6);
  b.add("SecondAddr", "Second Address", K::kAddressBlock, C, 6);
  b.add("LastLetterNo", "Last Letter Number", K::kInteger, C, 8);
  for (int i = 1; i <= 8; ++i) {
    const std::string n = std::to_string(i);
    b.add("Phone" + n, "Phone " + n, K::kText, C, 1);
    b.add("PhExt" + n, "Phone " + n + " Extension", K::kText, C, 1);
    b.add("PhDesc" + n, "Phone " + n + " Description", K::kText, C, 1);
  }
  for (int i = 1; i <= 2; ++i) {
    const std::string n = std::to_string(i);
    b.add("Fax" + n, "Fax " + n, K::kText, C, 2);
    b.add("FaxExt" + n, "Fax " + n + " Extension", K::kText, C, 2);
  }
  for (int i = 1; i <= 3; ++i) {
    const std::string n = std::to_string(i);
    b.add("EMail" + n, "E-mail " + n, K::kText, C, 2);
    b.add("EMailExt" + n, "E-mail " + n + " Extension", K::kText, C, 2);
  }
  for (int i = 1; i <= 16; ++i) b.add("User" + std::to_string(i), "User " + std::to_string(i), K::kText, C, 3);
  b.add("Category", "Category", K::kCategory, C, 0);
  b.add("CategoryDetail", "Category Detail", K::kCategoryDetail, C, 6);
  for (int i = 1; i <= 16; ++i) b.add("Date" + std::to_string(i), "Date " + std::to_string(i), K::kDate, C, 4);
  for (int i = 1; i <= 8; ++i) b.add("Num" + std::to_string(i), "Num " + std::to_string(i), K::kNumber, C, 5);
  for (int i = 1; i <= 8; ++i) b.add("Money" + std::to_string(i), "Money " + std::to_string(i), K::kMoney, C, 5);
  b.add("DateChanged", "DateChanged", K::kDate, C, 7);
  b.add("TimeChanged", "Time Changed", K::kTime, C, 7);
  b.add("DateAdded", "DateAdded", K::kDate, C, 7);
  b.add("TimeAdded", "Time Added", K::kTime, C, 7);
  for (const char* name : {"DateLetter", "DateCall", "DateInCall", "DateMeet", "DateEMail", "DateInEMail",
                           "DateLabel", "DateEnvelope", "DateAttempt", "DateSale", "DateQuote", "DateFax"}) {
    b.add(name, name, K::kDate, C, 8);
  }
  b.add("LastLetterName", "Last Letter Name", K::kText, C, 8);
  b.add("Who", "Who", K::kText, C, 7);
  b.add("WhoAdded", "Who Added", K::kText, C, 7);
  b.add("WhoChanged", "Who Changed", K::kText, C, 7);
  const char* whoEvents[][2] = {
      {"WhoCall", "Who Called"},          {"WhoInCall", "Who Got Call"},
      {"WhoMeet", "Who Met"},             {"WhoLetter", "Who Wrote Letter"},
      {"WhoAttempt", "Who Attempted"},    {"WhoEMail", "Who Sent E-mail"},
      {"WhoInEMail", "Who Got E-mail"}, {"WhoLabel", "Who Printed Label"},
      {"WhoEnvelope", "Who Printed Envelope"},   {"WhoFax", "Who Faxed"},
      {"WhoSale", "Who Made Sale"},       {"WhoQuote", "Who Quoted"}};
  for (const auto& w : whoEvents) b.add(w[0], w[1], K::kText, C, 8);
  b.add("CSZ", "City State Zip", K::kCityStateZip, N, 6);
  b.add("FirstLast", "First and Last Name", K::kFirstLast, N, 6);
  b.add("Today", "Today", K::kToday, N, 6);
  b.add("TimeToday", "Time Now", K::kTimeNow, N, 6);
  b.add("LongToday", "Today Long Form", K::kLongToday, N, 6);
  b.add("LongFileName", "Long File Name", K::kText, N, 10);
  b.add("ShortFileName", "Short File Name", K::kText, N, 10);
  b.add("ERecno", "Event Number", K::kText, E, 9);
  b.add("DB", "Event DB", K::kText, E, 9);
  b.add("EventDate", "Event Date", K::kDate, E, 9);
  b.add("EventTime", "Event Time", K::kTime, E, 9);
  b.add("Recno", "Event Contact Number", K::kText, E, 9);
  b.add("Type", "Event Type", K::kText, E, 9);
  b.add("Where", "Event Where", K::kText, E, 9);
  b.add("Summary", "Event Summary", K::kText, E, 9);
  b.add("Status", "Event Status", K::kText, E, 9);
  b.add("LetterType", "Letter Type", K::kText, E, 9);
  b.add("Completed", "Completed", K::kLogical, E, 9);
  b.add("DateCompleted", "Completed On", K::kDate, E, 9);
  b.add("TimeCompleted", "Completed At", K::kTime, E, 9);
  b.add("Memo", "Event Memo", K::kMemo, E, 9);
  b.add("TemplateName", "Template Name", K::kText, E, 9);
  b.add("ElapsedTime", "Elapsed Time", K::kInteger, E, 9);
  b.add("Alarm", "Alarm", K::kLogical, E, 9);
  b.add("AlarmTime", "Alarm Time", K::kTime, E, 9);
  b.add("AlarmLead", "Alarm Lead", K::kInteger, E, 9);
  b.add("Priority", "Priority", K::kText, E, 9);
  b.add("Duration", "Duration", K::kInteger, E, 9);
  b.add("WhoAdded", "Event Who Added", K::kText, E, 9);
  b.add("DateAdded", "Event Added On", K::kDate, E, 9);
  b.add("TimeAdded", "Event Added At", K::kTime, E, 9);
  b.add("WhoChanged", "Event Who Changed", K::kText, E, 9);
  b.add("DateChanged", "Event Changed On", K::kDate, E, 9);
  b.add("TimeChanged", "Event Changed At", K::kTime, E, 9);
  b.add("Who", "Event Who", K::kText, E, 9);
  b.add("WhoCompleted", "Who Completed", K::kText, E, 9);
  b.add("Sale", "Sale Amount", K::kMoney, E, 9);
  b.add("Likelyhood", "Likelihood", K::kInteger, E, 9);
  b.add("Qallday", "All Day", K::kLogical, E, 9);
  b.add("Qpaid", "Quote Paid", K::kLogical, E, 9);
  b.add("Qtimeless", "Timeless", K::kLogical, E, 9);
  b.add("Paid", "Paid On", K::kDate, E, 9);
  b.add("Plan", "Plan", K::kText, E, 9);
  b.add("Step", "Step", K::kInteger, E, 9);
  b.add("", "", K::kTerminator, N, 7);

  for (FieldCatalogEntry& e : b.entries) e.alias = (e.group >= 3 && e.group <= 5) ? e.name : e.label;
  return b.entries;
}

std::array<FieldCatalogEntry, kFieldCount>& mutableCatalog() {
  static std::array<FieldCatalogEntry, kFieldCount> catalog = buildCatalog();
  return catalog;
}

}  // namespace

const std::array<FieldCatalogEntry, kFieldCount>& FieldCatalog() { return mutableCatalog(); }

void applyFieldAliases(const std::map<std::string, std::string>& aliases) {
  for (FieldCatalogEntry& e : mutableCatalog()) {
    if (e.group < 3 || e.group > 5) continue;
    e.alias = e.name;
    for (const auto& [name, alias] : aliases) {
      if (equalsIgnoreCase(name, e.name) && !alias.empty()) {
        e.alias = std::string(utf8Left(alias, 20));
        break;
      }
    }
  }
}

int FindFieldByLabel(std::string_view text) {
  if (text.empty()) return kUndefinedField;
  const auto& catalog = FieldCatalog();
  for (int i = 0; i < kFieldCount; ++i) {
    if (equalsIgnoreCase(text, catalog[static_cast<std::size_t>(i)].label)) return i;
  }
  return kUndefinedField;
}

int FindFieldByAlias(std::string_view text) {
  const auto& catalog = FieldCatalog();
  for (int i = 0; i < kUndefinedField; ++i) {
    if (equalsIgnoreCase(text, catalog[static_cast<std::size_t>(i)].alias)) return i;
  }
  return kUndefinedField;
}

std::string fieldDisplayText(int position) {
  const FieldCatalogEntry& e = FieldCatalog()[static_cast<std::size_t>(position)];
  if (e.group < 3 || e.group > 5) return e.label;
  std::string text(utf8Left(e.label + " : ", 43));
  text += e.alias;
  return std::string(utf8Left(text, 63));
}

std::vector<FieldTreeNode> fieldTreeNodes(std::bitset<16> excludedGroups, std::bitset<32> excludedKinds,
                                          std::array<int, kFieldCount>* nodeMap) {
  if (nodeMap) nodeMap->fill(-1);
  std::vector<FieldTreeNode> nodes;
  const auto& catalog = FieldCatalog();
  int first = 0;
  while (first < 10 && excludedGroups.test(static_cast<std::size_t>(first))) ++first;
  for (int g = first; g <= 10; ++g) {
    if (g != first && excludedGroups.test(static_cast<std::size_t>(g))) continue;
    nodes.push_back({std::string(FieldGroupNames[static_cast<std::size_t>(g)]), true, g, -1});
    for (int pos = 0; pos < kStepField; ++pos) {
      const FieldCatalogEntry& e = catalog[static_cast<std::size_t>(pos)];
      const auto kind = static_cast<std::size_t>(e.kind);
      if (e.group != g || (kind < 32 && excludedKinds.test(kind))) continue;
      if (nodeMap) (*nodeMap)[static_cast<std::size_t>(pos)] = static_cast<int>(nodes.size());
      nodes.push_back({fieldDisplayText(pos), false, g, pos});
    }
  }
  return nodes;
}

}  // namespace vistrel::host
