// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/ini_file.h"

#include <charconv>
#include <fstream>
#include <sstream>
#include <system_error>

#include "host/file_write.h"
#include "host/text.h"

namespace vistrel::host {

IniFile IniFile::load(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return IniFile();
  std::ostringstream buf;
  buf << in.rdbuf();
  return parse(buf.str());
}

StatusOr<IniFile> IniFile::loadForUpdate(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec) && !ec) return IniFile();
  std::ifstream in(path, std::ios::binary);
  if (ec || !in || !std::filesystem::is_regular_file(path, ec)) return Status::IoError("Cannot read " + path.string());
  std::ostringstream buf;
  buf << in.rdbuf();
  if (in.bad()) return Status::IoError("Cannot read " + path.string());
  return parse(buf.str());
}

IniFile IniFile::parse(std::string_view text) {
  IniFile ini;
  std::string section;
  while (!text.empty()) {
    const std::size_t eol = text.find('\n');
    std::string_view raw = text.substr(0, eol);
    text = (eol == std::string_view::npos) ? std::string_view() : text.substr(eol + 1);
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    Line line;
    line.text = std::string(raw);
    const std::string_view t = trimWhite(raw);
    if (t.size() >= 2 && t.front() == '[' && t.back() == ']') {
      section = std::string(trimWhite(t.substr(1, t.size() - 2)));
    } else if (!t.empty() && t.front() != ';') {
      const std::size_t eq = t.find('=');
      if (eq != std::string_view::npos && eq > 0) {
        line.key = std::string(trimWhite(t.substr(0, eq)));
        line.value = std::string(trimWhite(t.substr(eq + 1)));
      }
    }
    line.section = section;
    ini.lines_.push_back(std::move(line));
  }
  return ini;
}

const IniFile::Line* IniFile::find(std::string_view section, std::string_view key) const {
  for (const Line& line : lines_) {
    if (!line.key.empty() && equalsIgnoreCase(line.section, section) &&
        equalsIgnoreCase(line.key, key)) {
      return &line;
    }
  }
  return nullptr;
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
  const Line* line = find(section, key);
  if (line == nullptr) return std::nullopt;
  return line->value;
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
  const Line* line = find(section, key);
  return line ? line->value : std::string(fallback);
}

int IniFile::readInteger(std::string_view section, std::string_view key, int fallback) const {
  const Line* line = find(section, key);
  if (line == nullptr) return fallback;
  const std::string& v = line->value;
  int result = 0;
  const char* begin = v.data() + (!v.empty() && v[0] == '+' ? 1 : 0);
  const auto [ptr, ec] = std::from_chars(begin, v.data() + v.size(), result);
  if (ec != std::errc() || ptr != v.data() + v.size() || v.empty()) return fallback;
  return result;
}

void IniFile::setValue(std::string_view section, std::string_view key, std::string_view value) {
  const std::string text = std::string(key) + "=" + std::string(value);
  for (Line& line : lines_) {
    if (!line.key.empty() && equalsIgnoreCase(line.section, section) &&
        equalsIgnoreCase(line.key, key)) {
      line.value = std::string(value);
      line.text = std::string(line.key) + "=" + std::string(value);
      return;
    }
  }
  // Insert after the last line of the section, or start the section at the end.
  std::size_t insertAt = lines_.size();
  bool found = false;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (equalsIgnoreCase(lines_[i].section, section)) {
      found = true;
      if (!trimWhite(lines_[i].text).empty()) insertAt = i + 1;
    }
  }
  Line line{text, std::string(section), std::string(key), std::string(value)};
  if (!found) {
    if (!lines_.empty() && !trimWhite(lines_.back().text).empty()) {
      lines_.push_back(Line{"", lines_.back().section, "", ""});
    }
    lines_.push_back(Line{"[" + std::string(section) + "]", std::string(section), "", ""});
    lines_.push_back(std::move(line));
    return;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(line));
}

std::string IniFile::text() const {
  std::string out;
  for (const Line& line : lines_) {
    out += line.text;
    out += "\r\n";
  }
  return out;
}

Status IniFile::save(const std::filesystem::path& path) const {
  return writeFileAtomically(path, text());
}

}  // namespace vistrel::host
