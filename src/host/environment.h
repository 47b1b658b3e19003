// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Small routines the start-up and the login need before anything else: the
// blank test, path joining, the user's login name, the user id Tallis last
// used on this machine, the password scrambler, and where the program lives.
namespace vistrel::host {

// Space, carriage return, line feed and backspace; tab is not blank.
bool IsBlankChar(char c);
// True for the empty text and for a text of blank characters only.
bool IsBlank(std::string_view text);

// The name alone when the folder is blank; folder + name when the folder ends
// with the path separator; otherwise folder + separator + name.
std::string JoinPath(std::string_view folder, std::string_view name);

// The login name of the user running the program (at most 128 characters);
// empty when it cannot be read.
std::string WindowsUserName();

// The file that stands for Tallis's per-user registry key: $VISTREL_REGISTRY
// when set, else "Tallis Corporation/Tallis/Pro/1.0.ini" below the user's
// configuration folder (userConfigFolder()).
std::filesystem::path tallisRegistryPath();
// Value "User" of section "Options" in that file; empty when absent.
std::string LastTallisUser();
std::string LastTallisUser(const std::filesystem::path& registryFile);

// The stored form of a typed password: each character exclusive-or'ed with the
// fixed 16-character key, the first character paired with the key's second.
// The result keeps at most 200 characters.
std::string ScramblePassword(std::string_view text);

// The program's name, shared by the windowed program and the command-line
// tool so both read the same INI file.
inline constexpr std::string_view kProgramName = "vistrel";

// Reads an environment variable (std::getenv in the program; tests give
// their own). Null when the variable is not set.
using EnvironmentLookup = std::function<const char*(const char*)>;

// The user's configuration folder and data folder: $XDG_CONFIG_HOME and
// $XDG_DATA_HOME when they hold an absolute path, else ~/.config and
// ~/.local/share.
std::filesystem::path userConfigFolder(const EnvironmentLookup& env);
std::filesystem::path userDataFolder(const EnvironmentLookup& env);

// Where the program keeps the files it reads and writes beside the tables.
//
// A portable setup keeps them in the program folder, as a Tallis
// installation does: vistrel.ini and NETDIR.INI beside the program, the
// private directory below it (priv/Vistrel/<user>) and the data directory
// "data". A setup is portable when $VISTREL_HOME names the program folder, or
// when the program folder already holds vistrel.ini or NETDIR.INI.
//
// Otherwise the program is installed for the desktop and follows its
// conventions: vistrel.ini and NETDIR.INI in ~/.config/vistrel, NETDIR.INI
// also in /etc/xdg/vistrel for every user of the machine ($XDG_CONFIG_DIRS),
// and ~/.local/share/vistrel as the private directory, with "data" in it.
struct ProgramFolders {
  std::filesystem::path program;   // the program file's folder, or $VISTREL_HOME
  bool portable = true;
  std::filesystem::path settings;  // vistrel.ini; the first folder NETDIR.INI is read from
  std::vector<std::filesystem::path> sharedSettings;  // where NETDIR.INI is read next
  std::filesystem::path privateDirectory;              // installed only
  std::filesystem::path defaultTaldb;                  // the data directory when nothing names one
};
ProgramFolders programFolders(const std::filesystem::path& executableFolder, const EnvironmentLookup& env);
// The running program's folders.
ProgramFolders programFolders();

// The program's INI file: "vistrel.ini" in the settings folder.
std::filesystem::path programIniPath();

// Where the alias TALDB points: $VISTREL_TALDB, else key TALDB of section
// Aliases in the program's INI file, else the default data directory.
std::filesystem::path resolveTaldbDirectory();

}  // namespace vistrel::host
