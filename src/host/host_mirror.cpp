// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/host_mirror.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <set>
#include <system_error>

#include "host/paradox.h"
#include "host/store.h"
#include "host/tallis_schema.h"
#include "host/text.h"

namespace vistrel::host {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kMirrorAlias = "VISTREL_MIRROR";
constexpr std::string_view kTallisSuffix = " (Tallis)";

// What a refresh compares: the size and modification time of the table's
// files.
std::string fileSignature(const fs::path& db) {
  std::string sig;
  for (const fs::path& p : {db, paradoxMemoFile(db)}) {
    if (p.empty()) continue;
    std::error_code ec;
    const auto size = fs::file_size(p, ec);
    const auto time = fs::last_write_time(p, ec).time_since_epoch().count();
    sig += p.filename().string() + ":" + std::to_string(size) + ":" + std::to_string(time) + ";";
  }
  return sig;
}

Status ensureBookkeeping(Store& store) {
  return store.exec(
      "CREATE TABLE IF NOT EXISTS vistrel_mirror (name TEXT PRIMARY KEY, signature TEXT NOT NULL, rows INTEGER);"
      "CREATE TABLE IF NOT EXISTS vistrel_host_filters (frecno TEXT PRIMARY KEY COLLATE NOCASE)",
      store.directory().string());
}

StatusOr<std::string> storedSignature(Store& store, const std::string& name) {
  auto st = store.prepare("SELECT signature FROM vistrel_mirror WHERE name = ?1", name);
  if (!st.ok()) return st.status();
  sqlite3_bind_text(*st, 1, name.data(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
  std::string sig;
  if (sqlite3_step(*st) == SQLITE_ROW) sig = reinterpret_cast<const char*>(sqlite3_column_text(*st, 0));
  sqlite3_finalize(*st);
  return sig;
}

class Statement {
 public:
  Statement(Store& store, const std::string& sql, std::string_view what) {
    auto st = store.prepare(sql, what);
    if (st.ok()) stmt_ = *st;
    else status_ = st.status();
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  const Status& status() const { return status_; }
  sqlite3_stmt* get() const { return stmt_; }

 private:
  sqlite3_stmt* stmt_ = nullptr;
  Status status_;
};

void bindText(sqlite3_stmt* st, int i, std::string_view t) {
  sqlite3_bind_text(st, i, t.data(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
}

void bindValue(sqlite3_stmt* st, int i, const Value& v, const ColumnMeta& col) {
  switch (v.kind()) {
    case Value::Kind::kInteger: sqlite3_bind_int64(st, i, v.integer()); return;
    case Value::Kind::kReal: sqlite3_bind_double(st, i, v.real()); return;
    case Value::Kind::kText: bindText(st, i, v.text()); return;
    case Value::Kind::kNull: break;
  }
  if (!col.keyField) sqlite3_bind_null(st, i);
  else if (isTextType(col.type)) bindText(st, i, "");
  else sqlite3_bind_int(st, i, 0);
}

// Host filters keep their description and key unless a filter saved in this
// program holds it; then they take the first free one with " (Tallis)".
class FilterNames {
 public:
  Status load(Store& store, const TableMeta& meta) {
    Statement st(store, "SELECT Shortname, FRecno FROM " + quoteIdent(meta.sqlName), meta.name);
    VISTREL_RETURN_IF_ERROR(st.status());
    while (sqlite3_step(st.get()) == SQLITE_ROW) {
      for (int c = 0; c < 2; ++c) {
        const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st.get(), c));
        taken_[c].insert(upperAscii(t != nullptr ? t : ""));
      }
    }
    return Status::OK();
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
    VISTREL_RETURN_IF_ERROR(list.status());
    bindText(list.get(), 1, meta.sqlName);
    while (sqlite3_step(list.get()) == SQLITE_ROW) {
      drop += "DROP INDEX " + quoteIdent(reinterpret_cast<const char*>(sqlite3_column_text(list.get(), 0))) + ";";
      indexes.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(list.get(), 1)));
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
  VISTREL_RETURN_IF_ERROR(done.status());
  bindText(done.get(), 1, meta.sqlName);
  bindText(done.get(), 2, signature);
  sqlite3_bind_int64(done.get(), 3, rows);
  const int rc = sqlite3_step(done.get());
  return rc == SQLITE_DONE ? Status::OK() : store.error(rc, meta.name);
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
    sqlite3_stmt* st = insert.get();
    const std::vector<Value>* use = &values;
    if (filters) {
      row = values;
      names.claim(0, &row[static_cast<std::size_t>(shortname)]);
      names.claim(1, &row[static_cast<std::size_t>(frecno)]);
      use = &row;
    }
    for (std::size_t i = 0; i < use->size(); ++i) bindValue(st, static_cast<int>(i + 1), (*use)[i], meta.columns[i]);
    const int rc = sqlite3_step(st);
    sqlite3_reset(st);
    if (rc != SQLITE_DONE) return store.error(rc, meta.name + " record " + std::to_string(*rows + 1));
    if (filters) {
      bindValue(hostFilter.get(), 1, row[static_cast<std::size_t>(frecno)], meta.columns[static_cast<std::size_t>(frecno)]);
      const int hrc = sqlite3_step(hostFilter.get());
      sqlite3_reset(hostFilter.get());
      if (hrc != SQLITE_DONE) return store.error(hrc, meta.name);
    }
    ++*rows;
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
  std::string signature;
};

MirrorJob planJob(Store& store, const fs::path& hostDir, const TableDef& def, bool force) {
  MirrorJob job;
  job.result.table = def.name;
  const fs::path file = findHostTable(hostDir, def.name);
  auto meta = store.table(def.name);
  if (file.empty()) {
    job.result.outcome = MirrorTableResult::Outcome::kMissing;
    job.result.message = def.name + " is not in " + hostDir.string();
  } else if (!meta.ok()) {
    job.result.outcome = MirrorTableResult::Outcome::kFailed;
    job.result.message = meta.status().message();
  } else {
    job.meta = *meta;
    job.signature = fileSignature(file);
    auto stored = storedSignature(store, (*meta)->sqlName);
    if (stored.ok() && *stored == job.signature && !force) {
      job.result.outcome = MirrorTableResult::Outcome::kUnchanged;
    } else if (auto reader = ParadoxReader::open(file); !reader.ok()) {
      job.result.outcome = MirrorTableResult::Outcome::kFailed;
      job.result.message = reader.status().message();
    } else {
      job.reader = std::move(reader).value();
      job.result.outcome = MirrorTableResult::Outcome::kCopied;
    }
  }
  return job;
}

// Copies one table in its own transaction; `done` counts the host records
// walked over all tables so far, for the progress figures.
void runJob(Store& store, MirrorJob& job, const std::function<void(std::int64_t, std::int64_t)>& progress,
            std::int64_t total, std::int64_t& done) {
  const auto started = std::chrono::steady_clock::now();
  std::int64_t rows = 0;
  const auto tick = [&] {
    if (progress) progress(done + rows, total);
  };
  Status s = store.begin();
  if (s.ok()) s = copyTable(store, *job.meta, *job.reader, job.signature, tick, &rows);
  if (s.ok()) {
    s = store.commit();
  } else if (store.inTransaction()) {
    (void)store.rollback();
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

bool wanted(const std::vector<std::string>& tables, const std::string& name) {
  if (tables.empty()) return true;
  for (const std::string& t : tables) {
    if (sqlTableName(t) == sqlTableName(name)) return true;
  }
  return false;
}

Status checkTableNames(const std::vector<std::string>& tables) {
  const auto defs = tallisTableDefs();
  for (const std::string& t : tables) {
    if (std::none_of(defs.begin(), defs.end(), [&](const TableDef& d) { return wanted({t}, d.name); })) {
      return Status::InvalidArgument("no host table is called " + t);
    }
  }
  return Status::OK();
}

}  // namespace

fs::path findHostTable(const fs::path& directory, std::string_view tableName) {
  const std::string want = sqlTableName(tableName) + ".DB";
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(directory, ec)) {
    if (upperAscii(entry.path().filename().string()) == upperAscii(want) && entry.is_regular_file(ec)) {
      return entry.path();
    }
  }
  return fs::path();
}

bool isHostDirectory(const fs::path& directory) {
  std::error_code ec;
  return !fs::exists(directory / std::string(kDataFileName), ec) &&
         !findHostTable(directory, kContactTableName).empty();
}

StatusOr<std::vector<MirrorTableResult>> mirrorHostTables(const fs::path& hostDir, const fs::path& dataDir,
                                                          const MirrorOptions& options) {
  VISTREL_RETURN_IF_ERROR(checkTableNames(options.tables));
  std::error_code ec;
  if (!fs::is_directory(hostDir, ec)) return Status::NotFound(hostDir.string() + " is not a directory");
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
  std::int64_t total = 0;
  for (const TableDef& def : tallisTableDefs()) {
    if (!wanted(options.tables, def.name)) continue;
    jobs.push_back(planJob(store, hostDir, def, options.force));
    if (jobs.back().reader) total += jobs.back().reader->info().records;
  }

  // A copy that fails rolls back from the journal; one that the machine
  // loses half-way is made again from the host's files at the next start.
  const bool copying = std::any_of(jobs.begin(), jobs.end(), [](const MirrorJob& j) { return j.reader != nullptr; });
  if (copying) VISTREL_RETURN_IF_ERROR(store.exec("PRAGMA journal_mode=DELETE; PRAGMA synchronous=NORMAL", "mirror"));
  std::int64_t done = 0;
  std::vector<MirrorTableResult> results;
  for (MirrorJob& job : jobs) {
    if (job.reader) {
      if (options.copying) options.copying(job.result.table);
      runJob(store, job, options.progress, total, done);
    }
    results.push_back(std::move(job.result));
  }
  if (copying) VISTREL_RETURN_IF_ERROR(store.exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL", "mirror"));
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
  VISTREL_RETURN_IF_ERROR(st.status());
  if (sqlite3_step(st.get()) != SQLITE_ROW) return Status::IoError(meta.name + ": cannot be read");
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

}  // namespace

StatusOr<std::vector<ExportTableResult>> exportParadoxTables(Engine& engine, std::string_view alias,
                                                             const fs::path& toDir,
                                                             const std::vector<std::string>& tables) {
  VISTREL_RETURN_IF_ERROR(checkTableNames(tables));
  auto opened = engine.store(alias);
  if (!opened.ok()) return opened.status();
  Store& store = **opened;
  std::error_code ec;
  fs::create_directories(toDir, ec);
  if (ec) return Status::IoError("Cannot create " + toDir.string() + ": " + ec.message());
  std::vector<ExportTableResult> results;
  for (const TableDef& def : tallisTableDefs()) {
    if (!wanted(tables, def.name)) continue;
    auto meta = store.table(def.name);
    if (!meta.ok()) return meta.status();
    auto columns = exportColumns(store, **meta);
    if (!columns.ok()) return columns.status();
    std::vector<ParadoxField> fields;
    std::string select;
    for (const ExportColumn& c : *columns) {
      select += (fields.empty() ? "" : ", ") + quoteIdent(c.field.name);
      fields.push_back(c.field);
    }
    Statement st(store, "SELECT " + select + " FROM " + quoteIdent((*meta)->sqlName), def.name);
    VISTREL_RETURN_IF_ERROR(st.status());
    std::int64_t rows = 0;
    const ParadoxRowSource source = [&](std::vector<Value>* row) -> StatusOr<bool> {
      const int rc = sqlite3_step(st.get());
      if (rc == SQLITE_DONE) return false;
      if (rc != SQLITE_ROW) return store.error(rc, def.name);
      row->resize(fields.size());
      for (std::size_t i = 0; i < fields.size(); ++i) {
        Value& v = (*row)[i];
        const int c = static_cast<int>(i);
        switch (sqlite3_column_type(st.get(), c)) {
          case SQLITE_INTEGER: v.setInteger(sqlite3_column_int64(st.get(), c)); break;
          case SQLITE_FLOAT: v.setReal(sqlite3_column_double(st.get(), c)); break;
          case SQLITE_NULL: v.setNull(); break;
          default:
            v.setText(std::string_view(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), c)),
                                       static_cast<std::size_t>(sqlite3_column_bytes(st.get(), c))));
        }
      }
      ++rows;
      return true;
    };
    ParadoxWriteOptions options;
    options.password = def.password;
    VISTREL_RETURN_IF_ERROR(writeParadoxTable(toDir / def.name, fields, source, options));
    results.push_back({def.name, rows});
  }
  return results;
}

}  // namespace vistrel::host
