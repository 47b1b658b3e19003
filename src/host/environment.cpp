// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/environment.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <system_error>

#include "host/ini_file.h"
#include "host/text.h"

namespace vistrel::host {
namespace fs = std::filesystem;

bool IsBlankChar(char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\b'; }

bool IsBlank(std::string_view text) {
  for (char c : text) {
    if (!IsBlankChar(c)) return false;
  }
  return true;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  if (IsBlank(folder)) return std::string(name);
  const char sep = static_cast<char>(fs::path::preferred_separator);
  if (folder.back() == sep) return std::string(folder) + std::string(name);
  return std::string(folder) + sep + std::string(name);
}

std::string WindowsUserName() {
  std::string name;
  if (const passwd* pw = getpwuid(geteuid()); pw != nullptr && pw->pw_name != nullptr) {
    name = pw->pw_name;
  } else if (const char* user = std::getenv("USER"); user != nullptr) {
    name = user;
  }
  return std::string(utf8Left(name, 127));
}

namespace {

const char* systemEnvironment(const char* name) { return std::getenv(name); }

// The value of `name` when it is an absolute path; the desktop's conventions
// say to ignore a relative one.
std::optional<fs::path> absoluteFrom(const EnvironmentLookup& env, const char* name) {
  const char* value = env(name);
  if (value == nullptr || *value != '/') return std::nullopt;
  return fs::path(value);
}

fs::path homeFolder(const EnvironmentLookup& env) {
  if (const char* home = env("HOME"); home != nullptr && *home != '\0') return home;
  if (const passwd* pw = getpwuid(geteuid()); pw != nullptr && pw->pw_dir != nullptr) return pw->pw_dir;
  return fs::path();
}

// Empty when the system does not tell; the current folder is no stand-in.
fs::path executableFolder() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path() : exe.parent_path();
}

// The absolute paths of a colon-separated list.
std::vector<fs::path> absolutePaths(std::string_view list) {
  std::vector<fs::path> paths;
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t colon = std::min(list.find(':', start), list.size());
    const std::string_view item = list.substr(start, colon - start);
    if (!item.empty() && item.front() == '/') paths.emplace_back(item);
    start = colon + 1;
  }
  return paths;
}

bool holdsSettings(const fs::path& folder) {
  if (folder.empty()) return false;
  std::error_code ec;
  return fs::exists(folder / (std::string(kProgramName) + ".ini"), ec) || fs::exists(folder / "NETDIR.INI", ec);
}

}  // namespace

fs::path userConfigFolder(const EnvironmentLookup& env) {
  return absoluteFrom(env, "XDG_CONFIG_HOME").value_or(homeFolder(env) / ".config");
}

fs::path userDataFolder(const EnvironmentLookup& env) {
  return absoluteFrom(env, "XDG_DATA_HOME").value_or(homeFolder(env) / ".local" / "share");
}

fs::path tallisRegistryPath() {
  if (const char* p = std::getenv("VISTREL_REGISTRY"); p != nullptr && *p != '\0') return p;
  return userConfigFolder(systemEnvironment) / "Tallis Corporation" / "Tallis" / "Pro" / "1.0.ini";
}

std::string LastTallisUser(const fs::path& registryFile) {
  return IniFile::load(registryFile).readString("Options", "User", "");
}

std::string LastTallisUser() { return LastTallisUser(tallisRegistryPath()); }

std::string ScramblePassword(std::string_view text) {
  static constexpr std::string_view kKey = "#5#2#8#1#9#4#6#0";
  const std::string_view cut = utf8Left(text, 200);
  std::string out(cut);
  for (std::size_t i = 0; i < out.size(); ++i) {
    // Position i + 1 (1-based) pairs with key position ((i + 1) mod 16) + 1.
    out[i] = static_cast<char>(out[i] ^ kKey[(i + 1) % 16]);
  }
  return out;
}

ProgramFolders programFolders(const fs::path& executableFolder, const EnvironmentLookup& env) {
  ProgramFolders f;
  const char* home = env("VISTREL_HOME");
  const bool named = home != nullptr && *home != '\0';
  f.program = named ? fs::path(home) : executableFolder;
  f.portable = named || holdsSettings(f.program);
  if (f.portable) {
    f.settings = f.program;
    f.defaultTaldb = f.program / "data";
    return f;
  }
  const std::string name(kProgramName);
  f.settings = userConfigFolder(env) / name;
  const char* dirs = env("XDG_CONFIG_DIRS");
  for (const fs::path& dir : absolutePaths(dirs != nullptr && *dirs != '\0' ? dirs : "/etc/xdg")) {
    f.sharedSettings.push_back(dir / name);
  }
  f.privateDirectory = userDataFolder(env) / name;
  f.defaultTaldb = f.privateDirectory / "data";
  return f;
}

ProgramFolders programFolders() { return programFolders(executableFolder(), systemEnvironment); }

fs::path programIniPath() { return programFolders().settings / (std::string(kProgramName) + ".ini"); }

fs::path resolveTaldbDirectory() {
  if (const char* dir = std::getenv("VISTREL_TALDB"); dir != nullptr && *dir != '\0') return dir;
  const std::string fromIni = IniFile::load(programIniPath()).readString("Aliases", "TALDB", "");
  if (!IsBlank(fromIni)) return fs::path(fromIni);
  return programFolders().defaultTaldb;
}

}  // namespace vistrel::host
