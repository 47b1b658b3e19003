// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "host/engine.h"
#include "host/environment.h"
#include "host/status.h"

// What the program does before its first window: the table passwords, the
// shared network control directory and the private directory of the table
// engine. The windows come after, in main().
namespace vistrel::app {

inline constexpr std::string_view kNetDirPrompt =
    "The shared network control directory has not been initialized.  Do you wish to run the NETDIR "
    "command now?";
inline constexpr std::string_view kPrivateDirError = "Could not create the private directory ";

// Starts a program in its own process and does not wait for it. Fails when
// the program could not be started (missing, not executable).
using ProgramStarter = std::function<host::Status(const std::filesystem::path& program)>;
host::Status startProgramDetached(const std::filesystem::path& program);

// Reads the shared network control directory from NETDIR.INI in
// `programFolder` (section Options, key NetDir; one trailing "/" dropped).
// Returns true with the value in `directory`; false when the value is
// missing or blank (the program then offers to run netdir, kNetDirPrompt).
bool ReadNetDir(std::string& directory, const std::filesystem::path& programFolder);
// The same with NETDIR.INI read from the first of `iniFolders` that holds
// one.
bool ReadNetDir(std::string& directory, const std::vector<std::filesystem::path>& iniFolders);

// The private directory: programFolder/priv/Vistrel/<user>, the user name cut
// to its first 6 characters when the first argument is exactly "/n" or "/N".
std::string privateDirectoryPath(const std::filesystem::path& programFolder, std::string_view userName,
                                 const std::vector<std::string>& args);

// Creates `path` with every missing parent; fails with kPrivateDirError and
// the path when the folder does not exist afterwards.
host::Status createPrivateDirectory(const std::string& path);

// The two passwords that open the user table and the contact and event tables.
void registerStartupPasswords(host::Engine& engine);

struct StartupContext {
  std::filesystem::path programFolder;
  std::string userName;            // the login name used in the private directory
  std::vector<std::string> args;   // the command line without the program name
  ProgramStarter startProgram = startProgramDetached;
  // Where the settings and the private directory are; a portable setup
  // (the default) keeps both in `programFolder`.
  host::ProgramFolders folders = {};
};

// What the steps before the login leave for the program to tell the user.
struct StartupReport {
  bool ready = false;         // the program goes on to the login
  bool netDirMissing = false;  // no network directory: offer to run netdir (kNetDirPrompt), then end
  std::vector<std::string> errors;  // to show, in their order
};

// The steps before the login, in their order: passwords, network directory,
// private directory. Not ready when the program has to end (no network
// directory, or one the engine refuses).
StartupReport prepareEngine(host::Engine& engine, const StartupContext& context);

// Starts the "netdir" program of the program folder (the answer Yes to
// kNetDirPrompt); fails when it cannot be started.
host::Status startNetDirProgram(const StartupContext& context);

}  // namespace vistrel::app
