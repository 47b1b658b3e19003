// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "app/startup.h"

#include <spawn.h>
#include <sys/types.h>
#include <unistd.h>

#include <cstring>
#include <system_error>

#include "host/environment.h"
#include "host/ini_file.h"
#include "host/tallis_schema.h"
#include "host/text.h"

extern char** environ;

namespace vistrel::app {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kNetDirIni = "NETDIR.INI";
constexpr std::string_view kNetDirProgram = "netdir";
constexpr std::string_view kNotSet = "xx";
constexpr std::size_t kShortUserName = 6;

}  // namespace

host::Status startProgramDetached(const fs::path& program) {
  const std::string file = program.string();
  char* const argv[] = {const_cast<char*>(file.c_str()), nullptr};
  pid_t pid = 0;
  // The child is never waited for; it outlives this program, which ends
  // right after starting it.
  const int rc = posix_spawn(&pid, file.c_str(), nullptr, nullptr, argv, environ);
  if (rc != 0) return host::Status::IoError(file + ": " + std::strerror(rc));
  return host::Status::OK();
}

bool ReadNetDir(std::string& directory, const fs::path& programFolder) {
  return ReadNetDir(directory, std::vector<fs::path>{programFolder});
}

bool ReadNetDir(std::string& directory, const std::vector<fs::path>& iniFolders) {
  fs::path ini;
  std::error_code ec;
  for (const fs::path& folder : iniFolders) {
    if (fs::exists(folder / kNetDirIni, ec)) {
      ini = folder / kNetDirIni;
      break;
    }
  }
  std::string value(kNotSet);
  if (!ini.empty()) value = host::IniFile::load(ini).readString("Options", "NetDir", kNotSet);
  if (host::endsWith(value, "/")) value.pop_back();
  if (value == kNotSet || host::IsBlank(value)) return false;
  directory = value;
  return true;
}

host::Status startNetDirProgram(const StartupContext& context) {
  const host::Status started = context.startProgram(context.programFolder / kNetDirProgram);
  if (started.ok()) return started;
  return started.withMessage("Could not start the NETDIR command: " + started.message());
}

std::string privateDirectoryPath(const fs::path& programFolder, std::string_view userName,
                                 const std::vector<std::string>& args) {
  const bool shortName = !args.empty() && (args[0] == "/n" || args[0] == "/N");
  const std::string_view name = shortName ? host::utf8Left(userName, kShortUserName) : userName;
  return host::JoinPath(programFolder.string(), "priv/Vistrel/") + std::string(name);
}

host::Status createPrivateDirectory(const std::string& path) {
  std::error_code ec;
  fs::create_directories(path, ec);
  if (fs::is_directory(path, ec)) return host::Status::OK();
  return host::Status::IoError(std::string(kPrivateDirError) + path);
}

void registerStartupPasswords(host::Engine& engine) {
  engine.addPassword(host::tallisTablePassword(host::TablePassword::kUsers));
  engine.addPassword(host::tallisTablePassword(host::TablePassword::kContacts));
}

StartupReport prepareEngine(host::Engine& engine, const StartupContext& context) {
  StartupReport report;
  registerStartupPasswords(engine);
  const host::ProgramFolders& folders = context.folders;
  std::vector<fs::path> iniFolders{folders.portable ? context.programFolder : folders.settings};
  iniFolders.insert(iniFolders.end(), folders.sharedSettings.begin(), folders.sharedSettings.end());
  std::string netDir;
  if (!ReadNetDir(netDir, iniFolders)) {
    report.netDirMissing = true;
    return report;
  }
  if (const host::Status s = engine.setNetDir(netDir); !s.ok()) {
    report.errors.push_back(s.message());
    return report;
  }
  const std::string privateDir = folders.portable
                                     ? privateDirectoryPath(context.programFolder, context.userName, context.args)
                                     : folders.privateDirectory.string();
  // The engine gets the path even when the folder could not be made (the
  // user is told): tables open without it; only sorts too large for memory
  // would then fail, each with its own message.
  if (const host::Status s = createPrivateDirectory(privateDir); !s.ok()) report.errors.push_back(s.message());
  if (const host::Status s = engine.setPrivateDir(privateDir); !s.ok()) report.errors.push_back(s.message());
  report.ready = true;
  return report;
}

}  // namespace vistrel::app
