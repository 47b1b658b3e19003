// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace vistrel::host {

// Who is logged in and which database the analyses and the filter work on.
// Start-up owns the one session of a run and hands it to the login and the
// main window, which keep a reference; nothing else holds these values.
struct Session {
  // The Tallis user id of the logged-in user, at most 3 characters; empty
  // while nobody is logged in.
  std::string CurrentWho;
  // The name of the Tallis database the analyses and the filter work on.
  std::string CurrentDB;
};

}  // namespace vistrel::host
