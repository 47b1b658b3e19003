// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "filter/filter_store.h"

#include "filter/filter_definition.h"

#include "host/table.h"
#include "host/tallis_schema.h"
#include "host/text.h"
#include "host/utility.h"

namespace vistrel::filter {
namespace {

using host::Status;
using host::Table;

constexpr const char* kColumns[] = {"Shortname", "DB", "Who", "Type", "Selection", "FRecno"};

std::string* member(StoredFilter& f, int i) {
  std::string* members[] = {&f.shortname, &f.db, &f.who, &f.type, &f.selection, &f.frecno};
  return members[i];
}

Status openSelect(Table& select) {
  VISTREL_RETURN_IF_ERROR(select.setIndexName("iShortname"));
  VISTREL_RETURN_IF_ERROR(select.open());
  for (const char* name : kColumns) {
    if (select.fieldByName(name) == nullptr) {
      return Status::Corrupt(select.tableName() + ": the table lacks the field " + name);
    }
  }
  return Status::OK();
}

StoredFilter readRow(Table& select) {
  StoredFilter f;
  for (int i = 0; i < 6; ++i) *member(f, i) = select.fieldByName(kColumns[i])->asText();
  return f;
}

Status writeRow(Table& select, StoredFilter& f) {
  for (int i = 0; i < 6; ++i) VISTREL_RETURN_IF_ERROR(select.fieldByName(kColumns[i])->setText(*member(f, i)));
  return Status::OK();
}

host::StatusOr<bool> exists(Table& select, std::string_view shortname) {
  auto found = select.findKey({std::string(shortname)});
  if (!found.ok()) return found.status();
  return *found && select.fieldByName("Shortname")->asTextView() == shortname;
}

}  // namespace

host::StatusOr<std::vector<StoredFilter>> listFilters(host::Engine& engine, std::string_view who,
                                                      std::string_view database) {
  Table select(engine, std::string(host::kTallisAlias), std::string(host::kSelectTableName));
  VISTREL_RETURN_IF_ERROR(openSelect(select));
  std::vector<StoredFilter> rows;
  for (Status s = select.first(); !select.eof(); s = select.next()) {
    VISTREL_RETURN_IF_ERROR(s);
    StoredFilter f = readRow(select);
    if (!who.empty() && f.who != who) continue;
    if (!database.empty() && !host::equalsIgnoreCase(f.db, database)) continue;
    rows.push_back(std::move(f));
  }
  return rows;
}

host::StatusOr<StoredFilter> findFilter(host::Engine& engine, std::string_view shortname) {
  Table select(engine, std::string(host::kTallisAlias), std::string(host::kSelectTableName));
  VISTREL_RETURN_IF_ERROR(openSelect(select));
  auto found = exists(select, shortname);
  if (!found.ok()) return found.status();
  if (!*found) return Status::NotFound("no filter '" + std::string(shortname) + "'");
  return readRow(select);
}

host::StatusOr<StoredFilter> findFilterByKey(host::Engine& engine, std::string_view frecno) {
  Table select(engine, std::string(host::kTallisAlias), std::string(host::kSelectTableName));
  VISTREL_RETURN_IF_ERROR(openSelect(select));
  VISTREL_RETURN_IF_ERROR(select.setIndexName(""));
  auto found = select.findKey({std::string(frecno)});
  if (!found.ok()) return found.status();
  if (!*found || select.fieldByName("FRecno")->asTextView() != frecno) {
    return Status::NotFound("no filter with key '" + std::string(frecno) + "'");
  }
  return readRow(select);
}

host::StatusOr<bool> descriptionTaken(host::Engine& engine, std::string_view shortname, std::string_view frecno) {
  Table select(engine, std::string(host::kTallisAlias), std::string(host::kSelectTableName));
  VISTREL_RETURN_IF_ERROR(openSelect(select));
  auto found = exists(select, shortname);
  if (!found.ok()) return found.status();
  return *found && select.fieldByName("FRecno")->asTextView() != frecno;
}

host::StatusOr<std::string> saveFilter(host::Engine& engine, StoredFilter row, const host::Clock& clock) {
  // A name or user id the columns cannot hold as given is refused, not cut.
  if (const auto fault = descriptionFault(row.shortname)) return Status::InvalidArgument(*fault);
  if (const auto fault = whoFault(row.who)) return Status::InvalidArgument(*fault);
  Table select(engine, std::string(host::kTallisAlias), std::string(host::kSelectTableName));
  VISTREL_RETURN_IF_ERROR(openSelect(select));
  auto found = exists(select, row.shortname);
  if (!found.ok()) return found.status();
  if (*found && select.fieldByName("FRecno")->asTextView() != row.frecno) {
    return Status::AlreadyExists(std::string(kDuplicateDescription));
  }
  if (row.frecno.empty()) {
    row.frecno = host::MakeUniqueId(clock);
    VISTREL_RETURN_IF_ERROR(select.insert());
  } else {
    VISTREL_RETURN_IF_ERROR(select.setIndexName(""));
    auto stored = select.findKey({row.frecno});
    if (!stored.ok()) return stored.status();
    if (!*stored || select.fieldByName("FRecno")->asTextView() != row.frecno) {
      return Status::NotFound("the filter '" + row.shortname + "' is no longer stored");
    }
    VISTREL_RETURN_IF_ERROR(select.edit());
  }
  Status s = writeRow(select, row);
  if (s.ok()) s = select.post();
  if (s.ok()) return row.frecno;
  select.cancel();
  // The description index refuses a second row with the same text, also one
  // written by another program since the look above; any other failure (a
  // busy store, a full disk) keeps its own reason.
  if (s.IsAlreadyExists()) {
    auto taken = exists(select, row.shortname);
    if (taken.ok() && *taken) return Status::AlreadyExists(std::string(kDuplicateDescription));
  }
  return s;
}

Status addFilter(host::Engine& engine, StoredFilter row, const host::Clock& clock) {
  row.frecno.clear();
  auto key = saveFilter(engine, std::move(row), clock);
  return key.ok() ? Status::OK() : key.status();
}

Status copyFilter(host::Engine& engine, std::string_view shortname, std::string_view newName,
                  const host::Clock& clock) {
  auto original = findFilter(engine, shortname);
  if (!original.ok()) return original.status();
  StoredFilter copy = *original;
  copy.shortname = std::string(newName);
  const Status s = addFilter(engine, std::move(copy), clock);
  return s.ok() ? s : s.withMessage(std::string(kUnableToCopy) + ": " + s.message());
}

Status deleteFilter(host::Engine& engine, std::string_view shortname) {
  Table select(engine, std::string(host::kTallisAlias), std::string(host::kSelectTableName));
  VISTREL_RETURN_IF_ERROR(openSelect(select));
  auto found = exists(select, shortname);
  if (!found.ok()) return found.status();
  if (!*found) return Status::NotFound("no filter '" + std::string(shortname) + "'");
  return select.remove();
}

std::string copyProposal(std::string_view shortname) {
  std::string text = "Copy of " + std::string(host::utf8Left(shortname, 50));
  if (host::utf8Length(shortname) > 50) text += "...";
  return text;
}

}  // namespace vistrel::filter
