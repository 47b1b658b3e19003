// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "filter/filter_list_model.h"

#include <gtest/gtest.h>

#include <functional>

#include "filter/filter_text.h"
#include "fixture_data.h"

namespace vistrel::filter {
namespace {

using Messages = FilterListModel::Messages;

// Filters Alpha, Bravo and Charlie of DEM and Delta of ABC, each selecting
// the Sales contacts whose last name is not blank; the list counts Sales.
struct ListFixture {
  testing::FixtureEngine fixture{{host::TablePassword::kUsers, host::TablePassword::kContacts,
                                  host::TablePassword::kFilters}};
  host::Engine& engine = fixture.engine;
  host::FixedClock clock{45427.0};
  FilterSession session;
  FilterListModel model{engine, session};
  std::string text;

  ListFixture() {
    FilterLine named;
    named.field = "Last Name";
    named.condition = static_cast<int>(RelationCode::kIsNotBlank);
    text = joinMemoLines({writeFilterLine(named)});
    for (const auto& [name, who] : {std::pair{"Alpha", "DEM"}, {"Bravo", "DEM"}, {"Charlie", "DEM"}, {"Delta", "ABC"}}) {
      EXPECT_TRUE(addFilter(engine, {name, "Sales", who, "CONTACT", text, ""}, clock).ok());
    }
    session.CurrentWho = "DEM";
    model.setClock(clock);
    model.setDatabase("Sales");
    model.setWho("DEM");
  }
  void standOn(std::string_view name) {
    for (std::size_t i = 0; i < model.rows().size(); ++i) {
      if (model.rows()[i].shortname == name) model.setCurrent(static_cast<int>(i));
    }
  }
  std::string stoodOn() const { return model.currentRow() ? model.currentRow()->shortname : "(none)"; }
};

FilterListControls withRows() {
  FilterListControls c;
  c.activate = c.deactivate = c.count = c.add = c.edit = c.copy = c.remove = true;
  c.help = c.cancel = c.users = c.grid = true;
  return c;
}
FilterListControls withoutRows(bool filterActive) {
  FilterListControls c;
  c.add = c.help = c.cancel = c.users = c.grid = true;
  c.deactivate = filterActive;
  return c;
}
FilterListControls whileCounting() {
  FilterListControls c;
  c.count = c.countAborts = true;
  return c;
}

// Where the list stands after each step, which controls are live then, and
// what it says.
TEST(FilterListModelTest, StandsOnTheRowEachStepLeavesAndOffersItsControls) {
  const struct {
    const char* name;
    std::function<Messages(ListFixture&)> act;
    const char* standsOn;
    FilterListControls controls;
    const char* message = "";  // a part of the one message, if any
  } cases[] = {
      {"a user's view starts on the first row", [](ListFixture&) { return Messages{}; }, "Alpha", withRows()},
      {"reopening stands on the active filter",
       [](ListFixture& f) {
         f.standOn("Bravo");
         f.model.activate(false);
         f.model.setWho("DEM");
         return f.model.reopen();
       },
       "Bravo", withRows()},
      {"an empty view has nothing to act on", [](ListFixture& f) { return f.model.setWho("XYZ"); }, "(none)",
       withoutRows(false)},
      {"an active filter can be deactivated from an empty view",
       [](ListFixture& f) {
         f.model.activate(false);
         return f.model.setWho("XYZ");
       },
       "(none)", withoutRows(true)},
      {"a saved Add stands on the new filter",
       [](ListFixture& f) {
         f.standOn("Charlie");
         f.model.beginAdd();
         EXPECT_TRUE(addFilter(f.engine, {"Aardvark", "Sales", "DEM", "CONTACT", f.text, ""}, f.clock).ok());
         return f.model.endAdd(true);
       },
       "Aardvark", withRows()},
      {"a cancelled Add stays put",
       [](ListFixture& f) {
         f.standOn("Charlie");
         f.model.beginAdd();
         return f.model.endAdd(false);
       },
       "Charlie", withRows()},
      {"an Edit that renames follows the filter",
       [](ListFixture& f) {
         f.standOn("Alpha");
         StoredFilter renamed = *f.model.currentRow();
         renamed.shortname = "Zulu";
         EXPECT_TRUE(saveFilter(f.engine, renamed, f.clock).ok());
         return f.model.endEdit(true);
       },
       "Zulu", withRows()},
      {"a Copy stands on the copy",
       [](ListFixture& f) {
         f.standOn("Charlie");
         return f.model.copy("A copy of Charlie");
       },
       "A copy of Charlie", withRows()},
      {"a Copy onto a taken name stays put and says so",
       [](ListFixture& f) {
         f.standOn("Charlie");
         return f.model.copy("Alpha");
       },
       "Charlie", withRows(), "Unable to copy filter: Description already exists"},
      {"a Delete stands on the row that followed",
       [](ListFixture& f) {
         f.standOn("Bravo");
         return f.model.remove();
       },
       "Charlie", withRows()},
      {"a Delete of the last row stands on the new last row",
       [](ListFixture& f) {
         f.standOn("Charlie");
         return f.model.remove();
       },
       "Bravo", withRows()},
      {"a count leaves only Abort live, and nothing else acts meanwhile",
       [](ListFixture& f) {
         f.standOn("Bravo");
         Messages during;
         f.model.count([&](const SelectionCount&) {
           EXPECT_EQ(f.model.controls(), whileCounting());
           f.model.setCurrent(0);
           for (const std::string& m : f.model.copy("Bravo 2")) during.push_back(m);
           for (const std::string& m : f.model.remove()) during.push_back(m);
           for (const std::string& m : f.model.activate(false)) during.push_back(m);
         });
         EXPECT_EQ(f.model.rows().size(), 3u);
         return during;
       },
       "Bravo", withRows()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ListFixture f;
    const Messages messages = c.act(f);
    EXPECT_EQ(f.stoodOn(), c.standsOn);
    EXPECT_EQ(f.model.controls(), c.controls);
    if (*c.message == '\0') {
      EXPECT_TRUE(messages.empty()) << messages.front();
    } else {
      ASSERT_EQ(messages.size(), 1u);
      EXPECT_EQ(messages[0].rfind(c.message, 0), 0u) << messages[0];
    }
  }
}

// A count measures the highlighted filter over the list's database and
// leaves no filter active; its figures name what they cover and go when
// the list opens again, when the database changes or the filter is edited.
TEST(FilterListModelTest, CountFiguresBelongToTheirFilterAndDatabase) {
  const struct {
    const char* name;
    std::function<void(ListFixture&)> after;
    bool kept;
  } cases[] = {
      {"moving to another row", [](ListFixture& f) { f.standOn("Alpha"); }, true},
      {"reopening", [](ListFixture& f) { f.model.reopen(); }, false},
      {"another database", [](ListFixture& f) { f.model.setDatabase("Clients"); }, false},
      {"editing the counted filter", [](ListFixture& f) { f.model.endEdit(true); }, false},
      {"editing another filter",
       [](ListFixture& f) {
         f.standOn("Alpha");
         f.model.endEdit(true);
       },
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ListFixture f;
    f.standOn("Bravo");
    f.model.activate(true);
    EXPECT_TRUE(f.model.count().empty());
    EXPECT_FALSE(f.session.activeFilter.active());
    ASSERT_TRUE(f.model.figures());
    EXPECT_EQ(f.model.figures()->filter, "Bravo");
    EXPECT_EQ(f.model.figures()->database, "Sales");
    EXPECT_TRUE(f.model.figures()->count.complete);
    EXPECT_EQ(f.model.figures()->count.total, 13);
    c.after(f);
    EXPECT_EQ(f.model.figures().has_value(), c.kept);
  }
}

}  // namespace
}  // namespace vistrel::filter
