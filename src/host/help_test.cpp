// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/help.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace vistrel::host {
namespace {

struct Used {
  const char* window;
  HelpBook book;
  int context;
};
// Every context number a Help button of the program shows.
const Used kUsed[] = {
    {"main window", HelpBook::kVistrel, kHelpMainWindow},
    {"zip code analysis", HelpBook::kVistrel, kHelpZipCodeAnalysis},
    {"city analysis", HelpBook::kVistrel, kHelpCityAnalysis},
    {"country analysis", HelpBook::kVistrel, kHelpCountryAnalysis},
    {"state analysis", HelpBook::kVistrel, kHelpStateAnalysis},
    {"ranges", HelpBook::kVistrel, kHelpRanges},
    {"filter list", HelpBook::kTaldb, kHelpFilterList},
    {"criteria editor", HelpBook::kTaldb, kHelpCriteriaEditor},
};

TEST(HelpTest, EveryUsedContextHasAPageOfItsOwn) {
  std::set<std::string_view> pages;
  for (const Used& u : kUsed) {
    const HelpTopic topic = helpTopic(u.book, u.context);
    EXPECT_NE(topic.page, helpTopic(u.book, -1).page) << u.window;
    const auto html = helpPageHtml(topic.page);
    ASSERT_TRUE(html.has_value()) << u.window << ": " << topic.page;
    EXPECT_NE(html->find("<h1>"), std::string_view::npos) << u.window;
    EXPECT_FALSE(topic.title.empty()) << u.window;
    pages.insert(topic.page);
  }
  EXPECT_EQ(pages.size(), std::size(kUsed));
}

TEST(HelpTest, UnknownContextsOpenTheirBooksContents) {
  EXPECT_EQ(helpTopic(HelpBook::kVistrel, 1226).page, "vistrel/contents.html");
  EXPECT_EQ(helpTopic(HelpBook::kTaldb, 50).page, "taldb/contents.html");
  EXPECT_TRUE(helpPageHtml("vistrel/contents.html").has_value());
  EXPECT_TRUE(helpPageHtml("taldb/contents.html").has_value());
  EXPECT_FALSE(helpPageHtml("vistrel/nothing.html").has_value());
}

// A link in a page leads to another page of the same book.
TEST(HelpTest, LinksBetweenPagesResolve) {
  std::vector<std::string> pages;
  for (const Used& u : kUsed) pages.emplace_back(helpTopic(u.book, u.context).page);
  pages.emplace_back("vistrel/contents.html");
  pages.emplace_back("vistrel/result_window.html");
  pages.emplace_back("taldb/contents.html");
  for (const std::string& page : pages) {
    const auto html = helpPageHtml(page);
    ASSERT_TRUE(html.has_value()) << page;
    const std::string_view text = *html;
    const std::string folder = page.substr(0, page.find('/') + 1);
    const std::string_view href = "href=\"";
    for (std::size_t at = text.find(href); at != std::string_view::npos; at = text.find(href, at + 1)) {
      const std::size_t begin = at + href.size();
      const std::string target = folder + std::string(text.substr(begin, text.find('"', begin) - begin));
      EXPECT_TRUE(helpPageHtml(target).has_value()) << page << " links to " << target;
    }
  }
}

}  // namespace
}  // namespace vistrel::host
