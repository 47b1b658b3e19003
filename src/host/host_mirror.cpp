// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/host_mirror.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <set>
#include <system_error>

#include "host/file_read.h"
#include "host/file_write.h"
#include "host/paradox.h"
#include "host/store.h"
#include "host/tallis_schema.h"
#include "host/test_hooks.h"
#include "host/text.h"

namespace vistrel::host {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kMirrorAlias = "VISTREL_MIRROR";
constexpr std::string_view kTallisSuffix = " (Tallis)";

// A file changed this short a time before it is copied may change again
// without its size or modification time showing it: time stamps are coarse
// on some file systems (two seconds, or a second on network shares), and the
// host's clock may run a little apart from ours. Such a copy also keeps a
// hash of the files' contents, which later refreshes compare while the time
// stamps stay equal.
constexpr auto kUnsettled = std::chrono::minutes(2);

// What a refresh compares: the size and modification time of the table's
// files, then a "|" and the hash of their contents when one was taken.
struct Signature {
  std::string stamps;
  std::string hash;
  bool recent = false;  // a file was changed within kUnsettled of now

  std::string text() const { return hash.empty() ? stamps : stamps + "|" + hash; }
  static Signature parse(std::string_view text) {
    Signature s;
    const std::size_t bar = text.find('|');
    s.stamps = std::string(text.substr(0, bar));
    if (bar != std::string_view::npos) s.hash = std::string(text.substr(bar + 1));
    return s;
  }
};

std::vector<fs::path> tableFiles(const fs::path& db) {
  std::vector<fs::path> files{db};
  if (fs::path mb = paradoxMemoFile(db); !mb.empty()) files.push_back(mb);
  return files;
}

Signature fileSignature(const fs::path& db) {
  Signature sig;
  const auto now = fs::file_time_type::clock::now();
  for (const fs::path& p : tableFiles(db)) {
    std::error_code ec;
    const auto size = fs::file_size(p, ec);
    const auto time = fs::last_write_time(p, ec);
    sig.recent = sig.recent || ec || time > now - kUnsettled;
    sig.stamps += p.filename().string() + ":" + std::to_string(size) + ":" +
                  std::to_string(time.time_since_epoch().count()) + ";";
  }
  return sig;
}

// A hash of the contents of the table's files, as hex; empty when one cannot
// be read (the copy then says why).
std::string contentHash(const fs::path& db) {
  std::uint64_t h = 0x9E3779B97F4A7C15ull;
  std::vector<char> buffer(1 << 20);
  for (const fs::path& p : tableFiles(db)) {
    auto file = InputFile::open(p, kMemoFile);
    if (!file.ok()) return std::string();
    for (std::uintmax_t at = 0; at < (*file)->size();) {
      auto got = (*file)->readAt(at, buffer.size(), buffer.data());
      if (!got.ok() || *got == 0) return std::string();
      for (std::size_t i = 0; i < *got; i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, buffer.data() + i, std::min<std::size_t>(8, *got - i));
        h = ((h << 5 | h >> 59) ^ word) * 0x100000001B3ull;
      }
      at += *got;
    }
    h = (h ^ (*file)->size()) * 0x100000001B3ull;
  }
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
  return hex;
}

Status ensureBookkeeping(Store& store) {
  return store.exec(
      "CREATE TABLE IF NOT EXISTS vistrel_mirror (name TEXT PRIMARY KEY, signature TEXT NOT NULL, rows INTEGER);"
      "CREATE TABLE IF NOT EXISTS vistrel_host_filters (frecno TEXT PRIMARY KEY COLLATE NOCASE)",
      store.directory().string());
}

StatusOr<std::string> storedSignature(Store& store, const std::string& name) {
  Statement st(store, "SELECT signature FROM vistrel_mirror WHERE name = ?1", name);
  st.bindText(1, name);
  auto row = st.step();
  if (!row.ok()) return row.status();
  return *row ? std::string(st.text(0)) : std::string();
}

void bindValue(Statement& st, int i, const Value& v, const ColumnMeta& col) {
  switch (v.kind()) {
    case Value::Kind::kInteger: sqlite3_bind_int64(st.get(), i, v.integer()); return;
    case Value::Kind::kReal: sqlite3_bind_double(st.get(), i, v.real()); return;
    case Value::Kind::kText: st.bindText(i, v.text()); return;
    case Value::Kind::kNull: break;
  }
  if (!col.keyField) sqlite3_bind_null(st.get(), i);
  else if (isTextType(col.type)) st.bindText(i, "");
  else sqlite3_bind_int(st.get(), i, 0);
}

// Host filters keep their description and key unless a filter saved in this
// program holds it; then they take the first free one with " (Tallis)".
class FilterNames {
 public:
  Status load(Store& store, const TableMeta& meta) {
    Statement st(store, "SELECT Shortname, FRecno FROM " + quoteIdent(meta.sqlName), meta.name);
    for (;;) {
      auto row = st.step();
      if (!row.ok()) return row.status();
      if (!*row) return Status::OK();
      for (int c = 0; c < 2; ++c) taken_[c].insert(upperAscii(st.text(c)));
    }
  }
  // Column 0: description, 1: key.
  void claim(int column, Value* v) {
    std::string base = v->isNull() ? std::string() : v->text();
    std::string name = base;
    for (int n = 1; taken_[column].count(upperAscii(name)) > 0; ++n) {
      name = base + std::string(kTallisSuffix);
      if (n > 1) name.insert(name.size() - 1, " " + std::to_string(n));
    }
    taken_[column].insert(upperAscii(name));
    if (name != base) v->setText(name);
  }

 private:
  std::set<std::string> taken_[2];
};

// Drops the secondary indexes of the table; the statements that make them again.
StatusOr<std::vector<std::string>> dropIndexes(Store& store, const TableMeta& meta) {
  std::vector<std::string> indexes;
  std::string drop;
  {
    Statement list(store, "SELECT name, sql FROM sqlite_master WHERE type = 'index' AND tbl_name = ?1 AND "
                          "sql NOT NULL", meta.name);
    list.bindText(1, meta.sqlName);
    for (;;) {
      auto row = list.step();
      if (!row.ok()) return row.status();
      if (!*row) break;
      drop += "DROP INDEX " + quoteIdent(list.text(0)) + ";";
      indexes.emplace_back(list.text(1));
    }
  }
  if (!drop.empty()) VISTREL_RETURN_IF_ERROR(store.exec(drop, meta.name));
  return indexes;
}

// Makes the dropped indexes again; a unique one the host's rows break is refused.
Status rebuildIndexes(Store& store, const TableMeta& meta, const std::vector<std::string>& indexes) {
  for (const std::string& sql : indexes) {
    const Status built = store.exec(sql, meta.name);
    if (!built.ok()) return Status::InvalidArgument(meta.name + ": the host's rows break a key (" + built.message() + ")");
  }
  return Status::OK();
}

// Notes which host file the table now mirrors, so that an unchanged file is not copied again.
Status recordSignature(Store& store, const TableMeta& meta, const std::string& signature, std::int64_t rows) {
  Statement done(store, "INSERT OR REPLACE INTO vistrel_mirror (name, signature, rows) VALUES (?1, ?2, ?3)",
                 meta.name);
  done.bindText(1, meta.sqlName);
  done.bindText(2, signature);
  done.bindInteger(3, rows);
  return done.run();
}

// The statement that inserts a row of the table; `wanted` gets the host field of each column.
std::string insertSql(const TableMeta& meta, const ParadoxReader& reader, std::vector<int>& wanted) {
  std::string columns, params;
  for (std::size_t i = 0; i < meta.columns.size(); ++i) {
    columns += (i ? ", " : "") + quoteIdent(meta.columns[i].name);
    params += (i ? ", ?" : "?") + std::to_string(i + 1);
    wanted.push_back(reader.field(meta.columns[i].name));
  }
  return "INSERT INTO " + quoteIdent(meta.sqlName) + " (" + columns + ") VALUES (" + params + ")";
}

Status copyTable(Store& store, const TableMeta& meta, ParadoxReader& reader, const std::string& signature,
                 const std::function<void()>& tick, std::int64_t* rows) {
  const bool filters = meta.sqlName == sqlTableName(kSelectTableName);
  const std::string table = quoteIdent(meta.sqlName);
  FilterNames names;
  int shortname = -1, frecno = -1;
  if (filters) {
    VISTREL_RETURN_IF_ERROR(store.exec("DELETE FROM " + table + " WHERE FRecno IN (SELECT frecno FROM "
                                       "vistrel_host_filters); DELETE FROM vistrel_host_filters", meta.name));
    VISTREL_RETURN_IF_ERROR(names.load(store, meta));
    shortname = meta.column("Shortname");
    frecno = meta.column("FRecno");
  } else {
    VISTREL_RETURN_IF_ERROR(store.exec("DELETE FROM " + table, meta.name));
  }
  // The secondary indexes are built again after the rows are in: faster
  // than keeping them up to date row by row. Stored filters are few, and
  // their key checks name clashes as rows come.
  std::vector<std::string> indexes;
  if (!filters) {
    auto dropped = dropIndexes(store, meta);
    if (!dropped.ok()) return dropped.status();
    indexes = std::move(dropped).value();
  }
  std::vector<int> wanted;
  Statement insert(store, insertSql(meta, reader, wanted), meta.name);
  VISTREL_RETURN_IF_ERROR(insert.status());
  Statement hostFilter(store, "INSERT INTO vistrel_host_filters (frecno) VALUES (?1)", meta.name);
  VISTREL_RETURN_IF_ERROR(hostFilter.status());

  std::vector<Value> row;
  *rows = 0;
  VISTREL_RETURN_IF_ERROR(reader.read(wanted, [&](const std::vector<Value>& values) -> Status {
    const std::vector<Value>* use = &values;
    if (filters) {
      row = values;
      names.claim(0, &row[static_cast<std::size_t>(shortname)]);
      names.claim(1, &row[static_cast<std::size_t>(frecno)]);
      use = &row;
    }
    for (std::size_t i = 0; i < use->size(); ++i) bindValue(insert, static_cast<int>(i + 1), (*use)[i], meta.columns[i]);
    if (Status s = insert.run(); !s.ok()) {
      return s.prefixed("record " + std::to_string(*rows + 1) + " of ");
    }
    if (filters) {
      bindValue(hostFilter, 1, row[static_cast<std::size_t>(frecno)], meta.columns[static_cast<std::size_t>(frecno)]);
      VISTREL_RETURN_IF_ERROR(hostFilter.run());
    }
    ++*rows;
    rowWrittenForTesting(*rows);
    if ((*rows & 4095) == 0) tick();
    return Status::OK();
  }));
  VISTREL_RETURN_IF_ERROR(rebuildIndexes(store, meta, indexes));
  return recordSignature(store, meta, signature, *rows);
}

// One host table to mirror: a reader when it is to be copied, else the outcome already known.
struct MirrorJob {
  MirrorTableResult result;
  const TableMeta* meta = nullptr;
  std::unique_ptr<ParadoxReader> reader;
  std::string signature;  // to record once the table is copied
};

// Whether the table's files are as they were at the last copy. A copy whose
// signature carries a hash is looked at closely while the time stamps stay
// equal; once the files have been left alone long enough, the hash is
// dropped and the time stamps alone tell again.
bool unchanged(Store& store, const TableMeta& meta, const fs::path& file, const Signature& now) {
  auto stored = storedSignature(store, meta.sqlName);
  if (!stored.ok()) return false;
  const Signature before = Signature::parse(*stored);
  if (before.stamps.empty() || before.stamps != now.stamps) return false;
  if (before.hash.empty()) return true;
  if (contentHash(file) != before.hash) return false;
  if (!now.recent) {
    Statement settle(store, "UPDATE vistrel_mirror SET signature = ?1 WHERE name = ?2", meta.name);
    settle.bindText(1, now.stamps);
    settle.bindText(2, meta.sqlName);
    (void)settle.run();  // should it fail, a later refresh hashes the files again
  }
  return true;
}

MirrorJob planJob(Store& store, const fs::path& hostDir, const TableDef& def, bool force) {
  MirrorJob job;
  job.result.table = def.name;
  const fs::path file = findHostTable(hostDir, def.name);
  auto meta = store.table(def.name);
  if (file.empty()) {
    job.result.outcome = MirrorTableResult::Outcome::kMissing;
    job.result.message = def.name + " is not in " + hostDir.string();
    return job;
  }
  if (!meta.ok()) {
    job.result.outcome = MirrorTableResult::Outcome::kFailed;
    job.result.message = meta.status().message();
    return job;
  }
  job.meta = *meta;
  Signature signature = fileSignature(file);
  if (!force && unchanged(store, **meta, file, signature)) {
    job.result.outcome = MirrorTableResult::Outcome::kUnchanged;
    return job;
  }
  // Hashed before the files are read: should they change while they are,
  // the next refresh sees a hash that differs.
  if (signature.recent) signature.hash = contentHash(file);
  job.signature = signature.text();
  if (auto reader = ParadoxReader::open(file); !reader.ok()) {
    job.result.outcome = MirrorTableResult::Outcome::kFailed;
    job.result.message = reader.status().message();
  } else {
    job.reader = std::move(reader).value();
    job.result.outcome = MirrorTableResult::Outcome::kCopied;
  }
  return job;
}

// Copies one table inside the mirror's transaction, under a savepoint of its
// own: a copy that fails is undone alone. `done` counts the host records
// walked over all tables so far, for the progress figures.
void runJob(Store& store, MirrorJob& job, const std::function<void(std::int64_t, std::int64_t)>& progress,
            std::int64_t total, std::int64_t& done) {
  const auto started = std::chrono::steady_clock::now();
  std::int64_t rows = 0;
  const auto tick = [&] {
    if (progress) progress(done + rows, total);
  };
  Status s = store.exec("SAVEPOINT mirror_table", job.meta->name);
  if (s.ok()) {
    s = copyTable(store, *job.meta, *job.reader, job.signature, tick, &rows);
    if (s.ok()) s = store.exec("RELEASE mirror_table", job.meta->name);
    else (void)store.exec("ROLLBACK TO mirror_table; RELEASE mirror_table", job.meta->name);
  }
  if (!s.ok()) {
    job.result.outcome = MirrorTableResult::Outcome::kFailed;
    job.result.message = s.message();
    rows = 0;
  }
  job.result.rows = rows;
  job.result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  done += job.reader->info().records;
  if (progress) progress(done, total);
}

// Copies the tables of `jobs` that have a reader, all in one transaction: a
// run that is stopped half-way (killed, the machine lost) leaves every table
// as the previous run left it, never new contacts beside old events.
Status runJobs(Store& store, std::vector<MirrorJob>& jobs, const MirrorOptions& options) {
  std::int64_t total = 0;
  for (const MirrorJob& job : jobs) {
    if (job.reader) total += job.reader->info().records;
  }
  if (std::none_of(jobs.begin(), jobs.end(), [](const MirrorJob& j) { return j.reader != nullptr; })) {
    return Status::OK();
  }
  VISTREL_RETURN_IF_ERROR(store.begin());
  std::int64_t done = 0;
  for (MirrorJob& job : jobs) {
    if (!job.reader) continue;
    if (options.copying) options.copying(job.result.table);
    runJob(store, job, options.progress, total, done);
  }
  const Status committed = store.commit();
  if (!committed.ok()) {
    for (MirrorJob& job : jobs) {
      if (job.result.outcome != MirrorTableResult::Outcome::kCopied) continue;
      job.result.outcome = MirrorTableResult::Outcome::kFailed;
      job.result.message = committed.message();
      job.result.rows = 0;
    }
  }
  return Status::OK();
}

// Fails when the data directory is the host's directory or lies inside it:
// the host's directory is only ever read.
Status checkOutsideHost(const fs::path& hostDir, const fs::path& dataDir) {
  std::error_code ec;
  const fs::path host = fs::weakly_canonical(fs::absolute(hostDir, ec), ec);
  const fs::path data = fs::weakly_canonical(fs::absolute(dataDir, ec), ec);
  auto h = host.begin();
  auto d = data.begin();
  for (; h != host.end() && d != data.end() && *h == *d; ++h, ++d) {
  }
  const bool inside = h == host.end() || (std::next(h) == host.end() && h->empty());
  if (!inside) return Status::OK();
  return Status::InvalidArgument("the data directory " + dataDir.string() + " lies in the Tallis directory " +
                                 hostDir.string() + ", which is only ever read: give a data directory outside it");
}

bool wanted(const std::vector<std::string>& tables, const std::string& name) {
  if (tables.empty()) return true;
  for (const std::string& t : tables) {
    if (sqlTableName(t) == sqlTableName(name)) return true;
  }
  return false;
}


}  // namespace

Status checkHostTableNames(const std::vector<std::string>& tables) {
  const auto defs = tallisTableDefs();
  for (const std::string& t : tables) {
    if (std::none_of(defs.begin(), defs.end(), [&](const TableDef& d) { return wanted({t}, d.name); })) {
      return Status::InvalidArgument("no host table is called " + t);
    }
  }
  return Status::OK();
}

fs::path findHostTable(const fs::path& directory, std::string_view tableName) {
  const std::string want = upperAscii(sqlTableName(tableName) + ".DB");
  std::error_code ec;
  fs::path found;
  for (const auto& entry : fs::directory_iterator(directory, ec)) {
    if (upperAscii(entry.path().filename().string()) != want) continue;
    if (entry.is_regular_file(ec)) return entry.path();
    // Not a file (a folder, a pipe, a broken link): reading it says what it is.
    found = entry.path();
  }
  return found;
}

bool isHostDirectory(const fs::path& directory) {
  std::error_code ec;
  return !fs::exists(directory / std::string(kDataFileName), ec) &&
         !findHostTable(directory, kContactTableName).empty();
}

StatusOr<std::vector<MirrorTableResult>> mirrorHostTables(const fs::path& hostDir, const fs::path& dataDir,
                                                          const MirrorOptions& options) {
  VISTREL_RETURN_IF_ERROR(checkHostTableNames(options.tables));
  std::error_code ec;
  if (!fs::is_directory(hostDir, ec)) return Status::NotFound(hostDir.string() + " is not a directory");
  VISTREL_RETURN_IF_ERROR(checkOutsideHost(hostDir, dataDir));
  Engine engine;
  engine.setAlias(kMirrorAlias, dataDir);
  if (!fs::exists(dataDir / std::string(kDataFileName), ec)) {
    VISTREL_RETURN_IF_ERROR(Engine::createDataDirectory(dataDir));
    VISTREL_RETURN_IF_ERROR(createTallisTables(engine, kMirrorAlias));
  }
  auto opened = engine.store(kMirrorAlias);
  if (!opened.ok()) return opened.status();
  Store& store = **opened;
  VISTREL_RETURN_IF_ERROR(ensureBookkeeping(store));

  std::vector<MirrorJob> jobs;
  for (const TableDef& def : tallisTableDefs()) {
    if (wanted(options.tables, def.name)) jobs.push_back(planJob(store, hostDir, def, options.force));
  }
  VISTREL_RETURN_IF_ERROR(runJobs(store, jobs, options));
  std::vector<MirrorTableResult> results;
  for (MirrorJob& job : jobs) results.push_back(std::move(job.result));
  return results;
}

std::string mirrorProblems(const std::vector<MirrorTableResult>& results) {
  std::string out;
  for (const MirrorTableResult& r : results) {
    if (r.outcome == MirrorTableResult::Outcome::kMissing || r.outcome == MirrorTableResult::Outcome::kFailed) {
      out += r.message + "\n";
    }
  }
  return out;
}

namespace {

struct ExportColumn {
  ParadoxField field;
  bool text = false;
};

StatusOr<std::vector<ExportColumn>> exportColumns(Store& store, const TableMeta& meta) {
  std::string sql = "SELECT ";
  for (std::size_t i = 0; i < meta.columns.size(); ++i) {
    sql += (i ? ", " : "") + std::string("max(length(") + quoteIdent(meta.columns[i].name) + "))";
  }
  Statement st(store, sql + " FROM " + quoteIdent(meta.sqlName), meta.name);
  auto row = st.step();
  if (!row.ok()) return row.status();
  if (!*row) return Status::IoError(meta.name + ": cannot be read");
  std::vector<ExportColumn> out;
  for (std::size_t i = 0; i < meta.columns.size(); ++i) {
    const ColumnMeta& c = meta.columns[i];
    const int longest = sqlite3_column_int(st.get(), static_cast<int>(i));
    ExportColumn col{{c.name, ParadoxType::kAlpha, 0}, false};
    switch (c.type) {
      case ColumnType::kText: {
        const int width = std::max({c.size, longest, 1});
        col.field = width > 255 ? ParadoxField{c.name, ParadoxType::kMemo, 40}
                                : ParadoxField{c.name, ParadoxType::kAlpha, width};
        col.text = true;
        break;
      }
      case ColumnType::kMemo: col.field = {c.name, ParadoxType::kMemo, 40}; col.text = true; break;
      case ColumnType::kInteger: col.field = {c.name, ParadoxType::kLong, 4}; break;
      case ColumnType::kNumber: col.field = {c.name, ParadoxType::kNumber, 8}; break;
      case ColumnType::kMoney: col.field = {c.name, ParadoxType::kCurrency, 8}; break;
      case ColumnType::kDate: col.field = {c.name, ParadoxType::kDate, 4}; break;
      case ColumnType::kTime: col.field = {c.name, ParadoxType::kTime, 4}; break;
      case ColumnType::kDateTime: col.field = {c.name, ParadoxType::kTimestamp, 8}; break;
      case ColumnType::kLogical: col.field = {c.name, ParadoxType::kLogical, 1}; break;
    }
    out.push_back(col);
  }
  return out;
}

// The place of each table an export writes: the file of that name there is
// (any letter case), or the table's own name. Fails, naming them, when some
// are there and the options do not say to replace them.
StatusOr<std::vector<fs::path>> exportTargets(const fs::path& toDir, const std::vector<const TableDef*>& defs,
                                              bool force) {
  std::vector<fs::path> targets;
  std::string present;
  for (const TableDef* def : defs) {
    fs::path existing = findHostTable(toDir, def->name);
    if (!existing.empty()) present += (present.empty() ? "" : ", ") + existing.filename().string();
    targets.push_back(existing.empty() ? toDir / def->name : existing);
  }
  if (!present.empty() && !force) {
    return Status::InvalidArgument(toDir.string() + " already holds Tallis tables (" + present +
                                   "); nothing was written (--force replaces them)");
  }
  return targets;
}

// Reads the rows of a table for the Paradox writer.
class ExportSource {
 public:
  ExportSource(Store& store, const TableMeta& meta, const std::vector<ParadoxField>& fields)
      : st_(store, selectSql(meta, fields), meta.name), width_(fields.size()) {
    for (int f : meta.indexes.front().fields) key_.push_back({meta.columns[static_cast<std::size_t>(f)].name, f});
  }
  std::int64_t rows() const { return rows_; }
  // The primary key of the row read last ("Recno C000000012").
  std::string key() const {
    std::string out;
    for (const auto& [name, column] : key_) {
      out += (out.empty() ? "" : ", ") + name + " " + std::string(st_.text(column));
    }
    return out;
  }

  StatusOr<bool> next(std::vector<Value>* row) {
    auto more = st_.step();
    if (!more.ok() || !*more) return more;
    row->resize(width_);
    sqlite3_stmt* st = st_.get();
    for (std::size_t i = 0; i < width_; ++i) {
      Value& v = (*row)[i];
      const int c = static_cast<int>(i);
      switch (sqlite3_column_type(st, c)) {
        case SQLITE_INTEGER: v.setInteger(sqlite3_column_int64(st, c)); break;
        case SQLITE_FLOAT: v.setReal(sqlite3_column_double(st, c)); break;
        case SQLITE_NULL: v.setNull(); break;
        default: v.setText(st_.text(c));
      }
    }
    ++rows_;
    return true;
  }

 private:
  static std::string selectSql(const TableMeta& meta, const std::vector<ParadoxField>& fields) {
    std::string select;
    for (const ParadoxField& f : fields) select += (select.empty() ? "" : ", ") + quoteIdent(f.name);
    return "SELECT " + select + " FROM " + quoteIdent(meta.sqlName);
  }

  Statement st_;
  std::size_t width_;
  std::vector<std::pair<std::string, int>> key_;  // the primary key's columns
  std::int64_t rows_ = 0;
};

// The table and memo files of one exported table, written beside their
// places and not yet put there.
struct StagedTable {
  std::unique_ptr<StagedFile> memo;
  std::unique_ptr<StagedFile> table;
};

constexpr std::size_t kUnmappableListed = 20;

StatusOr<StagedTable> stageTable(Store& store, const TableDef& def, const fs::path& target,
                                 ExportTableResult& result) {
  auto meta = store.table(def.name);
  if (!meta.ok()) return meta.status();
  auto columns = exportColumns(store, **meta);
  if (!columns.ok()) return columns.status();
  std::vector<ParadoxField> fields;
  for (const ExportColumn& c : *columns) fields.push_back(c.field);
  ExportSource source(store, **meta, fields);
  ParadoxWriteOptions options;
  options.password = def.password;
  options.unmappable = [&](std::int64_t record, const std::string& field, const std::string& text) {
    if (++result.unmappableCount > static_cast<std::int64_t>(kUnmappableListed)) return;
    const std::string key = source.key();
    result.unmappable.push_back(target.filename().string() + " record " + std::to_string(record) +
                                (key.empty() ? "" : " (" + key + ")") + ", field " + field + ": '" + text + "'");
  };
  auto files = buildParadoxTable(target.filename().string(), fields,
                                 [&](std::vector<Value>* row) { return source.next(row); }, options);
  if (!files.ok()) return files.status().prefixed(target.filename().string() + ": ");
  result.rows = source.rows();
  StagedTable staged;
  if (!files->memo.empty()) {
    auto memo = StagedFile::write(paradoxMemoFileFor(target), files->memo);
    if (!memo.ok()) return memo.status();
    staged.memo = std::move(memo).value();
  }
  auto table = StagedFile::write(target, files->table);
  if (!table.ok()) return table.status();
  staged.table = std::move(table).value();
  return staged;
}

// The refusal of an export whose texts the code page cannot hold.
Status unmappableRefusal(const std::vector<ExportTableResult>& results) {
  std::string places;
  std::int64_t count = 0;
  for (const ExportTableResult& r : results) {
    for (const std::string& place : r.unmappable) places += "\n  " + place;
    if (r.unmappableCount > static_cast<std::int64_t>(r.unmappable.size())) {
      places += "\n  and " + std::to_string(r.unmappableCount - static_cast<std::int64_t>(r.unmappable.size())) +
                " more in " + r.file;
    }
    count += r.unmappableCount;
  }
  return Status::InvalidArgument(std::to_string(count) + (count == 1 ? " text holds" : " texts hold") +
                                 " characters code page 1252 lacks; they would be written as \"?\" or a "
                                 "look-alike, so nothing was written (--replace-unmappable writes them so):" +
                                 places);
}

}  // namespace

StatusOr<std::vector<ExportTableResult>> exportParadoxTables(Engine& engine, std::string_view alias,
                                                             const fs::path& toDir, const ExportOptions& options) {
  VISTREL_RETURN_IF_ERROR(checkHostTableNames(options.tables));
  auto opened = engine.store(alias);
  if (!opened.ok()) return opened.status();
  Store& store = **opened;
  std::error_code ec;
  fs::create_directories(toDir, ec);
  if (ec) return Status::IoError("Cannot create " + toDir.string() + ": " + ec.message());
  std::vector<const TableDef*> defs;
  const std::vector<TableDef> all = tallisTableDefs();
  for (const TableDef& def : all) {
    if (wanted(options.tables, def.name)) defs.push_back(&def);
  }
  auto targets = exportTargets(toDir, defs, options.force);
  if (!targets.ok()) return targets.status();

  // Every table is written beside its place before any replaces a file:
  // a failure on the way (a full device) leaves the directory as it was.
  std::vector<ExportTableResult> results;
  std::vector<StagedTable> staged;
  bool lossy = false;
  for (std::size_t i = 0; i < defs.size(); ++i) {
    results.push_back({(*targets)[i].filename().string(), 0, {}, 0});
    auto table = stageTable(store, *defs[i], (*targets)[i], results.back());
    if (!table.ok()) return table.status();
    staged.push_back(std::move(table).value());
    lossy = lossy || results.back().unmappableCount > 0;
  }
  if (lossy && !options.replaceUnmappable) return unmappableRefusal(results);
  for (StagedTable& t : staged) {
    if (t.memo) VISTREL_RETURN_IF_ERROR(t.memo->commit());
    VISTREL_RETURN_IF_ERROR(t.table->commit());
  }
  return results;
}

}  // namespace vistrel::host
