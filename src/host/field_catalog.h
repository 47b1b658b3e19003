// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// The one list of every field a filter criterion can name: the contact
// fields, the event fields and a few constructed fields. Entries are known
// inside the program by position (0 to 181); stored filters name them by label.
namespace vistrel::host {

enum class FieldKind : std::uint8_t {
  kText = 0,
  kMemo = 1,
  kInteger = 2,
  kNumber = 3,
  kDate = 4,
  kTime = 5,
  kLogical = 6,
  kAddressBlock = 8,
  kCityStateZip = 9,
  kFirstLast = 10,
  kToday = 11,
  kTimeNow = 12,
  kLongToday = 13,
  kMoney = 14,
  kMarked = 15,
  kCategory = 16,
  kCategoryDetail = 17,
  kTerminator = 18,
};

// Table codes; also positions in DatabaseTypeNames.
inline constexpr std::uint8_t kContactTable = 0;
inline constexpr std::uint8_t kEventTable = 1;
inline constexpr std::uint8_t kNoTable = 6;

struct FieldCatalogEntry {
  std::string name;   // the field's name in its table, at most 14 characters
  std::string label;  // display label written into stored filters, at most 40
  std::string alias;  // second name, at most 20 characters
  FieldKind kind = FieldKind::kText;
  std::uint8_t table = kNoTable;
  std::uint8_t group = 0;
};

inline constexpr int kFieldCount = 182;
inline constexpr int kUndefinedField = 181;  // the terminator entry
inline constexpr int kStepField = 180;       // never offered in the field tree

extern const std::array<std::string_view, 11> FieldGroupNames;

// The catalog. Labels are fixed; the aliases of groups 3 to 5 (user, date and
// numeric fields) can be renamed from the data directory's settings, all
// other aliases equal their label.
const std::array<FieldCatalogEntry, kFieldCount>& FieldCatalog();

// Sets the alias of each user, date and numeric field named in `aliases`
// (field name -> alias, names matched ignoring case); the others fall back to
// their field name. Aliases are cut to 20 characters.
void applyFieldAliases(const std::map<std::string, std::string>& aliases);

// Position of the field whose label equals `text` ignoring case, or 181.
int FindFieldByLabel(std::string_view text);
// Position of the field whose alias equals `text` ignoring case, or 181.
int FindFieldByAlias(std::string_view text);

// The text a field shows in lists: the label, or for groups 3 to 5 the label,
// " : " and the alias, cut as the field tree cuts it.
std::string fieldDisplayText(int position);

// One node of the field tree, in the order the tree is filled.
struct FieldTreeNode {
  std::string text;
  bool heading = false;
  int group = 0;
  int position = -1;  // catalog position, -1 for a heading
};

// The nodes of the field picker's tree: a heading per group not excluded and
// under it one child per field (see AddFieldTree). `nodeMap` receives, for
// each catalog position added, the absolute index of its node, and -1 for the
// positions not added.
std::vector<FieldTreeNode> fieldTreeNodes(std::bitset<16> excludedGroups,
                                          std::bitset<32> excludedKinds,
                                          std::array<int, kFieldCount>* nodeMap = nullptr);

}  // namespace vistrel::host
