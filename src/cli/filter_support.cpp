// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "cli/filter_support.h"


#include "host/date_time.h"
#include "host/table.h"
#include "host/tallis_schema.h"
#include "host/text.h"

namespace vistrel::cli {

host::StatusOr<std::unique_ptr<host::Clock>> clockFromArgs(const Args& args) {
  const auto today = args.value("today");
  if (!today) return std::unique_ptr<host::Clock>(std::make_unique<host::SystemClock>());
  int y = 0, m = 0, d = 0;
  char tail = 0;
  std::optional<host::DateTime> date;
  if (today->size() == 10 && std::sscanf(today->c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &tail) == 3) {
    date = host::encodeDate(y, m, d);
  }
  if (!date) return host::Status::InvalidArgument("--today takes a date YYYY-MM-DD, not '" + *today + "'");
  return std::unique_ptr<host::Clock>(std::make_unique<host::FixedClock>(*date));
}

host::Status activationRefused(std::string_view name, const filter::DefinitionFaults& faults) {
  return host::Status::InvalidArgument("the filter '" + std::string(name) + "' cannot be activated:\n" +
                                       filter::faultLines(faults));
}

host::StatusOr<std::string> marksWho(const Args& args, const filter::StoredFilter& row) {
  const auto who = args.value("who");
  if (!who) return row.who;
  if (const auto fault = filter::whoFault(*who)) return host::Status::InvalidArgument(*fault);
  return *who;
}

host::StatusOr<filter::StoredFilter> activateSavedFilter(host::Engine& engine, std::string_view name,
                                                         const Args& args, std::string_view database,
                                                         const host::Clock& clock, filter::FilterSession& session,
                                                         std::ostream& err) {
  auto row = filter::findFilter(engine, name);
  if (!row.ok()) return row.status();
  auto who = marksWho(args, *row);
  if (!who.ok()) return who.status();
  session.CurrentWho = *who;
  session.CurrentDB = std::string(database);
  const filter::DefinitionFaults faults = session.activate(*row, args.has("reverse"), clock, engine.locale());
  if (!faults.empty()) return activationRefused(row->shortname, faults);
  if (!row->db.empty() && !host::equalsIgnoreCase(row->db, database)) {
    err << "Note: the filter '" << row->shortname << "' was saved for the database " << row->db << ".\n";
  }
  return row;
}

host::StatusOr<std::unique_ptr<ContactTableFilter>> installSavedFilter(host::Engine& engine, const Args& args,
                                                                       std::string_view database,
                                                                       host::Table& contacts, std::ostream& err) {
  if (!args.value("filter")) return std::unique_ptr<ContactTableFilter>();
  auto clock = clockFromArgs(args);
  if (!clock.ok()) return clock.status();
  auto f = std::make_unique<ContactTableFilter>();
  f->clock_ = std::move(clock).value();
  auto row = activateSavedFilter(engine, *args.value("filter"), args, database, *f->clock_, f->session_, err);
  if (!row.ok()) return row.status();
  f->row_ = std::move(row).value();
  VISTREL_RETURN_IF_ERROR(f->session_.activeFilter.install(contacts, engine));
  return f;
}

host::StatusOr<std::string> databaseName(host::Engine& engine, std::string_view name) {
  host::Table dbs(engine, std::string(host::kTallisAlias), std::string(host::kDatabaseTableName));
  VISTREL_RETURN_IF_ERROR(dbs.open());
  std::string known;
  for (host::Status s = dbs.first(); !dbs.eof(); s = dbs.next()) {
    VISTREL_RETURN_IF_ERROR(s);
    const std::string db = dbs.fieldByName("DB")->asText();
    if (host::equalsIgnoreCase(db, name)) return db;
    known += (known.empty() ? "" : ", ") + db;
  }
  return host::Status::NotFound("unknown database '" + std::string(name) + "'" +
                                (known.empty() ? "" : " (known: " + known + ")"));
}

}  // namespace vistrel::cli
