// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string>
#include <string_view>

// Turns the free-text address fields of a contact into the keys the analyses
// group by: a state name into its two-letter code, a US zip code into its
// first five digits, an empty value into a visible placeholder. Pure
// functions; they never fail.
namespace vistrel::geo {

struct StateInfo {
  std::string_view code;             // two upper-case letters
  std::string_view recognisedName;   // upper case, compared with upper-cased input
  std::string_view displayName;
  bool onMap;                        // drawn on the US map (the 48 contiguous states)
};

// The 53 states, territories and districts in their fixed order.
extern const std::array<StateInfo, 53> kStateTable;

// Means that no state lies under a point of the map.
inline constexpr std::string_view kNoState = "XX";
inline constexpr std::string_view kBlankFieldText = "<<BLANK FIELD>>";

// `value`, or "<<BLANK FIELD>>" when it is empty (a blank value stays).
std::string BlankFieldText(std::string_view value);

// True when `country` names the United States (USA, U.S.A, United States,
// US, U.S, America, ignoring case) or is empty.
bool isUsCountry(std::string_view country);

// True when the contact is a US contact (country empty or one of the US
// country names, ignoring case) and the zip begins with five digits; `zip`
// then holds those five digits. False leaves `zip` unchanged.
bool NormalizeUsZip(std::string& zip, std::string_view country);

// The code of the state whose name equals `name` ignoring case; any other
// value comes back unchanged.
std::string StateAbbreviation(std::string_view name);

// The display name of the row whose code equals `code` exactly; empty when none.
std::string_view StateDisplayName(std::string_view code);

// The row with this code (exact), or nullptr.
const StateInfo* findState(std::string_view code);

}  // namespace vistrel::geo
