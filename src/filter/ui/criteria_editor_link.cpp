// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
// Where the filter list's Add and Edit open the criteria editor. Until the
// editor is part of the program they say so.
#include "filter/ui/frm_flt_pick.h"
#include "host/messages.h"

namespace vistrel::filter {

bool showCriteriaEditor(QWidget*, host::Engine&, const StoredFilter*, const std::string&) {
  host::ShowInformation("The criteria editor is not available in this version.");
  return false;
}

}  // namespace vistrel::filter
