// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "host/engine.h"
#include "host/status.h"

// The copy of the host's Paradox tables that this program works on. The
// host's directory is only ever read: no file of it is written, locked or
// renamed. The copy lives in a data directory of this program (normally
// below the private directory) and is refreshed table by table when a
// table's files change.
//
// Stored filters: the rows that came from the host's select table are
// listed in the copy (table vistrel_host_filters, by FRecno); a refresh
// replaces only those, so filters saved in this program stay. A host filter
// whose description (or key) is taken by one saved here is copied under the
// description followed by " (Tallis)".
namespace vistrel::host {

// The file of `tableName` ("event.db") in `directory`, matched ignoring
// letter case; empty when there is none. A regular file comes before any
// other entry of that name (a folder, a named pipe, a broken link).
std::filesystem::path findHostTable(const std::filesystem::path& directory, std::string_view tableName);

// Fails, naming it, when a name of `tables` ("CONTACT", "event.db") is no
// host table's.
Status checkHostTableNames(const std::vector<std::string>& tables);

// True when `directory` holds the host's contact table as a Paradox file
// and no data file of this program.
bool isHostDirectory(const std::filesystem::path& directory);

struct MirrorTableResult {
  enum class Outcome { kCopied, kUnchanged, kMissing, kFailed };
  std::string table;  // as this program names it ("CONTACT.DB")
  Outcome outcome = Outcome::kUnchanged;
  std::int64_t rows = 0;
  double seconds = 0;
  std::string message;  // why it was not copied
};

struct MirrorOptions {
  // Tables to copy, by name with or without ".DB", any letter case; empty: all.
  std::vector<std::string> tables;
  // Copies even the tables whose files did not change.
  bool force = false;
  // Called now and then while rows are copied.
  std::function<void(std::int64_t done, std::int64_t total)> progress;
  // Called as the copy of a table starts, with its name ("CONTACT.DB").
  std::function<void(const std::string& table)> copying;
};

// Makes or refreshes in `dataDir` (created when missing) the copy of the
// host's tables in `hostDir`. The tables are copied in one transaction, each
// under a savepoint of its own: a copy that fails leaves the previous one of
// that table whole and says why in its result, and a run stopped half-way
// leaves every table as it was. A table is copied only when its files
// changed (size, modification time, and while those may not tell, content),
// or with `force`. Fails as a whole when the data directory cannot be opened
// or made, is locked, or lies in the host's directory.
StatusOr<std::vector<MirrorTableResult>> mirrorHostTables(const std::filesystem::path& hostDir,
                                                          const std::filesystem::path& dataDir,
                                                          const MirrorOptions& options = {});

// The names of the tables of `results` that were not copied, with why, one
// per line; empty when all went well.
std::string mirrorProblems(const std::vector<MirrorTableResult>& results);

struct ExportTableResult {
  std::string file;
  std::int64_t rows = 0;
  // The first texts the code page lacks characters of ("CONTACT.DB record
  // 3, field City: '...'"), and how many there were in all.
  std::vector<std::string> unmappable;
  std::int64_t unmappableCount = 0;
};

struct ExportOptions {
  // Tables to write, as for MirrorOptions; empty: all.
  std::vector<std::string> tables;
  // Replaces the host tables `toDir` holds already; without it their being
  // there refuses the export.
  bool force = false;
  // Writes texts with characters the code page lacks, as "?" or a
  // look-alike; without it such texts refuse the export, naming them.
  bool replaceUnmappable = false;
};

// Writes the host tables of the data directory of `alias` as Paradox files
// (code page 1252) into `toDir`, as the host keeps them: the contact, event,
// user and select tables encrypted with their table passwords. A table
// there already (in any letter case) is written under its name there. All
// or nothing: every file is written beside its place before any is put there.
StatusOr<std::vector<ExportTableResult>> exportParadoxTables(Engine& engine, std::string_view alias,
                                                             const std::filesystem::path& toDir,
                                                             const ExportOptions& options = {});

}  // namespace vistrel::host
