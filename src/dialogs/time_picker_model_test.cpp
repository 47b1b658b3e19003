// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "dialogs/time_picker_model.h"

#include <gtest/gtest.h>

namespace vistrel::dialogs {
namespace {

TEST(TimePickerModelTest, PointerToTime) {
  struct Row {
    const char* name;
    int p;
    HourMinute expected;
  };
  const Row rows[] = {
      {"13:47 start pressed again", 290, {13, 45}},
      {"far left", 15, {0, 0}},
      {"0:00 mark", 16, {0, 0}},
      {"minute 3", 17, {0, 5}},
      {"minute 18 gives 15", 22, {0, 15}},
      {"minute 27 gives 30", 25, {0, 30}},
      {"minute 42 gives 45", 30, {0, 45}},
      {"minute 57 gives the next hour", 35, {1, 0}},
      {"23:57 gives 0:00", 495, {0, 0}},
      {"24:00 and past", 496, {0, 0}},
  };
  for (const Row& row : rows) EXPECT_EQ(timeOfPointer(row.p), row.expected) << row.name;
  EXPECT_EQ(pointerOfTime({13, 47}), 290);
  EXPECT_EQ(pointerOfTime({0, 0}), 15);
  EXPECT_TRUE(pointerDrawable(15));
  EXPECT_FALSE(pointerDrawable(14));
  EXPECT_TRUE(pointerDrawable(495));
  EXPECT_FALSE(pointerDrawable(496));
}

TEST(TimePickerModelTest, Keys) {
  struct Row {
    const char* name;
    HourMinute from;
    TimeKey key;
    HourMinute expected;
  };
  const Row rows[] = {
      {"down over the hour", {10, 0}, TimeKey::kDown, {9, 59}},
      {"up over the hour", {9, 59}, TimeKey::kUp, {10, 0}},
      {"up at 23:59", {23, 59}, TimeKey::kUp, {23, 59}},
      {"down at 0:00", {0, 0}, TimeKey::kDown, {0, 0}},
      {"page up at 23:10", {23, 10}, TimeKey::kPageUp, {23, 10}},
      {"page up", {22, 10}, TimeKey::kPageUp, {23, 10}},
      {"page down at 0:30", {0, 30}, TimeKey::kPageDown, {0, 30}},
  };
  for (const Row& row : rows) EXPECT_EQ(stepTime(row.from, row.key), row.expected) << row.name;
}

TEST(TimePickerModelTest, TextsAndStart) {
  host::Locale us;
  host::Locale h24;
  h24.clock24 = true;
  host::FixedClock clock(46000 + host::encodeTime(15, 7, 31));
  EXPECT_EQ(shortTimeText({0, 5}, us), "12:05 AM");
  EXPECT_EQ(shortTimeText({13, 45}, h24), "13:45");
  EXPECT_EQ(itIsText(clock, us), "It is 3:07 PM");
  EXPECT_EQ(startTime("1:45 PM", clock, us), (HourMinute{13, 45}));
  EXPECT_EQ(startTime("", clock, us), (HourMinute{15, 7}));
  EXPECT_EQ(startTime("half past", clock, us), (HourMinute{15, 7}));
  EXPECT_EQ(startTime("25:99", clock, h24), (HourMinute{15, 7}));
  EXPECT_TRUE(twelveHourStrip(us));
  EXPECT_FALSE(twelveHourStrip(h24));
}

}  // namespace
}  // namespace vistrel::dialogs
