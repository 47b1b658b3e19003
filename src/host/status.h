// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cassert>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace vistrel::host {

enum class StatusCode {
  kOk,
  kNotFound,
  kCorrupt,
  kBusy,
  kIoError,
  kInvalidArgument,
  kAccessDenied,
  kAlreadyExists,  // a row with the same key is stored already
};

// The outcome of an operation: ok, or a code with a message a user can read.
// Qt-free code reports failures this way; nothing is thrown across modules.
class Status {
 public:
  Status() = default;

  static Status OK() { return Status(); }
  static Status NotFound(std::string msg) { return Status(StatusCode::kNotFound, std::move(msg)); }
  static Status Corrupt(std::string msg) { return Status(StatusCode::kCorrupt, std::move(msg)); }
  static Status Busy(std::string msg) { return Status(StatusCode::kBusy, std::move(msg)); }
  static Status IoError(std::string msg) { return Status(StatusCode::kIoError, std::move(msg)); }
  static Status InvalidArgument(std::string msg) {
    return Status(StatusCode::kInvalidArgument, std::move(msg));
  }
  static Status AccessDenied(std::string msg) {
    return Status(StatusCode::kAccessDenied, std::move(msg));
  }
  static Status AlreadyExists(std::string msg) {
    return Status(StatusCode::kAlreadyExists, std::move(msg));
  }

  bool ok() const { return code_ == StatusCode::kOk; }
  StatusCode code() const { return code_; }
  const std::string& message() const { return message_; }
  bool IsNotFound() const { return code_ == StatusCode::kNotFound; }
  bool IsCorrupt() const { return code_ == StatusCode::kCorrupt; }
  bool IsBusy() const { return code_ == StatusCode::kBusy; }
  bool IsInvalidArgument() const { return code_ == StatusCode::kInvalidArgument; }
  bool IsAccessDenied() const { return code_ == StatusCode::kAccessDenied; }
  bool IsAlreadyExists() const { return code_ == StatusCode::kAlreadyExists; }

  // The same code with another message. REQUIRES: !ok().
  Status withMessage(std::string msg) const { return Status(code_, std::move(msg)); }

  // "OK", or the code's name and the message ("Busy: CONTACT.DB: ...").
  std::string ToString() const;
  // The same outcome with `prefix` put before the message (ok stays ok).
  Status prefixed(std::string_view prefix) const {
    return ok() ? *this : Status(code_, std::string(prefix) + message_);
  }

 private:
  Status(StatusCode code, std::string msg) : code_(code), message_(std::move(msg)) {}

  StatusCode code_ = StatusCode::kOk;
  std::string message_;
};

// A value, or the Status that says why there is none.
template <typename T>
class StatusOr {
 public:
  StatusOr(T value) : value_(std::move(value)) {}  // NOLINT: implicit by design
  StatusOr(Status status) : status_(std::move(status)) {  // NOLINT
    assert(!status_.ok());
  }

  bool ok() const { return status_.ok(); }
  const Status& status() const { return status_; }
  T& value() & { assert(ok()); return *value_; }
  const T& value() const& { assert(ok()); return *value_; }
  T&& value() && { assert(ok()); return std::move(*value_); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }

 private:
  Status status_;
  std::optional<T> value_;
};

}  // namespace vistrel::host

// Returns from the calling function when `expr` yields a failed Status.
#define VISTREL_RETURN_IF_ERROR(expr)              \
  do {                                             \
    ::vistrel::host::Status _st = (expr);          \
    if (!_st.ok()) return _st;                     \
  } while (0)
