// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/globals.h"

namespace vistrel::host {

std::string CurrentWho;
std::string CurrentDB;

}  // namespace vistrel::host
