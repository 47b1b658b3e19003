// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/engine.h"
#include "host/session.h"

// The login against the Tallis user table, without its window: the count of
// tries, the accepted user id, whether the window may close, and the checks
// of a typed user id and password with their messages.
namespace vistrel::app {

inline constexpr std::size_t kUserIdLength = 3;
// Wrong passwords allowed before the login gives up.
inline constexpr int kMaxTries = 5;

inline constexpr std::string_view kBlankUserMessage = "Fill in the user field with the user id in order to log in.";
inline constexpr std::string_view kUserTableMessage =
    "Could not open the UserPref.db database.  Try rebooting the system.";
inline constexpr std::string_view kTooManyTriesMessage = "Too many tries.  See the system administrator.  Goodbye.";

// The user id the login window offers: the first command-line argument when
// upper-casing leaves it unchanged and it has at most 3 characters, else the
// first 3 characters of the user id Tallis last used (`lastTallisUser`).
std::string loginPrefill(const std::vector<std::string>& args, std::string_view lastTallisUser);

// What the window does after a rejected user id or password: the message to
// show and the boxes to empty and to focus.
enum class LoginBox { kNone, kUser, kPassword };
struct LoginRejection {
  std::string message;               // empty: nothing to tell
  LoginBox clear = LoginBox::kNone;  // the box to empty
  LoginBox focus = LoginBox::kNone;  // the box to put the input focus in
};

// One login: shown, then OK until accepted or given up, or Cancel. Every
// rejection comes back with its message, which the window shows.
class LoginSession {
 public:
  // `engine` opens the user table; the login sets `session`'s CurrentWho.
  // Both must outlive the login.
  LoginSession(host::Engine& engine, host::Session& session) : engine_(engine), session_(session) {}

  // The window is shown: one try, nobody logged in, `prefill` offered.
  // The session's CurrentWho becomes `prefill`.
  void start(std::string_view prefill);

  // Checks the typed user id (as the user box delivers it, upper-cased) and
  // password (lower-cased). On success sets who() and the session's CurrentWho and
  // returns true; otherwise `rejection` says why and which boxes to empty and
  // focus. Only a wrong password counts as a try.
  bool verifyUser(std::string_view user, std::string_view password, LoginRejection* rejection = nullptr);

  // OK: returns true when the window closes now, either logged in or, after
  // too many wrong passwords, with who() empty (and the message that says so).
  bool ok(std::string_view user, std::string_view password, LoginRejection* rejection = nullptr);
  // Cancel: the window closes with who() empty.
  void cancel();

  int tries() const { return tries_; }
  const std::string& who() const { return who_; }
  bool mayClose() const { return mayClose_; }

 private:
  host::Engine& engine_;
  host::Session& session_;
  int tries_ = 1;
  std::string who_;
  bool mayClose_ = false;
};

}  // namespace vistrel::app
