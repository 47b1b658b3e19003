// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/host_lists.h"

namespace vistrel::host {

const std::array<std::string_view, 9> EventTypeNames = {
    "CALL", "LETTER", "MEETING", "NOTE", "TO-DO", "HOLIDAY", "ATTEMPT", "SALE", "QUOTE"};

const std::array<EventStatus, 16> EventStatusList = {{
    {"A", "Label"},
    {"B", "Busy"},
    {"E", "Envelope"},
    {"F", "Fax"},
    {"G", "Letter"},
    {"H", "Scheduled"},
    {"I", "Incoming Call"},
    {"L", "Left Message"},
    {"M", "EMail"},
    {"N", "No Answer"},
    {"P", "Paid"},
    {"R", "Received"},
    {"S", "Success"},
    {"T", "Sent"},
    {"V", "Voice Mail"},
    {"", "Not Set"},
}};

int findEventStatusByCode(std::string_view code) {
  for (std::size_t i = 0; i < EventStatusList.size(); ++i) {
    if (EventStatusList[i].code == code) return static_cast<int>(i);
  }
  return -1;
}

int findEventStatusByName(std::string_view name) {
  for (std::size_t i = 0; i < EventStatusList.size(); ++i) {
    if (EventStatusList[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

const std::array<std::string_view, 7> DatabaseTypeNames = {
    "Contact", "Event", "Invoice", "Items", "Parts", "Venders", "None"};

}  // namespace vistrel::host
