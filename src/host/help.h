// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string_view>

// Local help: the Help buttons name a context number, and each number leads
// to a page of HTML among the program's data files. There are two books: the analysis
// windows' help and the filter windows' help, each with a contents page that
// also answers unknown numbers.
namespace vistrel::host {

enum class HelpBook { kVistrel, kTaldb };

// Context numbers of the analysis windows' book.
inline constexpr int kHelpMainWindow = 50;
inline constexpr int kHelpZipCodeAnalysis = 1000;
inline constexpr int kHelpCityAnalysis = 2000;
inline constexpr int kHelpCountryAnalysis = 3000;
inline constexpr int kHelpStateAnalysis = 4000;
inline constexpr int kHelpRanges = 5000;
// Context numbers of the filter windows' book.
inline constexpr int kHelpFilterList = 1226;
inline constexpr int kHelpCriteriaEditor = 3330;

struct HelpTopic {
  std::string_view page;   // asset name below "help/", "vistrel/ranges.html"
  std::string_view title;  // the help window's caption
};

// The topic of `context` in `book`; the book's contents page for a number
// without a page of its own.
HelpTopic helpTopic(HelpBook book, int context);

// The HTML of the page `page` ("vistrel/ranges.html"); none when the program
// holds no such page.
std::optional<std::string_view> helpPageHtml(std::string_view page);

}  // namespace vistrel::host
