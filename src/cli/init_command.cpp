// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <ostream>

#include "app/demo_data.h"
#include "cli/args.h"
#include "cli/commands.h"
#include "cli/data_dir.h"
#include "host/file_write.h"
#include "host/tallis_schema.h"

namespace vistrel::cli {
namespace {

constexpr char kUsage[] =
    "Usage: vistrel-cli init --data DIR [--demo] [--contacts N] [--seed S] [--one-database]\n\n"
    "Creates a Tallis data directory DIR with every table. With --demo it fills it\n"
    "with made-up users, databases, contacts (N, default 20000), events, holidays,\n"
    "marks and saved filters; the same seed gives the same data. --one-database\n"
    "puts every contact in the database Sales. At most 10000000 contacts.\n"
    "All or nothing: the data file is built beside its place and moved there\n"
    "when complete; an existing one is never written over.\n";

namespace fs = std::filesystem;

// A whole number; one too big for any use reads as the largest 64-bit value.
bool parseCount(const std::string& text, std::int64_t* out) {
  if (text.empty()) return false;
  std::int64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v > (INT64_MAX - 9) / 10 ? INT64_MAX : v * 10 + (c - '0');
  }
  *out = v;
  return true;
}

// True for "/" and the paths that lead to it ("/..", "//").
bool isFileSystemRoot(const fs::path& dir) {
  std::error_code ec;
  const fs::path full = fs::weakly_canonical(fs::absolute(dir, ec), ec);
  return !ec && full == full.root_path();
}

// Fails when `dir` holds a data file already, saying whether it is a Tallis
// store; init never writes over one.
host::Status checkNoDataFile(const fs::path& dir) {
  const fs::path file = dir / host::kDataFileName;
  std::error_code ec;
  const fs::file_status st = fs::symlink_status(file, ec);
  if (ec && ec != std::errc::no_such_file_or_directory) {
    return host::Status::AccessDenied("cannot read " + file.string() + ": " + ec.message());
  }
  if (!fs::exists(st)) return host::Status::OK();
  host::Engine probe;
  useDataDirectory(probe, dir);
  if (probe.store(host::kTallisAlias).ok()) {
    return host::Status::InvalidArgument(dir.string() + " already holds Tallis data");
  }
  return host::Status::InvalidArgument(file.string() + " exists but is not a Tallis store; init leaves it as it is");
}

host::Status buildDataFile(const fs::path& build, bool demo, const app::DemoOptions& options) {
  VISTREL_RETURN_IF_ERROR(host::Engine::createDataDirectory(build));
  host::Engine engine;
  useDataDirectory(engine, build);
  VISTREL_RETURN_IF_ERROR(host::createTallisTables(engine, host::kTallisAlias));
  if (!demo) return host::Status::OK();
  VISTREL_RETURN_IF_ERROR(engine.setBulkLoad(host::kTallisAlias, true));
  VISTREL_RETURN_IF_ERROR(app::fillDemoData(engine, host::kTallisAlias, options));
  return engine.setBulkLoad(host::kTallisAlias, false);
}

// The data file is built beside its place and moved there once complete (a
// run that is killed or fails leaves no data file).
host::Status createDataDirectory(const fs::path& dir, bool demo, const app::DemoOptions& options) {
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (ec) return host::Status::IoError("cannot create " + dir.string() + ": " + ec.message());
  VISTREL_RETURN_IF_ERROR(checkNoDataFile(dir));
  host::removeAbandonedBuilds(dir);
  const fs::path build = dir / (std::string(host::kBuildFolderPrefix) + std::to_string(::getpid()));
  fs::remove_all(build, ec);
  host::Status s = buildDataFile(build, demo, options);
  if (s.ok()) s = host::moveFileIntoPlace(build / host::kDataFileName, dir / host::kDataFileName);
  fs::remove_all(build, ec);
  return s;
}

int runInit(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  auto args = Args::parse(argv, {"data", "contacts", "seed"}, {"demo", "one-database"});
  if (!args.ok()) {
    err << "vistrel-cli init: " << args.status().message() << "\n\n" << kUsage;
    return kExitUsage;
  }
  const auto data = args->value("data");
  if (const host::Status s = args->check({"data"}, 0); !s.ok()) {
    err << "vistrel-cli init: " << s.message() << "\n\n" << kUsage;
    return kExitUsage;
  }
  const bool demo = args->has("demo");
  if (!demo && (args->has("contacts") || args->has("seed") || args->has("one-database"))) {
    err << "vistrel-cli init: --contacts, --seed and --one-database go with --demo\n\n" << kUsage;
    return kExitUsage;
  }
  if (isFileSystemRoot(*data)) {
    err << "vistrel-cli init: " << *data << " is the root of the file system; give a folder for the data\n";
    return kExitUsage;
  }
  app::DemoOptions options;
  if (auto n = args->value("contacts"); n && !parseCount(*n, &options.contacts)) {
    err << "vistrel-cli init: --contacts needs a whole number, not '" << *n << "'\n";
    return kExitUsage;
  }
  if (options.contacts > app::kMaxDemoContacts) {
    err << "vistrel-cli init: --contacts takes at most " << app::kMaxDemoContacts << ", not "
        << *args->value("contacts") << "\n";
    return kExitUsage;
  }
  std::int64_t seed = 1;
  if (auto s = args->value("seed"); s && !parseCount(*s, &seed)) {
    err << "vistrel-cli init: --seed needs a whole number, not '" << *s << "'\n";
    return kExitUsage;
  }
  options.seed = static_cast<std::uint64_t>(seed);
  options.oneDatabase = args->has("one-database");
  options.progress = [&err](std::int64_t done, std::int64_t total) {
    if (total >= 100000) err << "\r" << done << " of " << total << " contacts" << std::flush;
  };

  const auto started = std::chrono::steady_clock::now();
  const host::Status s = createDataDirectory(*data, demo, options);
  if (demo && options.contacts >= 100000) err << "\n";
  if (!s.ok()) {
    err << "vistrel-cli init: " << s.message() << "\n";
    return kExitFailure;
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  out << "Created " << *data;
  if (demo) out << " with " << options.contacts << " demo contacts";
  out << " in " << static_cast<int>(seconds * 10) / 10.0 << " s\n";
  return kExitOk;
}

}  // namespace

const Command kInitCommand = {"init", "create a Tallis data directory, optionally with demo data", kUsage,
                              runInit};

}  // namespace vistrel::cli
