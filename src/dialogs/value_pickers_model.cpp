// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "dialogs/value_pickers_model.h"

#include "host/host_lists.h"
#include "host/text.h"

namespace vistrel::dialogs {
namespace {

constexpr StatusChoice kLetterStatus[] = {{"Scheduled", "Scheduled"}, {"Received", "Received"}, {"Sent", "Sent"}};
constexpr StatusChoice kCallStatus[] = {{"Busy", "Busy"},           {"Incoming", "Incoming Call"},
                                        {"Left Message", "Left Message"}, {"No Answer", "No Answer"},
                                        {"Success", "Success"},     {"Voice Mail", "Voice Mail"}};
constexpr StatusChoice kSalesStatus[] = {{"Paid", "Paid"}};
constexpr StatusGroup kStatusGroups[] = {{"Letter Related Status", kLetterStatus},
                                         {"Phone Call Related Status", kCallStatus},
                                         {"Sales Related Status", kSalesStatus}};

constexpr StatusChoice kLetterTypes[] = {
    {"Label", "Label"}, {"Envelope", "Envelope"}, {"Fax", "Fax"}, {"Letter", "Letter"}, {"EMail", "EMail"}};
constexpr StatusGroup kLetterTypeGroups[] = {{"Allowed Letter Types", kLetterTypes}};

}  // namespace

int eventTypeChoiceFor(std::string_view conditionText) {
  for (std::size_t i = 0; i < kEventTypeChoices.size(); ++i) {
    if (kEventTypeChoices[i].word == conditionText) return static_cast<int>(i);
  }
  return 0;
}

std::span<const StatusGroup> eventStatusGroups() { return kStatusGroups; }
std::span<const StatusGroup> letterTypeGroups() { return kLetterTypeGroups; }

int statusPositionOf(const StatusChoice& choice) { return host::findEventStatusByName(choice.entry); }

int preselectedStatus(std::string_view conditionText) {
  return host::findEventStatusByName(host::utf8Left(conditionText, 40));
}

std::bitset<16> fieldPickerExcludedGroups() { return std::bitset<16>().set(10); }

std::bitset<32> fieldPickerExcludedKinds() {
  std::bitset<32> kinds;
  for (int k : {9, 10, 11, 12, 13, 17, 18}) kinds.set(static_cast<std::size_t>(k));
  return kinds;
}

int fieldPickerPreselection(std::string_view fieldText, const std::array<int, host::kFieldCount>& nodeMap) {
  const int node = nodeMap[static_cast<std::size_t>(host::FindFieldByLabel(fieldText))];
  return node < 0 ? 0 : node;
}

}  // namespace vistrel::dialogs
