// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "filter/filter_evaluator.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdio>
#include <functional>
#include <random>
#include <set>

#include "filter/filter_text.h"
#include "host/tallis_schema.h"
#include "host/text.h"
#include "testing.h"

namespace vistrel::filter {
namespace {

using Row = std::vector<std::pair<const char*, std::string>>;

FilterLine line(const char* field, int condition, std::string value, int connector = 0) {
  FilterLine l;
  l.database = "Contact";
  l.field = field;
  l.condition = condition;
  l.value = std::move(value);
  l.connector = connector;
  return l;
}

std::string definition(const std::vector<FilterLine>& lines) {
  std::vector<std::string> texts;
  for (const FilterLine& l : lines) texts.push_back(writeFilterLine(l));
  return joinMemoLines(texts);
}

// A data directory with a few contacts of database Sales and their events.
class FilterEvaluatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host::Engine::createDataDirectory(dir_.path()).ok());
    engine_.setAlias(host::kTallisAlias, dir_.path());
    for (auto w : {host::TablePassword::kUsers, host::TablePassword::kContacts, host::TablePassword::kFilters}) {
      engine_.addPassword(host::tallisTablePassword(w));
    }
    ASSERT_TRUE(host::createTallisTables(engine_, host::kTallisAlias).ok());
  }

  void add(std::string_view table, const Row& values) {
    host::Table t(engine_, std::string(host::kTallisAlias), std::string(table));
    ASSERT_TRUE(t.open().ok());
    ASSERT_TRUE(t.insert().ok());
    for (const auto& [name, value] : values) ASSERT_TRUE(t.fieldByName(name)->setText(value).ok()) << name;
    ASSERT_TRUE(t.post().ok());
  }

  void addSmallData() {
    add(host::kContactTableName, {{"Recno", "R1"}, {"DB", "Sales"}, {"LastName", "Smith"},
                                  {"Phone1", "5551234567"}, {"Num1", "1.5"}, {"Category", "AB"}});
    add(host::kContactTableName, {{"Recno", "R2"}, {"DB", "Sales"}, {"LastName", "SMITH"},
                                  {"Phone1", "(555) 123-4567"}, {"Num1", "2"}, {"Category", "C"}});
    add(host::kContactTableName, {{"Recno", "R3"}, {"DB", "Sales"}, {"LastName", "smith"}});
    add(host::kContactTableName, {{"Recno", "R4"}, {"DB", "Sales"}, {"LastName", "SMJ"}});
    add(host::kContactTableName, {{"Recno", "R5"}, {"DB", "Sales"}, {"LastName", "Jones"}});
    add(host::kEventTableName, {{"ERecno", "E1"}, {"Recno", "R1"}, {"Type", "CALL"}, {"Completed", "True"}});
    add(host::kEventTableName, {{"ERecno", "E2"}, {"Recno", "R1"}, {"Type", "LETTER"}});
    add(host::kEventTableName, {{"ERecno", "E3"}, {"Recno", "R1"}, {"Type", "CALL"}});
    add(host::kEventTableName, {{"ERecno", "E4"}, {"Recno", "R2"}, {"Type", "LETTER"}});
  }

  // The values of `field` of the records of `tableName` that the filter accepts.
  std::set<std::string> accepted(CompiledFilter& filter, std::string_view tableName, const char* field) {
    FilterEvaluator evaluator(filter, engine_, "DEM");
    host::Table t(engine_, std::string(host::kTallisAlias), std::string(tableName));
    EXPECT_TRUE(t.open().ok());
    std::set<std::string> out;
    EXPECT_TRUE(t.first().ok());
    while (!t.eof()) {
      if (evaluator.applyselection(t)) out.insert(t.fieldByName(field)->asText());
      EXPECT_TRUE(evaluator.status().ok()) << evaluator.status().ToString();
      EXPECT_TRUE(t.next().ok());
    }
    return out;
  }

  bool activate(CompiledFilter& filter, const std::vector<FilterLine>& lines) {
    return filter.activatethisfilter("test", definition(lines), "DEM", clock_, host::Locale()).empty();
  }

  testing::TempDir dir_;
  host::Engine engine_;
  host::FixedClock clock_{45427.0};  // 15 May 2024
};

TEST_F(FilterEvaluatorTest, RelationsOnContactsAndEvents) {
  addSmallData();
  FilterLine caseSensitive = line("Last Name", 5, "smith");
  caseSensitive.caseSensitive = true;
  FilterLine phone = line("Phone 1", 5, "(555) 123-4567");
  phone.ignorePunctuation = true;
  const struct {
    const char* name;
    std::vector<FilterLine> lines;
    std::set<std::string> contacts;  // last names accepted
    std::set<std::string> events;    // event keys accepted
  } cases[] = {
      {"equals ignores case", {line("Last Name", 5, "smith")}, {"Smith", "SMITH", "smith"}, {"E1", "E2", "E3", "E4"}},
      {"case-sensitive equals", {caseSensitive}, {"smith"}, {}},
      {"ignore punctuation keeps the digits of the value only", {phone}, {"Smith"}, {"E1", "E2", "E3"}},
      {"less or equal takes the value as a prefix", {line("Last Name", 4, "SMI")},
       {"Smith", "SMITH", "smith", "Jones"}, {"E1", "E2", "E3", "E4"}},
      {"a comma as decimal mark", {line("Num 1", 5, "1,5")}, {"Smith"}, {"E1", "E2", "E3"}},
      {"category", {line("Category", 11, "A or C")}, {"Smith", "SMITH"}, {"E1", "E2", "E3", "E4"}},
      {"each category row keeps its own expression", {line("Category", 11, "A", 1), line("Category", 11, "C")},
       {}, {}},
      {"two category rows joined by Or", {line("Category", 11, "B", 2), line("Category", 11, "!A")},
       {"Smith", "SMITH", "smith", "SMJ", "Jones"}, {"E1", "E2", "E3", "E4"}},
      {"is first is equals on contacts", {line("Event Type", 21, "call")}, {"Smith"}, {"E1"}},
      {"is last", {line("Event Type", 22, "CALL")}, {"Smith"}, {"E3"}},
      {"no events fail an event row", {line("Event Type", 5, "LETTER")}, {"Smith", "SMITH"}, {"E2", "E4"}},
      {"an event row or a contact row", {line("Event Type", 5, "CALL", 2), line("Last Name", 5, "jones")},
       {"Smith", "Jones"}, {"E1", "E3"}},
      {"one event must satisfy both event rows",
       {line("Event Type", 5, "LETTER", 1), line("Completed", 14, "")}, {}, {}},
      {"and within one event", {line("Event Type", 5, "CALL", 1), line("Completed", 14, "")}, {"Smith"}, {"E1"}},
  };
  for (const auto& c : cases) {
    CompiledFilter filter;
    ASSERT_TRUE(activate(filter, c.lines)) << c.name;
    EXPECT_EQ(accepted(filter, host::kContactTableName, "LastName"), c.contacts) << c.name;
    EXPECT_EQ(accepted(filter, host::kEventTableName, "ERecno"), c.events) << c.name;
    filter.setReverse(true);
    std::set<std::string> rest;
    for (const char* n : {"Smith", "SMITH", "smith", "SMJ", "Jones"}) {
      if (!c.contacts.count(n)) rest.insert(n);
    }
    EXPECT_EQ(accepted(filter, host::kContactTableName, "LastName"), rest) << c.name << " reversed";
  }
}

TEST_F(FilterEvaluatorTest, RefusedDefinitionsSayWhy) {
  FilterLine open = line("Last Name", 5, "x");
  open.open = 1;
  const struct {
    const char* name;
    std::string shortname;
    std::string text;
    std::vector<std::string> messages;
  } cases[] = {
      {"blank name", " ", definition({line("Last Name", 5, "x")}), {"No filter selected"}},
      {"empty text", "f", "",
       {"Error : this filter appears corrupt.  Delete and re-add or run database repair\nThe filter: f"}},
      {"relation 0 and a missing value",
       "f",
       definition({line("Last Name", 0, "x", 1), line("City", 5, "")}),
       {"A field and a condition are necessary for criteria 1", "The condition for criteria 2 requires a value"}},
      {"relation beyond 24", "f", definition({line("Last Name", 31, "x")}),
       {"A field and a condition are necessary for criteria 1"}},
      {"unknown field", "f", definition({line("Shoe Size", 5, "x")}), {"Criteria 1: there is no field \"Shoe Size\""}},
      {"constructed field", "f", definition({line("Long File Name", 5, "x")}),
       {"Criteria 1: the field Long File Name is no contact or event field; it cannot be used in a filter"}},
      {"a date that is no date", "f", definition({line("Date 1", 18, "Tuesday")}),
       {"The date of criteria 1 cannot be read: Tuesday"}},
      {"unbalanced parenthesis", "f", definition({open}), {"parenthesis are not balanced"}},
      {"a category expression that does not compile", "f",
       definition({line("Last Name", 5, "x", 1), line("Category", 11, "A AND(B)")}),
       {"Criteria 2: A was unexpected in A AND(B)"}},
      {"truncated: the connector asks for a second line", "f", definition({line("Last Name", 5, "x", 1)}),
       {"Criteria 1: and(1) joins a criterion that is not there"}},
  };
  for (const auto& c : cases) {
    CompiledFilter filter;
    const DefinitionFaults faults = filter.activatethisfilter(c.shortname, c.text, "DEM", clock_, host::Locale());
    EXPECT_FALSE(filter.active()) << c.name;
    std::vector<std::string> said;
    for (const DefinitionFault& f : faults) said.push_back(f.message);
    EXPECT_EQ(said, c.messages) << c.name;
  }
}

TEST_F(FilterEvaluatorTest, TodayIsResolvedWhenPrepared) {
  add(host::kContactTableName, {{"Recno", "R1"}, {"DB", "Sales"}, {"LastName", "Old"}, {"Date1", "5/1/2024"}});
  add(host::kContactTableName, {{"Recno", "R2"}, {"DB", "Sales"}, {"LastName", "New"}, {"Date1", "5/12/2024"}});
  CompiledFilter filter;
  ASSERT_TRUE(activate(filter, {line("Date 1", 19, "TODAY -7")}));
  EXPECT_EQ(filter.prepared(1).text, "5/8/2024");
  clock_.set(45427.0 + 30);
  EXPECT_EQ(accepted(filter, host::kContactTableName, "LastName"), std::set<std::string>{"New"})
      << "the clock is read when the filter is prepared, not per record";
}

// An SQL condition for the same criteria, built independently of the evaluator.
struct RandomCriterion {
  FilterLine line;
  std::string sql;  // on contact c, or on event e for event rows
  bool event = false;
  std::string firstLast;  // event rows: what "is first" or "is last" adds on an event of its own
};

std::string quoted(const std::string& s) { return "'" + s + "'"; }

std::string hasCategory(char code) { return "instr(ifnull(c.Category, ''), '" + std::string(1, code) + "') > 0"; }

RandomCriterion randomCriterion(std::mt19937& rng, bool category) {
  const auto pick = [&](auto const& list) { return list[rng() % list.size()]; };
  const std::vector<std::string> names = {"smith", "Smith", "SMI", "jo", "LEE", "ee", "a"};
  const std::vector<std::pair<const char*, const char*>> textFields = {{"Last Name", "LastName"}, {"City", "City"}};
  RandomCriterion c;
  switch (category ? 4 : rng() % 8) {
    case 0:
    case 1: {
      const auto [label, col] = pick(textFields);
      const std::string v = pick(names);
      const std::string f = "upper(ifnull(c." + std::string(col) + ", ''))";
      const std::string p = quoted(host::upperAscii(v));
      const int rel = pick(std::vector<int>{1, 3, 4, 5, 6, 7, 8, 9, 10, 16, 17});
      c.line = line(label, rel, v);
      switch (rel) {
        case 1: c.sql = f + " > " + p; break;
        case 3: c.sql = f + " < " + p; break;
        case 4: c.sql = f + " <= " + quoted(host::upperAscii(v + std::string(20, 'z'))); break;
        case 5: c.sql = f + " = " + p; break;
        case 6: c.sql = f + " <> " + p; break;
        case 7: c.sql = "instr(" + f + ", " + p + ") > 0"; break;
        case 8: c.sql = "instr(" + f + ", " + p + ") = 0"; break;
        case 9: c.line.value.clear(); c.sql = f + " = ''"; break;
        case 10: c.line.value.clear(); c.sql = f + " <> ''"; break;
        case 16: c.sql = "substr(" + f + ", 1, length(" + p + ")) = " + p; break;
        case 17: c.sql = "substr(" + f + ", -length(" + p + ")) = " + p + " AND length(" + f + ") >= length(" + p + ")"; break;
      }
      break;
    }
    case 2: {
      const std::string v = pick(std::vector<std::string>{"2", "1,5", "3.5", "0"});
      const std::string num = v == "1,5" ? "1.5" : v;
      const int rel = pick(std::vector<int>{1, 2, 3, 4, 5, 6});
      const char* ops[] = {"", ">", ">=", "<", "<=", "=", "<>"};
      c.line = line("Num 1", rel, v);
      c.sql = "ifnull(c.Num1, 0) " + std::string(ops[rel]) + " " + num;
      break;
    }
    case 3: {
      const int rel = pick(std::vector<int>{18, 19});
      // TODAY is 15 May 2024 (45427); the dates lie around it.
      const int days = static_cast<int>(rng() % 40);
      c.line = line("Date 1", rel, "TODAY -" + std::to_string(days));
      c.sql = "ifnull(c.Date1, 0) " + std::string(rel == 18 ? "<= " : ">= ") + std::to_string(45427 - days);
      break;
    }
    case 4: {
      const std::vector<std::pair<const char*, std::string>> expressions = {
          {"A", hasCategory('A')},
          {"B or C", hasCategory('B') + " OR " + hasCategory('C')},
          {"A and !B", hasCategory('A') + " AND NOT " + hasCategory('B')},
          {"!C", "NOT " + hasCategory('C')},
          {"A and (B or C)", hasCategory('A') + " AND (" + hasCategory('B') + " OR " + hasCategory('C') + ")"},
          {"", "ifnull(c.Category, '') = ''"},  // is blank
      };
      const auto& [expression, sql] = pick(expressions);
      c.line = line("Category", *expression ? 11 : 9, expression);
      c.sql = sql;
      break;
    }
    case 5: {
      const int rel = pick(std::vector<int>{14, 15});
      c.line = line("Marked", rel, "");
      c.sql = std::string(rel == 14 ? "" : "NOT ") +
              "EXISTS (SELECT 1 FROM marks m WHERE m.Who = 'DEM' AND m.DB = c.DB AND m.Recno = c.Recno)";
      break;
    }
    default: {
      c.event = true;
      const int kind = static_cast<int>(rng() % 4);
      if (kind < 2) {
        const std::string t = pick(std::vector<std::string>{"CALL", "letter", "Sale"});
        c.line = line("Event Type", 5, t);
        c.sql = "upper(ifnull(e.Type, '')) = " + quoted(host::upperAscii(t));
      } else if (kind == 2) {
        // The first (last) event of its type of the contact, in event order;
        // on a contact it is plain "equals".
        const bool first = rng() % 2;
        const std::string t = pick(std::vector<std::string>{"CALL", "letter"});
        c.line = line("Event Type", first ? 21 : 22, t);
        c.sql = "upper(ifnull(e.Type, '')) = " + quoted(host::upperAscii(t));
        c.firstLast = std::string("NOT EXISTS (SELECT 1 FROM event e2 WHERE e2.Recno = e.Recno AND e2.Type = e.Type ") +
                      "COLLATE BINARY AND e2.ERecno " + (first ? "<" : ">") + " e.ERecno)";
      } else {
        const int rel = pick(std::vector<int>{14, 15});
        c.line = line("Completed", rel, "");
        c.sql = std::string("ifnull(e.Completed, 0) ") + (rel == 14 ? "<> 0" : "= 0");
      }
    }
  }
  return c;
}

// The rows' expression in SQL: a chain reads from the left, each connector
// taking everything to its right; a parenthesis pair is one operand.
std::string sqlExpression(const std::vector<RandomCriterion>& rows, const std::vector<int>& opens,
                          const std::vector<int>& closes, const std::function<std::string(std::size_t)>& operand) {
  // Tokens: "(", operand index, ")", "*", "+".
  std::vector<std::string> tokens;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    for (int k = 0; k < opens[i]; ++k) tokens.push_back("(");
    tokens.push_back(std::to_string(i));
    for (int k = 0; k < closes[i]; ++k) tokens.push_back(")");
    if (rows[i].line.connector == 1) tokens.push_back("*");
    if (rows[i].line.connector == 2) tokens.push_back("+");
  }
  std::size_t pos = 0;
  std::function<std::string()> parseChain = [&]() -> std::string {
    std::string left;
    if (tokens[pos] == "(") {
      ++pos;
      left = "(" + parseChain() + ")";
      ++pos;  // ")"
    } else {
      left = "(" + operand(static_cast<std::size_t>(std::stoi(tokens[pos++]))) + ")";
    }
    if (pos < tokens.size() && (tokens[pos] == "*" || tokens[pos] == "+")) {
      const std::string op = tokens[pos++] == "*" ? " AND " : " OR ";
      return left + op + "(" + parseChain() + ")";
    }
    return left;
  };
  return parseChain();
}

// The count of contacts (plain and reversed) and of events agrees with an
// SQL query written apart from the evaluator, over random filters of up to
// five rows: text, number, date, category (several rows at once), marked and
// event rows, "is first" and "is last" among them.
TEST_F(FilterEvaluatorTest, CountsAgreeWithAnIndependentSqlQuery) {
  std::mt19937 rng(20261208);
  const char* last[] = {"Smith", "SMITH", "smith", "Jones", "Lee", "Adams", "Smithers", ""};
  const char* cities[] = {"Boston", "", "Salem", "Aa"};
  const char* types[] = {"CALL", "LETTER", "SALE", "call"};
  const char* nums[] = {"", "0", "1.5", "2", "3.5", "7"};
  const char* categories[] = {"", "A", "B", "C", "AB", "AC", "BC", "ABC"};
  {
    host::Table contacts(engine_, std::string(host::kTallisAlias), std::string(host::kContactTableName));
    host::Table events(engine_, std::string(host::kTallisAlias), std::string(host::kEventTableName));
    host::Table marks(engine_, std::string(host::kTallisAlias), std::string(host::kMarksTableName));
    ASSERT_TRUE(contacts.open().ok());
    ASSERT_TRUE(events.open().ok());
    ASSERT_TRUE(marks.open().ok());
    int e = 0;
    for (int i = 0; i < 200; ++i) {
      ASSERT_TRUE(contacts.insert().ok());
      const std::string recno = "R" + std::to_string(i);
      const std::string db = i % 7 ? "Sales" : "Other";
      contacts.fieldByName("Recno")->setText(recno);
      contacts.fieldByName("DB")->setText(db);
      contacts.fieldByName("LastName")->setText(last[rng() % 8]);
      contacts.fieldByName("City")->setText(cities[rng() % 4]);
      contacts.fieldByName("Num1")->setText(nums[rng() % 6]);
      contacts.fieldByName("Category")->setText(categories[rng() % 8]);
      if (rng() % 4) contacts.fieldByName("Date1")->setDateTime(45427 - static_cast<int>(rng() % 45));
      ASSERT_TRUE(contacts.post().ok());
      // Marks of DEM, and of another user, which must not count.
      for (const char* who : {"DEM", "ABC"}) {
        if (rng() % 3) continue;
        ASSERT_TRUE(marks.insert().ok());
        marks.fieldByName("Who")->setText(who);
        marks.fieldByName("DB")->setText(db);
        marks.fieldByName("Recno")->setText(recno);
        ASSERT_TRUE(marks.post().ok());
      }
      for (int k = static_cast<int>(rng() % 4); k > 0; --k) {
        ASSERT_TRUE(events.insert().ok());
        char key[8];
        std::snprintf(key, sizeof key, "E%04d", ++e);
        events.fieldByName("ERecno")->setText(key);
        events.fieldByName("Recno")->setText(recno);
        events.fieldByName("Type")->setText(types[rng() % 4]);
        events.fieldByName("Completed")->setBoolean(rng() % 2);
        ASSERT_TRUE(events.post().ok());
      }
    }
  }
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open((dir_.path() / host::kDataFileName).c_str(), &db), SQLITE_OK);
  const auto sqlCount = [&](const std::string& sql) -> std::int64_t {
    sqlite3_stmt* st = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr), SQLITE_OK) << sql << sqlite3_errmsg(db);
    EXPECT_EQ(sqlite3_step(st), SQLITE_ROW) << sql;
    const std::int64_t n = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    return n;
  };
  for (int trial = 0; trial < 40; ++trial) {
    std::vector<RandomCriterion> rows;
    const int n = 1 + static_cast<int>(rng() % 5);
    for (int i = 0; i < n; ++i) {
      // Every fourth filter starts with two category rows.
      rows.push_back(randomCriterion(rng, trial % 4 == 0 && i < 2));
      rows.back().line.connector = i + 1 < n ? 1 + static_cast<int>(rng() % 2) : 0;
    }
    std::vector<int> opens(rows.size(), 0), closes(rows.size(), 0);
    if (n >= 3 && rng() % 2) {
      const std::size_t from = rng() % (rows.size() - 1);
      opens[from] = 1;
      closes[from + 1 + rng() % (rows.size() - from - 1)] = 1;
    }
    std::vector<FilterLine> lines;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      lines.push_back(rows[i].line);
      lines.back().open = opens[i];
      lines.back().close = closes[i];
    }
    CompiledFilter filter;
    ASSERT_TRUE(activate(filter, lines)) << definition(lines);
    const bool reverse = trial % 3 == 0;
    filter.setReverse(reverse);
    host::Table contacts(engine_, std::string(host::kTallisAlias), std::string(host::kContactTableName));
    ASSERT_TRUE(contacts.setIndexName("LastFirst").ok());
    ASSERT_TRUE(contacts.open().ok());
    ASSERT_TRUE(contacts.setRange({std::string("Sales")}, {std::string("Sales")}).ok());
    auto counted = filter.countSelection(contacts, engine_);
    ASSERT_TRUE(counted.ok()) << counted.status().ToString();

    // An event row holds when one event of the contact makes the whole
    // expression true, with every event row read on that event.
    const std::string perEvent = sqlExpression(rows, opens, closes, [&](std::size_t i) { return rows[i].sql; });
    const std::string anyEvent = "EXISTS (SELECT 1 FROM event e WHERE e.Recno = c.Recno AND (" + perEvent + "))";
    const std::string whole = sqlExpression(rows, opens, closes, [&](std::size_t i) {
      return rows[i].event ? anyEvent : rows[i].sql;
    });
    const std::int64_t selected =
        sqlCount("SELECT count(*) FROM contact c WHERE c.DB = 'Sales' AND (" + whole + ")");
    const std::int64_t all = sqlCount("SELECT count(*) FROM contact c WHERE c.DB = 'Sales'");
    EXPECT_EQ(counted->total, all);
    EXPECT_EQ(counted->matches, reverse ? all - selected : selected) << definition(lines) << "\n" << whole;

    // Each event decided on its own: contact rows on its contact, event
    // rows on it, "is first" and "is last" against the contact's events.
    filter.setReverse(false);
    host::Table events(engine_, std::string(host::kTallisAlias), std::string(host::kEventTableName));
    ASSERT_TRUE(events.open().ok());
    auto eventCount = filter.countSelection(events, engine_);
    ASSERT_TRUE(eventCount.ok()) << eventCount.status().ToString();
    const std::string onEvent = sqlExpression(rows, opens, closes, [&](std::size_t i) {
      return rows[i].firstLast.empty() ? rows[i].sql : rows[i].sql + " AND " + rows[i].firstLast;
    });
    EXPECT_EQ(eventCount->matches,
              sqlCount("SELECT count(*) FROM event e JOIN contact c ON c.Recno = e.Recno WHERE (" + onEvent + ")"))
        << definition(lines) << "\n" << onEvent;
  }
  sqlite3_close(db);
}

}  // namespace
}  // namespace vistrel::filter
