// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/environment.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
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

fs::path tallisRegistryPath() {
  if (const char* p = std::getenv("VISTREL_REGISTRY"); p != nullptr && *p != '\0') return p;
  fs::path base;
  if (const char* x = std::getenv("XDG_CONFIG_HOME"); x != nullptr && *x != '\0') {
    base = x;
  } else if (const char* home = std::getenv("HOME"); home != nullptr) {
    base = fs::path(home) / ".config";
  }
  return base / "Tallis Corporation" / "Tallis" / "Pro" / "1.0.ini";
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

fs::path programFolder() {
  if (const char* home = std::getenv("VISTREL_HOME"); home != nullptr && *home != '\0') {
    return fs::path(home);
  }
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return fs::current_path(ec);
  return exe.parent_path();
}

fs::path programIniPath() { return programFolder() / (std::string(kProgramName) + ".ini"); }

fs::path resolveTaldbDirectory() {
  if (const char* dir = std::getenv("VISTREL_TALDB"); dir != nullptr && *dir != '\0') return dir;
  const std::string fromIni = IniFile::load(programIniPath()).readString("Aliases", "TALDB", "");
  if (!IsBlank(fromIni)) return fs::path(fromIni);
  return programFolder() / "data";
}

}  // namespace vistrel::host
