// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/clock.h"
#include "host/engine.h"
#include "host/status.h"

// The saved filters: the rows of the select table, shared with Tallis. The
// filter list window and the command line both go through these routines.
// Descriptions are unique (the table's description index refuses a second
// row with the same text).
namespace vistrel::filter {

struct StoredFilter {
  std::string shortname;  // the description, at most 100 characters
  std::string db;         // the database it was saved for
  std::string who;        // the user who saved it
  std::string type;       // "CONTACT"
  std::string selection;  // the stored definition text
  std::string frecno;     // the row's unique key
};

inline constexpr std::string_view kDuplicateDescription =
    "Description already exists in system.  Try a different one.";
inline constexpr std::string_view kUnableToCopy = "Unable to copy filter";

// The rows in description order; with `who` only that user's, with
// `database` only those saved for that database (ignoring case).
host::StatusOr<std::vector<StoredFilter>> listFilters(host::Engine& engine, std::string_view who = {},
                                                      std::string_view database = {});

// The row with exactly this description; NotFound when there is none.
host::StatusOr<StoredFilter> findFilter(host::Engine& engine, std::string_view shortname);

// The row with this FRecno; NotFound when there is none.
host::StatusOr<StoredFilter> findFilterByKey(host::Engine& engine, std::string_view frecno);

// Whether a row other than the one keyed `frecno` has this description.
host::StatusOr<bool> descriptionTaken(host::Engine& engine, std::string_view shortname, std::string_view frecno = {});

// Writes the whole row, or nothing: a description or user id that its column
// cannot hold as given is refused (descriptionFault, whoFault); a row
// without FRecno is added with a fresh one, a row with one replaces the stored row of that key (NotFound
// when it is gone). A description held by another row fails with
// AlreadyExists and kDuplicateDescription; any other failure (a busy store)
// passes through with its own reason. Returns the row's FRecno.
host::StatusOr<std::string> saveFilter(host::Engine& engine, StoredFilter row, const host::Clock& clock);

// Adds a row with a fresh FRecno. An existing description fails with
// AlreadyExists and kDuplicateDescription and adds nothing.
host::Status addFilter(host::Engine& engine, StoredFilter row, const host::Clock& clock);

// Adds a copy of the row `shortname` under `newName`, field by field. A
// failure adds nothing and says kUnableToCopy, then why; a duplicate
// description fails with AlreadyExists, a busy store with Busy.
host::Status copyFilter(host::Engine& engine, std::string_view shortname, std::string_view newName,
                        const host::Clock& clock);

host::Status deleteFilter(host::Engine& engine, std::string_view shortname);

// The name a copy is offered under: "Copy of " and the first 50 characters
// of the description, then "..." when it is longer.
std::string copyProposal(std::string_view shortname);

}  // namespace vistrel::filter
