// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "host/locale.h"
#include "host/status.h"
#include "host/table_def.h"

namespace vistrel::host {

class Store;

// The name of the one database file in a Tallis data directory.
inline constexpr std::string_view kDataFileName = "tallis.db";
// The alias of the Tallis data directory.
inline constexpr std::string_view kTallisAlias = "TALDB";

// The table engine: aliases, passwords, the network and private directories,
// and the open data directories that table objects share. One per process in
// the program (global()); tests make their own.
//
// Single-threaded: every call comes from the thread that owns the engine.
class Engine {
 public:
  Engine();
  ~Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  static Engine& global();

  // Points an alias at a data directory, replacing its default resolution
  // (TALDB: see resolveTaldbDirectory()).
  void setAlias(std::string_view alias, const std::filesystem::path& directory);
  StatusOr<std::filesystem::path> aliasDirectory(std::string_view alias) const;

  // Tables protected by this password can be opened afterwards.
  void addPassword(std::string_view password);
  bool knowsPassword(std::string_view password) const;
  bool knowsPasswordHash(std::string_view hash) const { return passwordHashes_.count(std::string(hash)) > 0; }

  // Each may be set once, before the first table is opened.
  Status setNetDir(const std::filesystem::path& directory);
  Status setPrivateDir(const std::filesystem::path& directory);
  const std::filesystem::path& netDir() const { return netDir_; }
  const std::filesystem::path& privateDir() const { return privateDir_; }

  // How long a table operation waits for another program's lock.
  void setBusyTimeout(std::chrono::milliseconds timeout) { busyTimeout_ = timeout; }
  std::chrono::milliseconds busyTimeout() const { return busyTimeout_; }

  // How values read and write as text.
  void setLocale(const Locale& locale) { locale_ = locale; }
  const Locale& locale() const { return locale_; }

  // The open data directory of an alias, shared by every table object on it.
  StatusOr<std::shared_ptr<Store>> store(std::string_view alias);
  // Drops the engine's hold on every data directory; table objects keep
  // theirs until they close.
  void closeStores();

  // Creates a data directory with an empty database file in it.
  static Status createDataDirectory(const std::filesystem::path& directory);
  // While on, writes to the alias's data directory skip the write-ahead log
  // and the waits for the disk: for filling a new directory that no other
  // program uses yet. Turning it off makes the directory shareable again.
  Status setBulkLoad(std::string_view alias, bool on);

  // Creates a table in the data directory of `alias`.
  Status createTable(std::string_view alias, const TableDef& def);

  // Runs `work` in one transaction on the alias's data directory: every write
  // it makes is kept when it returns ok, none when it fails.
  template <typename Fn>
  Status inTransaction(std::string_view alias, Fn&& work);

 private:
  Status begin(std::string_view alias);
  Status finish(std::string_view alias, bool commit);

  std::map<std::string, std::filesystem::path, std::less<>> aliases_;
  std::map<std::filesystem::path, std::weak_ptr<Store>> stores_;
  std::map<std::filesystem::path, std::shared_ptr<Store>> held_;
  std::set<std::string> passwordHashes_;
  std::filesystem::path netDir_;
  std::filesystem::path privateDir_;
  bool opened_ = false;
  std::chrono::milliseconds busyTimeout_{5000};
  Locale locale_;
};

template <typename Fn>
Status Engine::inTransaction(std::string_view alias, Fn&& work) {
  VISTREL_RETURN_IF_ERROR(begin(alias));
  Status result = work();
  Status end = finish(alias, result.ok());
  return result.ok() ? end : result;
}

// A data file is built in a folder of its own beside its place, named by
// this and the process that builds it, and moved into place when complete.
// A build that is stopped half-way (killed) leaves its folder behind; the
// next program to open a data directory there removes it.
inline constexpr std::string_view kBuildFolderPrefix = ".tallis-init-";
// Removes the build folders in `directory` whose process is gone.
void removeAbandonedBuilds(const std::filesystem::path& directory);

// A stable hash of a table password; data directories store only this.
std::string passwordHash(std::string_view password);

}  // namespace vistrel::host
