// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/engine.h"

#include <signal.h>

#include <cerrno>
#include <cstdlib>

#include <sqlite3.h>

#include <cstdio>
#include <system_error>

#include "host/environment.h"
#include "host/store.h"
#include "host/text.h"

namespace vistrel::host {

bool isTextType(ColumnType type) { return type == ColumnType::kText || type == ColumnType::kMemo; }

bool operator==(const Value& a, const Value& b) {
  if (a.kind_ != b.kind_) return false;
  switch (a.kind_) {
    case Value::Kind::kNull: return true;
    case Value::Kind::kInteger: return a.int_ == b.int_;
    case Value::Kind::kReal: return a.real_ == b.real_;
    case Value::Kind::kText: return a.text_ == b.text_;
  }
  return false;
}

std::string passwordHash(std::string_view password) {
  // FNV-1a over a salted text: enough to keep the password itself out of the
  // data file; the table password is a gate, not a secret store.
  std::uint64_t h = 14695981039346656037ull;
  const std::string salted = "vistrel:" + std::string(password);
  for (unsigned char c : salted) {
    h ^= c;
    h *= 1099511628211ull;
  }
  char buf[17];
  std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(h));
  return buf;
}

Engine::Engine() = default;

Engine::~Engine() = default;

Engine& Engine::global() {
  static Engine engine;
  return engine;
}

void Engine::setAlias(std::string_view alias, const std::filesystem::path& directory) {
  aliases_[upperAscii(alias)] = directory;
}

StatusOr<std::filesystem::path> Engine::aliasDirectory(std::string_view alias) const {
  const std::string key = upperAscii(alias);
  if (auto it = aliases_.find(key); it != aliases_.end()) return it->second;
  if (key == kTallisAlias) return resolveTaldbDirectory();
  return Status::NotFound("unknown database alias " + std::string(alias));
}

void Engine::addPassword(std::string_view password) { passwordHashes_.insert(passwordHash(password)); }

bool Engine::knowsPassword(std::string_view password) const {
  return passwordHashes_.count(passwordHash(password)) > 0;
}

Status Engine::setNetDir(const std::filesystem::path& directory) {
  if (!netDir_.empty()) return Status::InvalidArgument("the network directory is already set");
  if (opened_) return Status::InvalidArgument("the network directory must be set before the first table opens");
  netDir_ = directory;
  return Status::OK();
}

Status Engine::setPrivateDir(const std::filesystem::path& directory) {
  if (!privateDir_.empty()) return Status::InvalidArgument("the private directory is already set");
  if (opened_) return Status::InvalidArgument("the private directory must be set before the first table opens");
  privateDir_ = directory;
  // Temporary files of the database (large sorts) go to the private
  // directory, or to the system's temporary folder when it does not exist.
  sqlite3_free(sqlite3_temp_directory);
  sqlite3_temp_directory = nullptr;
  std::error_code ec;
  if (std::filesystem::is_directory(directory, ec)) sqlite3_temp_directory = sqlite3_mprintf("%s", directory.c_str());
  return Status::OK();
}

StatusOr<std::shared_ptr<Store>> Engine::store(std::string_view alias) {
  auto dir = aliasDirectory(alias);
  if (!dir.ok()) return dir.status();
  std::error_code ec;
  std::filesystem::path key = std::filesystem::weakly_canonical(*dir, ec);
  if (ec) key = *dir;
  if (auto it = held_.find(key); it != held_.end()) return it->second;
  removeAbandonedBuilds(*dir);
  auto opened = Store::open(*dir, static_cast<int>(busyTimeout_.count()));
  if (!opened.ok()) return opened.status();
  opened_ = true;
  held_[key] = *opened;
  return *opened;
}

void Engine::closeStores() { held_.clear(); }

Status Engine::createDataDirectory(const std::filesystem::path& directory) {
  std::error_code ec;
  std::filesystem::create_directories(directory, ec);
  if (ec) return Status::IoError("Cannot create " + directory.string() + ": " + ec.message());
  const std::filesystem::path file = directory / kDataFileName;
  if (std::filesystem::exists(file, ec)) {
    return Status::InvalidArgument(directory.string() + " already holds Tallis data");
  }
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc == SQLITE_OK) {
    rc = sqlite3_exec(db,
                      "PRAGMA page_size=8192;"
                      "PRAGMA journal_mode=WAL;"
                      "CREATE TABLE vistrel_tables (name TEXT PRIMARY KEY, definition TEXT NOT NULL);",
                      nullptr, nullptr, nullptr);
  }
  const std::string msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  sqlite3_close_v2(db);
  if (rc != SQLITE_OK) return Status::IoError("Cannot create " + file.string() + ": " + msg);
  return Status::OK();
}

Status Engine::createTable(std::string_view alias, const TableDef& def) {
  auto s = store(alias);
  if (!s.ok()) return s.status();
  return (*s)->createTable(def);
}

Status Engine::setBulkLoad(std::string_view alias, bool on) {
  auto s = store(alias);
  if (!s.ok()) return s.status();
  (*s)->suspendCursors();
  return (*s)->exec(on ? "PRAGMA journal_mode=DELETE; PRAGMA synchronous=OFF"
                       : "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL",
                    (*s)->directory().string());
}

Status Engine::begin(std::string_view alias) {
  auto s = store(alias);
  if (!s.ok()) return s.status();
  return (*s)->begin();
}

Status Engine::finish(std::string_view alias, bool commit) {
  auto s = store(alias);
  if (!s.ok()) return s.status();
  return commit ? (*s)->commit() : (*s)->rollback();
}

void removeAbandonedBuilds(const std::filesystem::path& directory) {
  std::error_code ec;
  for (std::filesystem::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.rfind(kBuildFolderPrefix, 0) != 0) continue;
    const long pid = std::atol(name.c_str() + kBuildFolderPrefix.size());
    if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
      std::error_code ignored;
      std::filesystem::remove_all(it->path(), ignored);
    }
  }
}

}  // namespace vistrel::host
