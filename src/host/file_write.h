// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "host/status.h"

namespace vistrel::host {

// Writes `bytes` to `path` whole or not at all: they go to a temporary file
// beside it, which is flushed to disk and then renamed over `path`. On failure
// `path` is as it was, the temporary file is gone, and the Status says
// "cannot write <path>: <the system's reason>". Every file the program writes
// (maps, saved pictures, INI files, Paradox tables) goes through here or
// through StagedFile below. A `path` that is a link is written through to the
// file it names, the link staying as it is; one that names no file, or a path
// that is a directory, device, named pipe or socket, is refused.
Status writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// The two halves of writeFileAtomically, for files that are to change
// together: each is written to its temporary file and flushed to disk before
// any is renamed into place. One dropped before commit() removes its
// temporary file and leaves its path as it was.
class StagedFile {
 public:
  ~StagedFile();
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  static StatusOr<std::unique_ptr<StagedFile>> write(const std::filesystem::path& path, std::string_view bytes);
  // Renames the temporary file over the path, then flushes the folder.
  Status commit();
  const std::filesystem::path& path() const { return path_; }

 private:
  StagedFile(std::filesystem::path path, std::filesystem::path target, std::string temporary)
      : path_(std::move(path)), target_(std::move(target)), temporary_(std::move(temporary)) {}
  std::filesystem::path path_;    // as the caller named it
  std::filesystem::path target_;  // the file written: the path, or the file a link names
  std::string temporary_;         // empty once renamed
};

// Puts the finished file `from` in place as `to`, never over an existing
// file: flushes it to disk, gives it the new name (failing with "File exists"
// when `to` is there) and drops the old one, then flushes the folder. A crash
// at any point leaves `to` either missing or whole. For files built by
// another writer (a data directory's database), not through the routine above.
Status moveFileIntoPlace(const std::filesystem::path& from, const std::filesystem::path& to);

// The system's reason for an errno value, as a user reads it ("No space left
// on device").
std::string systemReason(int errnoValue);

// What a file of `mode` (st_mode) is, in a user's words: "a directory", "a
// named pipe", "a device".
std::string_view fileKindName(unsigned mode);

// Test seam: while set, every write through writeFileAtomically asks `fault`
// first; a non-zero errno it returns makes that write fail with that reason
// after the temporary file was created. Pass nullptr to clear.
using WriteFault = std::function<int(const std::filesystem::path& path)>;
void setWriteFaultForTesting(WriteFault fault);

}  // namespace vistrel::host
