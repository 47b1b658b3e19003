// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/help.h"

#include <string>

#include "host/assets.h"

namespace vistrel::host {
namespace {

struct Entry {
  HelpBook book;
  int context;
  HelpTopic topic;
};

constexpr Entry kTopics[] = {
    {HelpBook::kVistrel, kHelpMainWindow, {"vistrel/main.html", "Vistrel Help - Main window"}},
    {HelpBook::kVistrel, kHelpZipCodeAnalysis, {"vistrel/zip_code.html", "Vistrel Help - Zip Code Analysis"}},
    {HelpBook::kVistrel, kHelpCityAnalysis, {"vistrel/city.html", "Vistrel Help - City Analysis"}},
    {HelpBook::kVistrel, kHelpCountryAnalysis, {"vistrel/country.html", "Vistrel Help - Country Analysis"}},
    {HelpBook::kVistrel, kHelpStateAnalysis, {"vistrel/state.html", "Vistrel Help - State Analysis"}},
    {HelpBook::kVistrel, kHelpRanges, {"vistrel/ranges.html", "Vistrel Help - Ranges"}},
    {HelpBook::kTaldb, kHelpFilterList, {"taldb/filter_list.html", "Filter Help - Select a filter"}},
    {HelpBook::kTaldb, kHelpCriteriaEditor, {"taldb/criteria_editor.html", "Filter Help - Set contact filter"}},
};

constexpr HelpTopic kVistrelContents{"vistrel/contents.html", "Vistrel Help"};
constexpr HelpTopic kTaldbContents{"taldb/contents.html", "Filter Help"};

}  // namespace

HelpTopic helpTopic(HelpBook book, int context) {
  for (const Entry& e : kTopics) {
    if (e.book == book && e.context == context) return e.topic;
  }
  return book == HelpBook::kVistrel ? kVistrelContents : kTaldbContents;
}

std::optional<std::string_view> helpPageHtml(std::string_view page) {
  return asset("help/" + std::string(page));
}

}  // namespace vistrel::host
