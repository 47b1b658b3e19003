// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/status.h"
#include "host/value.h"

// Paradox table files (.DB with the memo file .MB beside it) read and
// written through pxlib. Values come and go in this program's own forms:
// texts in UTF-8, dates and times as day numbers (days since 30 December
// 1899, the fraction being the time of day), logicals as 0 or 1.
namespace vistrel::host {

// The field types as the file stores them.
enum class ParadoxType : std::uint8_t {
  kAlpha = 0x01,
  kDate = 0x02,
  kShort = 0x03,
  kLong = 0x04,
  kCurrency = 0x05,
  kNumber = 0x06,
  kLogical = 0x09,
  kMemo = 0x0C,
  kBlob = 0x0D,
  kFmtMemo = 0x0E,
  kOle = 0x0F,
  kGraphic = 0x10,
  kTime = 0x14,
  kTimestamp = 0x15,
  kAutoInc = 0x16,
  kBcd = 0x17,
  kBytes = 0x18,
};

// One field: its name, type and width in the record (for memos the inline
// part plus the 10 bytes that point into the .MB file).
struct ParadoxField {
  std::string name;
  ParadoxType type = ParadoxType::kAlpha;
  int length = 0;
};

struct ParadoxTableInfo {
  std::vector<ParadoxField> fields;
  std::int64_t records = 0;  // as the header counts them
  int codePage = 0;
  bool encrypted = false;
  bool hasMemoFile = false;
};

// The memo file of a table: the .MB beside `dbFile` whose name matches
// ignoring case; empty when there is none.
std::filesystem::path paradoxMemoFile(const std::filesystem::path& dbFile);
// The memo file a table written as `dbFile` gets: the one there is, or the
// name with ".MB".
std::filesystem::path paradoxMemoFileFor(const std::filesystem::path& dbFile);

// An open Paradox table, read only. Encrypted tables read without their
// password. A file that is cut short or damaged is refused with a message
// that names it: among others a field of a type this program does not know
// or of a width its type does not have, and blocks that hold other than the
// header's count of records. Field names and texts come in UTF-8 from the
// table's code page. The files are opened for reading only and never
// locked; they must be regular files, and of the memo file only what the
// records point at is read.
class ParadoxReader {
 public:
  ~ParadoxReader();
  ParadoxReader(const ParadoxReader&) = delete;
  ParadoxReader& operator=(const ParadoxReader&) = delete;

  static StatusOr<std::unique_ptr<ParadoxReader>> open(const std::filesystem::path& dbFile);

  const ParadoxTableInfo& info() const { return info_; }
  // Position of the field whose name matches ignoring case, or -1.
  int field(std::string_view name) const;

  // Walks the records in file order. For each, `values` holds one value per
  // entry of `wanted` (a field position, or -1 for a field the table lacks:
  // null). Stops at the first failure, the visitor's or the file's.
  using RecordVisitor = std::function<Status(const std::vector<Value>& values)>;
  Status read(const std::vector<int>& wanted, const RecordVisitor& visit);

 private:
  struct Impl;
  explicit ParadoxReader(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
  ParadoxTableInfo info_;
};

struct ParadoxWriteOptions {
  int codePage = 1252;
  std::string password;  // non-empty: the table is encrypted with it
  // Told of each text the code page cannot hold as it is (it is written with
  // "?" or a look-alike): the record (1-based), the field and the text.
  std::function<void(std::int64_t record, const std::string& field, const std::string& text)> unmappable;
};

// Hands the next row (one value per field) and returns true, or false at the end.
using ParadoxRowSource = std::function<StatusOr<bool>(std::vector<Value>* row)>;

// A table built in memory: the table file and, when a field is a memo, its
// memo file (empty otherwise).
struct ParadoxFiles {
  std::string table;
  std::string memo;
};

// Builds the files of table `tableName`. Field names and texts are converted
// to the code page; a character it lacks becomes "?" (or a look-alike), and
// the options are told.
StatusOr<ParadoxFiles> buildParadoxTable(std::string_view tableName, const std::vector<ParadoxField>& fields,
                                         const ParadoxRowSource& rows, const ParadoxWriteOptions& options);

// Builds a table and writes its file, and its memo file when it has one
// (paradoxMemoFileFor), through the one file writer: both are written before
// either replaces the file it is to replace.
Status writeParadoxTable(const std::filesystem::path& dbFile, const std::vector<ParadoxField>& fields,
                         const ParadoxRowSource& rows, const ParadoxWriteOptions& options);

}  // namespace vistrel::host
