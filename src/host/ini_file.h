// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/status.h"

namespace vistrel::host {

// An INI file held in memory: sections of key=value lines. Section and key
// names match ignoring the case of a to z, as such files are read on the
// platform the data comes from. Writing keeps every other line as it was.
class IniFile {
 public:
  // A missing or unreadable file gives an empty IniFile.
  static IniFile load(const std::filesystem::path& path);
  // For changing a file: a missing file gives an empty IniFile, but one that
  // exists and cannot be read is an error, so saving cannot wipe it.
  static StatusOr<IniFile> loadForUpdate(const std::filesystem::path& path);
  static IniFile parse(std::string_view text);

  std::optional<std::string> value(std::string_view section, std::string_view key) const;
  std::string readString(std::string_view section, std::string_view key,
                         std::string_view fallback) const;
  // The key's value as a decimal integer; `fallback` when absent or not a number.
  int readInteger(std::string_view section, std::string_view key, int fallback) const;

  void setValue(std::string_view section, std::string_view key, std::string_view value);

  std::string text() const;
  // Writes the whole file through a temporary file, so a failed write leaves
  // the old file in place.
  Status save(const std::filesystem::path& path) const;

 private:
  struct Line {
    std::string text;     // the line as read or written, without its line end
    std::string section;  // the section the line belongs to
    std::string key;      // empty unless the line is key=value
    std::string value;
  };
  const Line* find(std::string_view section, std::string_view key) const;

  std::vector<Line> lines_;
};

}  // namespace vistrel::host
