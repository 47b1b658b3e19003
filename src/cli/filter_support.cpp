// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "cli/filter_support.h"

#include <algorithm>

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

StreamMessageSink::StreamMessageSink(std::ostream& err) : err_(err), previous_(&host::messageSink()) {
  host::setMessageSink(this);
}

StreamMessageSink::~StreamMessageSink() { host::setMessageSink(previous_); }

host::MessageAnswer StreamMessageSink::show(const host::Message& message) {
  std::string text = message.text;
  std::replace(text.begin(), text.end(), '\r', '\n');
  err_ << text << "\n";
  return message.buttons == host::MessageButtons::kYesNo || message.buttons == host::MessageButtons::kYesNoCancel
             ? host::MessageAnswer::kYes
             : host::MessageAnswer::kOk;
}

host::StatusOr<filter::StoredFilter> activateSavedFilter(host::Engine& engine, std::string_view name,
                                                         std::string_view database, bool reverse,
                                                         const host::Clock& clock, filter::CompiledFilter& compiled,
                                                         std::ostream& err) {
  auto row = filter::findFilter(engine, name);
  if (!row.ok()) return row.status();
  compiled.setActive(false);
  if (!compiled.activatethisfilter(row->shortname, row->selection, clock, engine.locale())) {
    return host::Status::InvalidArgument("the filter '" + std::string(name) + "' cannot be activated");
  }
  compiled.setReverse(reverse);
  if (!row->db.empty() && !host::equalsIgnoreCase(row->db, database)) {
    err << "Note: the filter '" << row->shortname << "' was saved for the database " << row->db << ".\n";
  }
  return row;
}

host::StatusOr<std::unique_ptr<ContactTableFilter>> installSavedFilter(host::Engine& engine, const Args& args,
                                                                       std::string_view database,
                                                                       host::Table& contacts, std::ostream& err) {
  const auto name = args.value("filter");
  if (!name) return std::unique_ptr<ContactTableFilter>();
  auto clock = clockFromArgs(args);
  if (!clock.ok()) return clock.status();
  auto f = std::make_unique<ContactTableFilter>();
  f->clock_ = std::move(clock).value();
  auto row = activateSavedFilter(engine, *name, database, args.has("reverse"), *f->clock_, f->compiled_, err);
  if (!row.ok()) return row.status();
  f->row_ = std::move(row).value();
  f->evaluator_ = std::make_unique<filter::FilterEvaluator>(f->compiled_, engine, f->row_.who);
  contacts.setOnFilterRecord(f->evaluator_->recordFilter());
  VISTREL_RETURN_IF_ERROR(contacts.setFiltered(true));
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
