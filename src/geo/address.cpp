// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/address.h"

#include "host/text.h"

namespace vistrel::geo {

const std::array<StateInfo, 53> kStateTable = {{
    {"AL", "ALABAMA", "Alabama", true},
    {"AK", "ALASKA", "Alaska", false},
    {"AZ", "ARIZONA", "Arizona", true},
    {"AR", "ARKANSAS", "Arkansas", true},
    {"CA", "CALIFORNIA", "California", true},
    {"CO", "COLORADO", "Colorado", true},
    {"CT", "CONNECTICUT", "Connecticut", true},
    {"DE", "DELAWARE", "Delaware", true},
    {"DC", "WASHINGTON, DC", "Washington, DC", false},
    {"FL", "FLORIDA", "Florida", true},
    {"GA", "GEORGIA", "Georgia", true},
    {"HI", "HAWAII", "Hawaii", false},
    {"ID", "IDAHO", "Idaho", true},
    {"IL", "ILLINOIS", "Illinois", true},
    {"IN", "INDIANA", "Indiana", true},
    {"IA", "IOWA", "Iowa", true},
    {"KS", "KANSAS", "Kansas", true},
    {"KY", "KENTUCKY", "Kentucky", true},
    {"LA", "LOUISIANA", "Louisiana", true},
    {"ME", "MAINE", "Maine", true},
    {"MD", "MARYLAND", "Maryland", true},
    {"MA", "MASSACHUSETTS", "Massachusetts", true},
    {"MI", "MICHIGAN", "Michigan", true},
    {"MN", "MINNESOTA", "Minnesota", true},
    {"MS", "MISSISSIPPI", "Mississippi", true},
    {"MO", "MISSOURI", "Missouri", true},
    {"MT", "MONTANA", "Montana", true},
    {"NE", "NEBRASKA", "Nebraska", true},
    {"NV", "NEVADA", "Nevada", true},
    {"NH", "NEW HAMPSHIRE", "New Hampshire", true},
    {"NJ", "NEW JERSEY", "New Jersey", true},
    {"NM", "NEW MEXICO", "New Mexico", true},
    {"NY", "NEW YORK", "New York", true},
    {"NC", "NORTH CAROLINA", "North Carolina", true},
    {"ND", "NORTH DAKOTA", "North Dakota", true},
    {"OH", "OHIO", "Ohio", true},
    {"OK", "OKLAHOMA", "Oklahoma", true},
    {"OR", "OREGON", "Oregon", true},
    {"PA", "PENNSYLVANIA", "Pennsylvania", true},
    {"PR", "PUERTO RICO", "Puerto Rico", false},
    {"RI", "RHODE ISLAND", "Rhode Island", true},
    {"SC", "SOUTH CAROLINA", "South Carolina", true},
    {"SD", "SOUTH DAKOTA", "South Dakota", true},
    {"TN", "TENNESSEE", "Tennessee", true},
    {"TX", "TEXAS", "Texas", true},
    {"UT", "UTAH", "Utah", true},
    {"VT", "VERMONT", "Vermont", true},
    {"VI", "VIRGIN ISLANDS", "Virgin Islands", false},
    {"VA", "VIRGINIA", "Virginia", true},
    {"WA", "WASHINGTON", "Washington", true},
    {"WV", "WEST VIRGINIA", "West Virginia", true},
    {"WI", "WISCONSIN", "Wisconsin", true},
    {"WY", "WYOMING", "Wyoming", true},
}};

namespace {

// Country values that count as the United States after upper-casing, the
// empty value among them.
constexpr std::array<std::string_view, 7> kUsCountryNames = {
    "USA", "U.S.A", "", "UNITED STATES", "US", "U.S", "AMERICA"};

}  // namespace

bool isUsCountry(std::string_view country) {
  for (std::string_view name : kUsCountryNames) {
    if (host::equalsIgnoreCase(country, name)) return true;
  }
  return false;
}

std::string BlankFieldText(std::string_view value) {
  return value.empty() ? std::string(kBlankFieldText) : std::string(value);
}

bool NormalizeUsZip(std::string& zip, std::string_view country) {
  if (zip.size() < 5) return false;
  if (!isUsCountry(country)) return false;
  for (int i = 0; i < 5; ++i) {
    if (zip[static_cast<std::size_t>(i)] < '0' || zip[static_cast<std::size_t>(i)] > '9') return false;
  }
  zip.resize(5);
  return true;
}

std::string StateAbbreviation(std::string_view name) {
  // Only texts as long as a state name can match; most values are codes.
  if (name.size() >= 4) {
    for (const StateInfo& s : kStateTable) {
      if (host::equalsIgnoreCase(name, s.recognisedName)) return std::string(s.code);
    }
  }
  return std::string(name);
}

std::string_view StateDisplayName(std::string_view code) {
  const StateInfo* s = findState(code);
  return s ? s->displayName : std::string_view();
}

const StateInfo* findState(std::string_view code) {
  for (const StateInfo& s : kStateTable) {
    if (s.code == code) return &s;
  }
  return nullptr;
}

}  // namespace vistrel::geo
