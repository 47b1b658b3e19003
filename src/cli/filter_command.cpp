// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <algorithm>
#include <cstdio>
#include <set>
#include <fstream>
#include <ostream>
#include <sstream>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/data_dir.h"
#include "cli/filter_support.h"
#include "filter/filter_definition.h"
#include "filter/filter_session.h"
#include "filter/filter_text.h"
#include "host/csv.h"
#include "host/file_read.h"
#include "host/json.h"
#include "host/table.h"
#include "host/tallis_schema.h"
#include "host/text.h"

namespace vistrel::cli {
namespace {

constexpr char kUsage[] =
    "Usage: vistrel-cli filter list   --data DIR [--database NAME] [--who ID] [--format table|csv|json]\n"
    "       vistrel-cli filter show   --data DIR --name TEXT\n"
    "       vistrel-cli filter add    --data DIR --database NAME --name TEXT --who ID --definition FILE\n"
    "                                 [--today YYYY-MM-DD]\n"
    "       vistrel-cli filter copy   --data DIR --name TEXT --as TEXT\n"
    "       vistrel-cli filter delete --data DIR --name TEXT\n"
    "       vistrel-cli filter describe --data DIR --database NAME --definition FILE\n"
    "       vistrel-cli filter count  --data DIR --database NAME --name TEXT [--reverse]\n"
    "                                 [--table contact|event] [--who ID] [--today YYYY-MM-DD]\n"
    "                                 [--format table|csv|json]\n\n"
    "Works with the saved filters of a data directory, as the filter list does.\n"
    "  show     prints the stored definition text\n"
    "  add      stores a definition given in the stored text form (one line per\n"
    "           criterion) exactly as written, once it passes the checks of\n"
    "           activation; anything it cannot store as written is refused with\n"
    "           the criterion and the reason\n"
    "  count    counts the contacts (or, with --table event, the events) of a\n"
    "           database that the filter selects; --who is the user whose marks\n"
    "           count (the filter's own user without it)\n"
    "  describe prints the description the criteria editor generates for the\n"
    "           stored filter text in FILE\n";

int usage(std::ostream& err, const std::string& what) {
  err << "vistrel-cli filter: " << what << "\n\n" << kUsage;
  return kExitUsage;
}

int failed(std::ostream& err, const host::Status& s) {
  std::string text = s.message();
  std::replace(text.begin(), text.end(), '\r', '\n');
  err << "vistrel-cli filter: " << text << "\n";
  return kExitFailure;
}

bool formatOk(const std::string& format) { return format == "table" || format == "csv" || format == "json"; }

int runList(const Args& args, host::Engine& engine, std::ostream& out, std::ostream& err) {
  const std::string format = args.valueOr("format", "table");
  if (!formatOk(format)) return usage(err, "--format takes table, csv or json, not '" + format + "'");
  auto rows = filter::listFilters(engine, args.valueOr("who", ""), args.valueOr("database", ""));
  if (!rows.ok()) return failed(err, rows.status());
  if (format == "csv") {
    out << "description,db,who\r\n";
    for (const auto& r : *rows) {
      out << host::csvField(r.shortname) << "," << host::csvField(r.db) << "," << host::csvField(r.who) << "\r\n";
    }
  } else if (format == "json") {
    out << "[";
    for (std::size_t i = 0; i < rows->size(); ++i) {
      const auto& r = (*rows)[i];
      out << (i ? ", " : "") << "{\"description\": " << host::jsonString(r.shortname) << ", \"db\": " << host::jsonString(r.db)
          << ", \"who\": " << host::jsonString(r.who) << "}";
    }
    out << "]\n";
  } else {
    std::size_t width = 11;
    for (const auto& r : *rows) width = std::max(width, host::utf8Length(r.shortname) + 1);
    const auto pad = [](std::string_view s, std::size_t w) {
      return std::string(s) + std::string(w - std::min(w - 1, host::utf8Length(s)), ' ');
    };
    out << pad("Description", width) << pad("DB", 10) << "Who\n";
    for (const auto& r : *rows) out << pad(r.shortname, width) << pad(r.db, 10) << r.who << "\n";
    char title[32];
    std::snprintf(title, sizeof title, "%d Filters", static_cast<int>(rows->size()));
    out << title << "\n";
  }
  return kExitOk;
}

int runShow(const Args& args, host::Engine& engine, std::ostream& out, std::ostream& err) {
  auto row = filter::findFilter(engine, *args.value("name"));
  if (!row.ok()) return failed(err, row.status());
  for (const std::string& line : filter::splitMemoLines(row->selection)) out << line << "\n";
  return kExitOk;
}

// Prints each fault of a definition on a line of its own.
int refused(std::ostream& err, const filter::DefinitionFaults& faults) {
  for (const filter::DefinitionFault& f : faults) err << "vistrel-cli filter: " << f.message << "\n";
  return kExitFailure;
}

int runAdd(const Args& args, host::Engine& engine, const host::Clock& clock, std::ostream& out,
           std::ostream& err) {
  filter::StoredFilter row;
  row.shortname = *args.value("name");
  row.who = *args.value("who");
  row.type = "CONTACT";
  if (auto fault = filter::descriptionFault(row.shortname)) return failed(err, host::Status::InvalidArgument(*fault));
  if (auto fault = filter::whoFault(row.who)) return failed(err, host::Status::InvalidArgument(*fault));
  const auto text = host::readInputFile(*args.value("definition"), host::kFilterDefinitionFile);
  if (!text.ok()) return failed(err, text.status());
  auto database = databaseName(engine, *args.value("database"));
  if (!database.ok()) return failed(err, database.status());
  row.db = *database;
  // The text is stored as written, once the verdict every user of a
  // definition asks passes it.
  const filter::DefinitionVerdict verdict = filter::judgeDefinition(*text, clock, engine.locale());
  if (!verdict.ok()) return refused(err, verdict.faults);
  row.selection = verdict.storedText();
  if (host::Status s = filter::addFilter(engine, row, clock); !s.ok()) return failed(err, s);
  out << "Added filter " << row.shortname << "\n";
  return kExitOk;
}

int runCopy(const Args& args, host::Engine& engine, const host::Clock& clock, std::ostream& out,
            std::ostream& err) {
  if (host::Status s = filter::copyFilter(engine, *args.value("name"), *args.value("as"), clock); !s.ok()) {
    return failed(err, s);
  }
  out << "Copied filter " << *args.value("name") << " to " << *args.value("as") << "\n";
  return kExitOk;
}

int runDelete(const Args& args, host::Engine& engine, std::ostream& out, std::ostream& err) {
  if (host::Status s = filter::deleteFilter(engine, *args.value("name")); !s.ok()) return failed(err, s);
  out << "Deleted filter " << *args.value("name") << "\n";
  return kExitOk;
}

int runCount(const Args& args, host::Engine& engine, const host::Clock& clock, std::ostream& out,
             std::ostream& err) {
  const std::string format = args.valueOr("format", "table");
  if (!formatOk(format)) return usage(err, "--format takes table, csv or json, not '" + format + "'");
  const std::string tableKind = args.valueOr("table", "contact");
  if (tableKind != "contact" && tableKind != "event") {
    return usage(err, "--table takes contact or event, not '" + tableKind + "'");
  }
  auto database = databaseName(engine, *args.value("database"));
  if (!database.ok()) return failed(err, database.status());
  filter::FilterSession session;
  const bool reverse = args.has("reverse");
  auto row = activateSavedFilter(engine, *args.value("name"), args, *database, clock, session, err);
  if (!row.ok()) return failed(err, row.status());

  const bool events = tableKind == "event";
  host::Table table(engine, std::string(host::kTallisAlias),
                    std::string(events ? host::kEventTableName : host::kContactTableName));
  host::Status s = table.setIndexName(events ? "irecno" : "LastFirst");
  if (s.ok()) s = table.open();
  if (s.ok() && events) {
    table.setFilterLines({"DB = \"" + *database + "\""});
    s = table.setFiltered(true);
  } else if (s.ok()) {
    s = table.setRange({*database}, {*database});
  }
  if (!s.ok()) return failed(err, s);
  table.disableControls();
  auto count = session.activeFilter.countSelection(table, engine, nullptr, 0);
  if (!count.ok()) return failed(err, count.status());
  const std::int64_t nonMatches = count->total - count->matches;
  if (format == "json") {
    out << "{\"database\": " << host::jsonString(*database) << ", \"filter\": " << host::jsonString(row->shortname)
        << ", \"reverse\": " << (reverse ? "true" : "false") << ", \"table\": " << host::jsonString(tableKind)
        << ", \"matches\": " << count->matches << ", \"nonMatches\": " << nonMatches << ", \"total\": " << count->total
        << "}\n";
  } else if (format == "csv") {
    out << "database,filter,reverse,table,matches,nonMatches,total\r\n"
        << host::csvField(*database) << "," << host::csvField(row->shortname) << "," << (reverse ? "true" : "false")
        << "," << tableKind << "," << count->matches << "," << nonMatches << "," << count->total << "\r\n";
  } else {
    out << "Filter:   " << (reverse ? "[NOT] " : "") << row->shortname << "\n"
        << "Database: " << *database << " (" << (events ? "events" : "contacts") << ")\n"
        << "Active:   " << count->matches << "\n"
        << "Reverse:  " << nonMatches << "\n"
        << "Total:    " << count->total << "\n";
    if (count->total > 0) out << "Share:    " << count->matches * 100 / count->total << " %\n";
  }
  return kExitOk;
}

struct Action {
  const char* name;
  std::set<std::string, std::less<>> valued;
  std::set<std::string, std::less<>> flags;
  std::vector<std::string> required;
};

int runFilter(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  if (argv.empty()) return usage(err, "name an action: list, show, add, copy, delete, count or describe");
  if (argv[0] == "describe") return runFilterDescribe({argv.begin() + 1, argv.end()}, out, err);
  static const Action actions[] = {
      {"list", {"data", "database", "who", "format"}, {}, {"data"}},
      {"show", {"data", "name"}, {}, {"data", "name"}},
      {"add", {"data", "database", "name", "who", "definition", "today"}, {}, {"data", "database", "name", "who", "definition"}},
      {"copy", {"data", "name", "as"}, {}, {"data", "name", "as"}},
      {"delete", {"data", "name"}, {}, {"data", "name"}},
      {"count", {"data", "database", "name", "table", "who", "today", "format"}, {"reverse"}, {"data", "database", "name"}},
  };
  const Action* action = nullptr;
  for (const Action& a : actions) {
    if (argv[0] == a.name) action = &a;
  }
  if (action == nullptr) return usage(err, "unknown action '" + argv[0] + "'");
  auto args = Args::parse(std::vector<std::string>(argv.begin() + 1, argv.end()), action->valued, action->flags);
  if (!args.ok()) return usage(err, args.status().message());
  for (const std::string& option : action->required) {
    if (!args->has(option)) return usage(err, "the option --" + option + " is missing");
  }
  if (!args->positional().empty()) return usage(err, "unexpected argument '" + args->positional()[0] + "'");
  auto clock = clockFromArgs(*args);
  if (!clock.ok()) return usage(err, clock.status().message());

  host::Engine engine;
  useDataDirectory(engine, *args->value("data"));
  const std::string name = action->name;
  if (name == "list") return runList(*args, engine, out, err);
  if (name == "show") return runShow(*args, engine, out, err);
  if (name == "add") return runAdd(*args, engine, **clock, out, err);
  if (name == "copy") return runCopy(*args, engine, **clock, out, err);
  if (name == "delete") return runDelete(*args, engine, out, err);
  return runCount(*args, engine, **clock, out, err);
}

}  // namespace

const Command kFilterCommand = {"filter", "list, show, add, copy, delete and count saved filters", kUsage, runFilter};

}  // namespace vistrel::cli
