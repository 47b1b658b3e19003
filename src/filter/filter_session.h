// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

#include "filter/compiled_filter.h"
#include "filter/filter_definition.h"
#include "filter/filter_store.h"
#include "host/clock.h"
#include "host/locale.h"
#include "host/session.h"

namespace vistrel::filter {

// A session with its active filter: who is logged in and the database
// worked on (the host::Session the login and the pickers see) and the one
// CompiledFilter that the main window, the filter list and the command line
// install on their walks. The program's start-up owns the one of a run and
// hands it to its windows; a command makes its own. The filter lives here,
// above the host half, because its type belongs to the filter half.
struct FilterSession : host::Session {
  CompiledFilter activeFilter;

  // Activates the saved filter `row` (reversed when asked); the marks of
  // CurrentWho count. Returns what activation refused.
  DefinitionFaults activate(const StoredFilter& row, bool reverse, const host::Clock& clock,
                            const host::Locale& locale) {
    DefinitionFaults faults = activeFilter.activatethisfilter(row.shortname, row.selection, CurrentWho, clock, locale);
    if (faults.empty()) activeFilter.setReverse(reverse);
    return faults;
  }
};

}  // namespace vistrel::filter
