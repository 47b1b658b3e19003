// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/data_dir.h"
#include "dialogs/criteria_editor_model.h"
#include "dialogs/description_generator.h"
#include "filter/category_names.h"
#include "filter/filter_definition.h"
#include "host/clock.h"
#include "host/file_read.h"
#include "host/table.h"
#include "host/tallis_schema.h"

namespace vistrel::cli {

constexpr std::string_view kFilterDescribeUsage =
    "Usage: vistrel-cli filter describe --data DIR --database NAME --definition FILE\n\n"
    "Prints the description the criteria editor's \"Generate description\" button\n"
    "writes for the stored filter text in FILE: the first two criteria, at most\n"
    "60 characters, with the name NAME gives a one-letter category. Exits 1,\n"
    "naming the criterion and the reason, when the text is no filter that could\n"
    "be stored, and when the filter has no filled-in fields.\n";

namespace {

host::Status requireDatabase(host::Engine& engine, const std::string& name) {
  host::Table dbs(engine, std::string(host::kTallisAlias), std::string(host::kDatabaseTableName));
  VISTREL_RETURN_IF_ERROR(dbs.open());
  auto found = dbs.findKey({name});
  if (!found.ok()) return found.status();
  return *found ? host::Status::OK() : host::Status::NotFound("unknown database '" + name + "'");
}

}  // namespace

// `filter describe`; the words after "describe".
int runFilterDescribe(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  auto args = Args::parse(argv, {"data", "database", "definition"}, {});
  if (!args.ok()) {
    err << "vistrel-cli filter describe: " << args.status().message() << "\n\n" << kFilterDescribeUsage;
    return kExitUsage;
  }
  if (const host::Status s = args->check({"data", "database", "definition"}, 0); !s.ok()) {
    err << "vistrel-cli filter describe: " << s.message() << "\n\n" << kFilterDescribeUsage;
    return kExitUsage;
  }
  const auto text = host::readInputFile(*args->value("definition"), host::kFilterDefinitionFile);
  if (!text.ok()) {
    err << "vistrel-cli filter describe: " << text.status().message() << "\n";
    return kExitFailure;
  }

  host::Engine engine;
  useDataDirectory(engine, *args->value("data"));
  const std::string database = *args->value("database");
  if (host::Status s = requireDatabase(engine, database); !s.ok()) {
    err << "vistrel-cli filter describe: " << s.message() << "\n";
    return kExitFailure;
  }
  auto categories = filter::readCategoryNames(engine, database);
  if (!categories.ok()) {
    err << "vistrel-cli filter describe: " << categories.status().message() << "\n";
    return kExitFailure;
  }
  const filter::DefinitionVerdict verdict =
      filter::judgeDefinition(*text, host::SystemClock::instance(), engine.locale());
  for (const filter::DefinitionFault& f : verdict.faults) err << "vistrel-cli filter describe: " << f.message << "\n";
  if (!verdict.ok()) return kExitFailure;
  dialogs::CriteriaEditorModel model;
  model.loadfromMemo(verdict.lines);
  const auto description = dialogs::generateDescription(model, *categories);
  if (!description) {
    err << dialogs::kNoFieldsForDescription << "\n";
    return kExitFailure;
  }
  out << *description << "\n";
  return kExitOk;
}

}  // namespace vistrel::cli
