// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "app/field_aliases.h"

#include <map>
#include <string>

#include "host/field_catalog.h"
#include "host/table.h"
#include "host/tallis_schema.h"

namespace vistrel::app {
namespace {

host::Status readSettings(host::Engine& engine, std::map<std::string, std::string>& values) {
  host::Table settings(engine, std::string(host::kTallisAlias), std::string(host::kSettingsTableName));
  VISTREL_RETURN_IF_ERROR(settings.open());
  host::Field* name = settings.fieldByName("Name");
  host::Field* value = settings.fieldByName("Value");
  if (name == nullptr || value == nullptr) return host::Status::Corrupt(settings.tableName() + ": no Name or Value");
  for (host::Status s = settings.first(); !settings.eof(); s = settings.next()) {
    VISTREL_RETURN_IF_ERROR(s);
    values[name->asText()] = value->asText();
  }
  return host::Status::OK();
}

}  // namespace

host::Status loadFieldAliases(host::Engine& engine) {
  std::map<std::string, std::string> values;
  const host::Status status = readSettings(engine, values);
  host::applyFieldAliases(status.ok() ? values : std::map<std::string, std::string>());
  return status;
}

}  // namespace vistrel::app
