// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

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
// configuration folder ($XDG_CONFIG_HOME, or ~/.config).
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

// The folder of the running executable, or $VISTREL_HOME when set.
std::filesystem::path programFolder();
// The program's INI file: "vistrel.ini" in the program folder.
std::filesystem::path programIniPath();

// Where the alias TALDB points: $VISTREL_TALDB, else key TALDB of section
// Aliases in the program's INI file, else "data" in the program folder.
std::filesystem::path resolveTaldbDirectory();

}  // namespace vistrel::host
