// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/status.h"

namespace vistrel::host {

std::string Status::ToString() const {
  const char* name = "OK";
  switch (code_) {
    case StatusCode::kOk: return "OK";
    case StatusCode::kNotFound: name = "Not found"; break;
    case StatusCode::kCorrupt: name = "Corrupt"; break;
    case StatusCode::kBusy: name = "Busy"; break;
    case StatusCode::kIoError: name = "I/O error"; break;
    case StatusCode::kInvalidArgument: name = "Invalid argument"; break;
    case StatusCode::kAccessDenied: name = "Access denied"; break;
    case StatusCode::kAlreadyExists: name = "Already exists"; break;
  }
  return std::string(name) + ": " + message_;
}

}  // namespace vistrel::host
