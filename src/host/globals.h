// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// The program-wide values every window reads.
namespace vistrel::host {

// The Tallis user id of the logged-in user, at most 3 characters; empty
// while nobody is logged in.
extern std::string CurrentWho;
// The name of the Tallis database the analyses and the filter work on.
extern std::string CurrentDB;

}  // namespace vistrel::host
