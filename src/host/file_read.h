// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <filesystem>
#include <istream>
#include <memory>
#include <string>
#include <string_view>

#include "host/status.h"

namespace vistrel::host {

// What a file is read as: its name in messages ("a CSV file") and the most
// bytes such a file may hold.
struct InputKind {
  std::string_view noun;
  std::uintmax_t maxBytes;
};

inline constexpr InputKind kCsvFile{"a CSV file", std::uintmax_t{4} << 30};
// Ten criteria lines of a few hundred characters each, with room to spare.
inline constexpr InputKind kFilterDefinitionFile{"a filter definition", std::uintmax_t{64} << 10};
// 65535 blocks of at most 32 KiB after a header of at most 64 KiB.
inline constexpr InputKind kParadoxTableFile{"a Paradox table", (std::uintmax_t{65535} << 15) + (1 << 16)};
// Only what the table's records point at is read of it.
inline constexpr InputKind kMemoFile{"a memo file", UINTMAX_MAX};

// An input file open for reading: a regular file (a link is followed) no
// larger than its kind allows. Opening never blocks on a named pipe and
// never reads a device: both are refused, as are directories and sockets,
// with a message that names the file and says what it is. Reads stop at the
// size the file had when it was opened.
class InputFile {
 public:
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  static StatusOr<std::unique_ptr<InputFile>> open(const std::filesystem::path& path, const InputKind& kind);

  const std::filesystem::path& path() const { return path_; }
  std::uintmax_t size() const { return size_; }

  // Up to `n` bytes at `offset` into `buffer`; fewer only at the end of the
  // file. The count read, or an IoError naming the file.
  StatusOr<std::size_t> readAt(std::uintmax_t offset, std::size_t n, char* buffer) const;

  // The file from its start as a stream. A read that fails sets the
  // stream's badbit, so a reader can tell it from the end of the file.
  std::istream& stream();

 private:
  class Buffer;
  InputFile(std::filesystem::path path, int fd, std::uintmax_t size);

  std::filesystem::path path_;
  int fd_ = -1;
  std::uintmax_t size_ = 0;
  std::unique_ptr<Buffer> buffer_;
  std::unique_ptr<std::istream> stream_;
};

// The whole of an input file, checked as InputFile::open checks it.
StatusOr<std::string> readInputFile(const std::filesystem::path& path, const InputKind& kind);

}  // namespace vistrel::host
