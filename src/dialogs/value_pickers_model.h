// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <bitset>
#include <span>
#include <string_view>

#include "host/field_catalog.h"

// The tables behind the field, event type, status and letter type pickers.
namespace vistrel::dialogs {

// The event type picker: a button caption and the word it stands for.
struct EventTypeChoice {
  std::string_view caption;
  std::string_view word;
};
inline constexpr std::array<EventTypeChoice, 7> kEventTypeChoices = {{{"&Call", "CALL"},
                                                                      {"&Letter", "LETTER"},
                                                                      {"&Meeting", "MEETING"},
                                                                      {"&Note", "NOTE"},
                                                                      {"&Todo", "TO-DO"},
                                                                      {"&Sale", "SALE"},
                                                                      {"&Quote", "QUOTE"}}};
// The button checked for a condition text: the one whose word equals it
// exactly, else the first ("&Call").
int eventTypeChoiceFor(std::string_view conditionText);

// A status button: its caption and the status list entry it stands for.
struct StatusChoice {
  std::string_view caption;
  std::string_view entry;  // a name of EventStatusList
};
struct StatusGroup {
  std::string_view caption;
  std::span<const StatusChoice> choices;
};
std::span<const StatusGroup> eventStatusGroups();
std::span<const StatusGroup> letterTypeGroups();

// Position in EventStatusList of the entry a button stands for (-1 if none).
int statusPositionOf(const StatusChoice& choice);
// The status list position a condition text preselects: the position of the
// name it equals exactly (the text cut to 40 characters), else -1.
int preselectedStatus(std::string_view conditionText);

// The field picker's tree leaves out the WP fields and the constructed,
// category detail and terminator kinds.
std::bitset<16> fieldPickerExcludedGroups();
std::bitset<32> fieldPickerExcludedKinds();

// The node the field picker selects for a field text: the node of the field
// whose label it equals, else the first node (the first group heading).
int fieldPickerPreselection(std::string_view fieldText, const std::array<int, host::kFieldCount>& nodeMap);

}  // namespace vistrel::dialogs
