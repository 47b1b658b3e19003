// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "dialogs/filter_save.h"

#include <gtest/gtest.h>

#include "filter/filter_text.h"
#include "host/tallis_schema.h"
#include "fixture_data.h"
#include "testing.h"

namespace vistrel::dialogs {
namespace {

class FilterSaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vistrel::testing::makeFixtureDataDir(dir_.path());
    engine_.setAlias(host::kTallisAlias, dir_.path());
    for (auto which : {host::TablePassword::kUsers, host::TablePassword::kContacts, host::TablePassword::kFilters}) {
      engine_.addPassword(host::tallisTablePassword(which));
    }
    model_.setFieldText(1, "City");
    model_.chooseRelation(1, "equals");
    model_.line(1).conditionText = "Boston";
  }

  vistrel::testing::TempDir dir_;
  host::Engine engine_;
  CriteriaEditorModel model_;
  host::FixedClock clock_{45427.0};
  SaveContext context_{"Sales", "DEM", host::Locale::unitedStates(), &clock_};
};

TEST_F(FilterSaveTest, StoresANewRowAndChangesItLater) {
  SelectTableStore store(engine_);
  FilterRecord record;
  ASSERT_EQ(saveCriteria(model_, "Bostonians", record, store, context_), std::nullopt);
  ASSERT_EQ(record.frecno.size(), 20u);  // what the FRecno field holds
  auto stored = store.read(record.frecno);
  ASSERT_TRUE(stored.ok());
  EXPECT_EQ(stored->shortname, "Bostonians");
  EXPECT_EQ(stored->db, "Sales");
  EXPECT_EQ(stored->who, "DEM");
  EXPECT_EQ(stored->type, "CONTACT");
  EXPECT_EQ(stored->selection, filter::joinMemoLines(model_.outputToMemo()));

  context_.currentDb = "Clients";
  const std::string key = record.frecno;
  ASSERT_EQ(saveCriteria(model_, "Bostonians", record, store, context_), std::nullopt);
  EXPECT_EQ(record.frecno, key);
  EXPECT_EQ(store.read(key)->db, "Clients");
}

TEST_F(FilterSaveTest, DuplicateDescriptionLeavesEverythingAsItWas) {
  SelectTableStore store(engine_);
  FilterRecord first;
  ASSERT_EQ(saveCriteria(model_, "Bostonians", first, store, context_), std::nullopt);
  FilterRecord second;
  const auto fault = saveCriteria(model_, "Bostonians", second, store, context_);
  ASSERT_TRUE(fault.has_value());
  EXPECT_EQ(fault->box, CriteriaBox::kDescription);
  EXPECT_EQ(fault->message, kDuplicateDescription);
  EXPECT_TRUE(second.frecno.empty());
}

TEST_F(FilterSaveTest, AFailedWriteIsNamedAndNoDuplicate) {
  struct ReadOnlyStore : FilterRecordStore {
    host::StatusOr<bool> descriptionExists(std::string_view, std::string_view) override { return false; }
    host::StatusOr<std::string> post(const FilterRecord&) override {
      return host::Status::IoError("attempt to write a readonly database");
    }
  } store;
  FilterRecord record;
  record.shortname = "old";
  const auto fault = saveCriteria(model_, "Bostonians", record, store, context_);
  ASSERT_TRUE(fault.has_value());
  EXPECT_EQ(fault->message, "The filter could not be saved: attempt to write a readonly database");
  EXPECT_EQ(record.shortname, "old");
}

TEST_F(FilterSaveTest, ACheckFailureWritesNothing) {
  SelectTableStore store(engine_);
  model_.line(1).conditionText = "";
  FilterRecord record;
  const auto fault = saveCriteria(model_, "Bostonians", record, store, context_);
  ASSERT_TRUE(fault.has_value());
  EXPECT_EQ(fault->message, "The condition for City is blank.");
  EXPECT_FALSE(*store.descriptionExists("Bostonians", ""));
}

}  // namespace
}  // namespace vistrel::dialogs
