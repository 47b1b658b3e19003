// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/store.h"

#include <gtest/gtest.h>

#include "host/engine.h"
#include "testing.h"

namespace vistrel::host {
namespace {

// A walk over rows stops at a failure and reports it; it never takes it for
// the end of the rows.
TEST(StatementTest, AFailureAmongTheRowsIsNotTheirEnd) {
  testing::TempDir dir;
  ASSERT_TRUE(Engine::createDataDirectory(dir.path()).ok());
  Engine engine;
  engine.setAlias("D", dir.path());
  auto store = engine.store("D");
  ASSERT_TRUE(store.ok()) << store.status().message();
  ASSERT_TRUE((*store)->exec("CREATE TABLE t (x INTEGER); INSERT INTO t VALUES (1), (2), (3)", "t").ok());
  Statement st(**store, "SELECT CASE WHEN x = 3 THEN abs(-9223372036854775807 - 1) ELSE x END FROM t",
               "T.DB");
  int rows = 0;
  Status failure;
  for (;;) {
    auto row = st.step();
    if (!row.ok()) {
      failure = row.status();
      break;
    }
    if (!*row) break;
    ++rows;
  }
  EXPECT_EQ(rows, 2);
  EXPECT_EQ(failure.message(), "T.DB: integer overflow");
}

}  // namespace
}  // namespace vistrel::host
