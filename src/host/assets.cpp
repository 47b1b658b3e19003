// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/assets.h"

#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <system_error>

namespace vistrel::host {
namespace fs = std::filesystem;

namespace {

// A name below the data folder: relative, without a ".." step.
bool insideFolder(std::string_view name) {
  if (name.empty() || name.front() == '/') return false;
  std::size_t start = 0;
  while (start <= name.size()) {
    const std::size_t slash = name.find('/', start);
    const std::string_view step = name.substr(start, slash == std::string_view::npos ? std::string_view::npos
                                                                                      : slash - start);
    if (step == "..") return false;
    if (slash == std::string_view::npos) break;
    start = slash + 1;
  }
  return true;
}

std::unique_ptr<const std::string> readWhole(const fs::path& file) {
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) return nullptr;
  std::ifstream in(file, std::ios::binary);
  if (!in) return nullptr;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) return nullptr;
  return std::make_unique<const std::string>(std::move(bytes).str());
}

}  // namespace

fs::path assetFolderFor(const fs::path& programFile) {
  return programFile.parent_path().parent_path() / "share" / "vistrel";
}

const fs::path& assetFolder() {
  static const fs::path folder = [] {
    std::error_code ec;
    // The kernel's link names the program file itself, past any symbolic
    // link the program was started through.
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : assetFolderFor(exe);
  }();
  return folder;
}

Status checkAssetFolder() {
  std::error_code ec;
  if (fs::is_directory(assetFolder(), ec)) return Status::OK();
  return Status::NotFound("the program's data files are missing: there is no folder " + assetFolder().string());
}

std::optional<std::string_view> asset(std::string_view name) {
  if (!insideFolder(name)) return std::nullopt;
  static std::mutex mutex;
  // Missing files are remembered too (as null), so each name is looked up once.
  static std::map<std::string, std::unique_ptr<const std::string>, std::less<>> files;
  const std::lock_guard<std::mutex> lock(mutex);
  auto it = files.find(name);
  if (it == files.end()) it = files.emplace(std::string(name), readWhole(assetFolder() / name)).first;
  if (it->second == nullptr) return std::nullopt;
  return std::string_view(*it->second);
}

}  // namespace vistrel::host
