// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "app/login.h"

#include "host/environment.h"
#include "host/table.h"
#include "host/tallis_schema.h"
#include "host/text.h"

namespace vistrel::app {

std::string loginPrefill(const std::vector<std::string>& args, std::string_view lastTallisUser) {
  if (!args.empty()) {
    const std::string& first = args[0];
    if (host::upperAscii(first) == first && host::utf8Length(first) <= kUserIdLength) return first;
  }
  return std::string(host::utf8Left(lastTallisUser, kUserIdLength));
}

void LoginSession::start(std::string_view prefill) {
  mayClose_ = false;
  who_.clear();
  session_.CurrentWho = std::string(prefill);
  tries_ = 1;
  who_ = session_.CurrentWho;
}

bool LoginSession::verifyUser(std::string_view user, std::string_view password, LoginRejection* rejection) {
  LoginRejection ignored;
  LoginRejection& r = rejection != nullptr ? *rejection : ignored;
  r = {};
  if (tries_ > kMaxTries) return false;
  if (host::IsBlank(user)) {
    r = {std::string(kBlankUserMessage), LoginBox::kNone, LoginBox::kUser};
    return false;
  }
  host::Table users(engine_, std::string(host::kTallisAlias), std::string(host::kUserPrefTableName));
  if (!users.open().ok()) {
    r.message = kUserTableMessage;
    return false;
  }
  const host::StatusOr<bool> found = users.findKey({host::Value(user)});
  const host::Field* stored = users.fieldByName("Password");
  if (!found.ok() || stored == nullptr) {
    // A table that opens but cannot be read is no better than one that does not open.
    r.message = kUserTableMessage;
    return false;
  }
  if (!*found) {
    r = {"User " + std::string(user) + " was not found in Tallis.", LoginBox::kUser, LoginBox::kUser};
    return false;
  }
  const std::string expected = stored->asText();
  if (!expected.empty() && password != expected && host::ScramblePassword(password) != expected) {
    ++tries_;
    r = {"Invalid password for user " + std::string(user) + ".  Try again.", LoginBox::kPassword, LoginBox::kPassword};
    return false;
  }
  who_ = std::string(host::utf8Left(user, kUserIdLength));
  session_.CurrentWho = who_;
  return !who_.empty();
}

bool LoginSession::ok(std::string_view user, std::string_view password, LoginRejection* rejection) {
  if (rejection != nullptr) *rejection = {};
  if (tries_ > kMaxTries) {
    who_.clear();
    if (rejection != nullptr) rejection->message = kTooManyTriesMessage;
    mayClose_ = true;
    return true;
  }
  if (verifyUser(user, password, rejection)) {
    mayClose_ = true;
    return true;
  }
  return false;
}

void LoginSession::cancel() {
  mayClose_ = true;
  who_.clear();
}

}  // namespace vistrel::app
