// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/table_sql.h"

#include <gtest/gtest.h>

namespace vistrel::host {
namespace {

// A table keyed by its rowid with an index on two fields, and the statements
// a walk, a range, a filter line and an edit make on it.
TEST(TableSqlTest, StatementsBindEveryValueInTheOrderTheTextNamesThem) {
  TableMeta meta;
  meta.name = "PEOPLE.DB";
  meta.sqlName = "people";
  meta.columns = {{"Id", "ID", ColumnType::kText, 10, true},
                  {"DB", "DB", ColumnType::kText, 9, true},
                  {"Na\"me", "NA\"ME", ColumnType::kText, 20, true}};
  meta.identity = {kRowid};
  IndexMeta byName{"ByName", {1, 2}, false, "people_byname", {1, 2, kRowid}};
  const TableSql q(meta, byName);

  EXPECT_EQ(q.walk({kRowid, 0}, "", Direction::kBackward),
            "SELECT _rowid_, \"Id\" FROM \"people\" INDEXED BY \"people_byname\""
            " ORDER BY \"DB\" DESC, \"Na\"\"me\" DESC, _rowid_ DESC");

  const std::vector<Value> low{"A"}, high{"B", "C"};
  const std::vector<std::pair<int, Value>> lines{{0, Value("7")}};
  std::vector<Value> params;
  const std::string where = q.where({&low, &high, &lines}, {q.compare(byName.order, 3, ">")}, &params);
  EXPECT_EQ(where,
            " WHERE \"DB\" >= ? AND (\"DB\", \"Na\"\"me\") <= (?, ?) AND \"Id\" = ?"
            " AND (\"DB\", \"Na\"\"me\", _rowid_) > (?, ?, ?)");
  ASSERT_EQ(params.size(), 4u) << "the caller appends the values of its own terms";
  EXPECT_EQ(params[0].text(), "A");
  EXPECT_EQ(params[2].text(), "C");
  EXPECT_EQ(params[3].text(), "7");

  params.clear();
  EXPECT_EQ(q.where({}, {}, &params), "");
  EXPECT_TRUE(params.empty());

  EXPECT_EQ(q.update({0, 2}), "UPDATE \"people\" SET \"Id\" = ?, \"Na\"\"me\" = ? WHERE _rowid_ = ?");
  EXPECT_EQ(q.insertAll(), "INSERT INTO \"people\" (\"Id\", \"DB\", \"Na\"\"me\") VALUES (?, ?, ?)");
  EXPECT_EQ(q.removeByIdentity(), "DELETE FROM \"people\" WHERE _rowid_ = ?");
}

}  // namespace
}  // namespace vistrel::host
