// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/store.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "host/engine.h"
#include "host/text.h"

namespace vistrel::host {
namespace {

constexpr std::string_view kCatalogTable = "vistrel_tables";

const char* typeName(ColumnType t) {
  switch (t) {
    case ColumnType::kText: return "text";
    case ColumnType::kMemo: return "memo";
    case ColumnType::kInteger: return "integer";
    case ColumnType::kNumber: return "number";
    case ColumnType::kMoney: return "money";
    case ColumnType::kDate: return "date";
    case ColumnType::kTime: return "time";
    case ColumnType::kDateTime: return "datetime";
    case ColumnType::kLogical: return "logical";
  }
  return "text";
}

bool typeFromName(std::string_view s, ColumnType* out) {
  static const ColumnType kAll[] = {ColumnType::kText,   ColumnType::kMemo, ColumnType::kInteger,
                                    ColumnType::kNumber, ColumnType::kMoney, ColumnType::kDate,
                                    ColumnType::kTime,   ColumnType::kDateTime, ColumnType::kLogical};
  for (ColumnType t : kAll) {
    if (s == typeName(t)) {
      *out = t;
      return true;
    }
  }
  return false;
}

const char* sqlType(ColumnType t) {
  switch (t) {
    case ColumnType::kText:
    case ColumnType::kMemo: return "TEXT";
    case ColumnType::kInteger:
    case ColumnType::kLogical: return "INTEGER";
    default: return "REAL";
  }
}

std::vector<std::string> splitWords(std::string_view line) {
  std::vector<std::string> words;
  std::istringstream in{std::string(line)};
  std::string w;
  while (in >> w) words.push_back(w);
  return words;
}

std::string joinFields(const std::vector<std::string>& fields) {
  std::string out;
  for (const std::string& f : fields) {
    if (!out.empty()) out += ';';
    out += f;
  }
  return out;
}

std::vector<std::string> splitFields(std::string_view s) {
  std::vector<std::string> out;
  while (!s.empty()) {
    const std::size_t semi = s.find(';');
    out.emplace_back(trimWhite(s.substr(0, semi)));
    if (semi == std::string_view::npos) break;
    s.remove_prefix(semi + 1);
  }
  return out;
}

// The page cache of a connection, and of a long walk past its start; a walk
// is taken for a long one once it has read kLongReadAfterKib of pages (KiB).
constexpr int kCacheKib = 32768;
constexpr int kLongReadCacheKib = 1024;
constexpr int kLongReadAfterKib = 4096;

}  // namespace

int TableMeta::column(std::string_view name) const {
  const auto it = byUpperName.find(upperAscii(name));
  return it == byUpperName.end() ? -1 : it->second;
}

const IndexMeta* TableMeta::index(std::string_view name) const {
  for (const IndexMeta& ix : indexes) {
    if (equalsIgnoreCase(ix.name, name)) return &ix;
  }
  return nullptr;
}

std::string sqlTableName(std::string_view name) {
  std::string base(trimWhite(name));
  if (const auto slash = base.find_last_of("/\\"); slash != std::string::npos) base.erase(0, slash + 1);
  if (const auto dot = base.rfind('.'); dot != std::string::npos && dot > 0) base.resize(dot);
  for (char& c : base) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return base;
}

std::string quoteIdent(std::string_view name) {
  std::string out = "\"";
  for (char c : name) {
    out += c;
    if (c == '"') out += '"';
  }
  out += '"';
  return out;
}

std::string serializeTableDef(const TableDef& def) {
  std::string out = "name " + def.name + "\n";
  for (const ColumnDef& c : def.columns) {
    out += "column " + c.name + " " + typeName(c.type) + " " + std::to_string(c.size) + "\n";
  }
  if (!def.primaryKey.empty()) out += "primary " + joinFields(def.primaryKey) + "\n";
  for (const IndexDef& ix : def.indexes) {
    out += std::string(ix.unique ? "unique " : "index ") + ix.name + " " + joinFields(ix.fields) + "\n";
  }
  if (!def.clusteredIndex.empty()) out += "clustered " + def.clusteredIndex + "\n";
  if (!def.password.empty()) out += "password " + def.password + "\n";
  return out;
}

StatusOr<TableDef> parseTableDef(std::string_view text) {
  TableDef def;
  std::istringstream in{std::string(text)};
  std::string line;
  while (std::getline(in, line)) {
    const std::vector<std::string> w = splitWords(line);
    if (w.empty()) continue;
    if (w[0] == "name" && w.size() == 2) {
      def.name = w[1];
    } else if (w[0] == "column" && w.size() == 4) {
      ColumnDef c;
      c.name = w[1];
      if (!typeFromName(w[2], &c.type)) return Status::Corrupt("unknown column type " + w[2]);
      c.size = std::atoi(w[3].c_str());
      def.columns.push_back(c);
    } else if (w[0] == "primary" && w.size() == 2) {
      def.primaryKey = splitFields(w[1]);
    } else if ((w[0] == "index" || w[0] == "unique") && w.size() == 3) {
      def.indexes.push_back({w[1], splitFields(w[2]), w[0] == "unique"});
    } else if (w[0] == "clustered" && w.size() == 2) {
      def.clusteredIndex = w[1];
    } else if (w[0] == "password" && w.size() == 2) {
      def.password = w[1];
    } else {
      return Status::Corrupt("unreadable table layout line: " + line);
    }
  }
  if (def.name.empty() || def.columns.empty()) return Status::Corrupt("incomplete table layout");
  return def;
}

Store::~Store() {
  if (db_ != nullptr) sqlite3_close_v2(db_);
}

StatusOr<std::shared_ptr<Store>> Store::open(const std::filesystem::path& directory, int busyTimeoutMs) {
  const std::filesystem::path file = directory / std::string(kDataFileName);
  std::error_code ec;
  const bool exists = std::filesystem::exists(file, ec);
  if (ec) return Status::AccessDenied("cannot read " + file.string() + ": " + ec.message());
  if (!exists) {
    return Status::NotFound("No Tallis data in " + directory.string() + " (" + file.filename().string() +
                            " is missing)");
  }
  std::shared_ptr<Store> store(new Store());
  store->directory_ = directory;
  const int rc = sqlite3_open_v2(file.c_str(), &store->db_,
                                 SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) return store->error(rc, file.string());
  sqlite3_extended_result_codes(store->db_, 1);
  sqlite3_busy_timeout(store->db_, busyTimeoutMs);
  // Reading the catalog proves the file is a database and one of ours.
  auto st = store->prepare("SELECT count(*) FROM " + std::string(kCatalogTable), file.string());
  if (!st.ok()) {
    if (st.status().IsCorrupt() || st.status().IsBusy()) return st.status();
    return Status::Corrupt(file.string() + " is not a Tallis store");
  }
  const int step = sqlite3_step(*st);
  sqlite3_finalize(*st);
  if (step != SQLITE_ROW) return store->error(step, file.string());
  // No memory-mapped reads: they would count the file in the program's
  // memory and turn a file cut short by another program into a crash.
  VISTREL_RETURN_IF_ERROR(store->exec("PRAGMA cache_size=-" + std::to_string(kCacheKib) + "; PRAGMA mmap_size=0",
                                      file.string()));
  {
    Statement ps(*store, "PRAGMA page_size", file.string());
    auto row = ps.step();
    if (!row.ok()) return row.status();
    if (*row && sqlite3_column_int(ps.get(), 0) > 0) store->pageSize_ = sqlite3_column_int(ps.get(), 0);
  }
  return store;
}

int Store::cacheMisses() const {
  int current = 0;
  int highest = 0;
  if (sqlite3_db_status(db_, SQLITE_DBSTATUS_CACHE_MISS, &current, &highest, 0) != SQLITE_OK) return 0;
  return current;
}

void Store::setCacheKib(int kib) { (void)exec("PRAGMA cache_size=-" + std::to_string(kib), "cache"); }

Store::LongRead::LongRead(Store& store) : store_(store) {
  done_ = sqlite3_get_autocommit(store_.db_) == 0;
  if (!done_) missesAtStart_ = store_.cacheMisses();
}

void Store::LongRead::check() {
  if (done_) return;
  const long longPages = static_cast<long>(kLongReadAfterKib) * 1024 / store_.pageSize_;
  if (store_.cacheMisses() - missesAtStart_ < longPages) return;
  store_.setCacheKib(kLongReadCacheKib);
  shrunk_ = true;
  done_ = true;
}

Store::LongRead::~LongRead() {
  if (shrunk_) store_.setCacheKib(kCacheKib);
}

Status Store::error(int rc, std::string_view what) const {
  const std::string detail = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
  const std::string prefix = std::string(what) + ": ";
  switch (rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return Status::Busy(prefix + "the store is busy: another program is writing; try again (" + detail + ")");
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      return Status::Corrupt(prefix + "the data file is damaged or not a database (" + detail + ")");
    case SQLITE_CONSTRAINT:
      // A second row with the key of a stored one has its own code; a value
      // the table refuses otherwise is an invalid argument.
      if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY) {
        return Status::AlreadyExists(prefix + "key violation (" + detail + ")");
      }
      return Status::InvalidArgument(prefix + "key violation (" + detail + ")");
    case SQLITE_MISMATCH:
    case SQLITE_RANGE:
    case SQLITE_ERROR:
      return Status::InvalidArgument(prefix + detail);
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_READONLY:
      return Status::AccessDenied(prefix + detail);
    default:
      return Status::IoError(prefix + detail);
  }
}

StatusOr<sqlite3_stmt*> Store::prepare(const std::string& sql, std::string_view what) {
  sqlite3_stmt* stmt = nullptr;
  const int rc = sqlite3_prepare_v3(db_, sql.c_str(), static_cast<int>(sql.size()),
                                    SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_finalize(stmt);
    return error(rc, what);
  }
  return stmt;
}

Status Store::exec(const std::string& sql, std::string_view what) {
  char* msg = nullptr;
  const int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &msg);
  sqlite3_free(msg);
  return rc == SQLITE_OK ? Status::OK() : error(rc, what);
}

Statement::Statement(Store& store, const std::string& sql, std::string_view what) : store_(store), what_(what) {
  auto prepared = store.prepare(sql, what);
  if (prepared.ok()) stmt_ = *prepared;
  else status_ = prepared.status();
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

StatusOr<bool> Statement::step() {
  if (!status_.ok()) return status_;
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) {
    sqlite3_reset(stmt_);
    return false;
  }
  Status failed = store_.error(rc, what_);
  sqlite3_reset(stmt_);
  return failed;
}

Status Statement::run() {
  auto row = step();
  if (!row.ok()) return row.status();
  if (*row) sqlite3_reset(stmt_);
  return Status::OK();
}

void Statement::bindText(int i, std::string_view text) {
  sqlite3_bind_text(stmt_, i, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

void Statement::bindInteger(int i, std::int64_t v) { sqlite3_bind_int64(stmt_, i, v); }

std::string_view Statement::text(int c) const {
  const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, c));
  if (t == nullptr) return std::string_view();
  return std::string_view(t, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, c)));
}

StatusOr<const TableMeta*> Store::table(std::string_view name) {
  const std::string key = sqlTableName(name);
  if (auto it = tables_.find(key); it != tables_.end()) return it->second.get();
  auto loaded = loadTable(name);
  if (!loaded.ok()) return loaded.status();
  const TableMeta* meta = loaded->get();
  tables_[key] = std::move(loaded).value();
  return meta;
}

namespace {

// The columns `names` stand for in `meta`, each marked as a key field.
Status keyColumns(TableMeta& meta, std::string_view table, const std::vector<std::string>& names,
                  std::vector<int>* out) {
  for (const std::string& n : names) {
    const int c = meta.column(n);
    if (c < 0) return Status::Corrupt(std::string(table) + ": index names unknown field " + n);
    out->push_back(c);
    meta.columns[static_cast<std::size_t>(c)].keyField = true;
  }
  return Status::OK();
}

// The row's identity: the clustered index's fields, then the rest of the
// primary key; the rowid when the table is not clustered.
Status setIdentity(TableMeta& meta, std::string_view table, const std::string& clusteredIndex,
                   const IndexMeta& primary, const std::vector<IndexMeta>& secondary) {
  if (!meta.withoutRowid) {
    meta.identity = {kRowid};
    return Status::OK();
  }
  const auto it = std::find_if(secondary.begin(), secondary.end(),
                               [&](const IndexMeta& ix) { return ix.name == clusteredIndex; });
  if (it == secondary.end()) return Status::Corrupt(std::string(table) + ": clustered index missing");
  meta.identity = it->fields;
  for (int f : primary.fields) {
    if (std::find(meta.identity.begin(), meta.identity.end(), f) == meta.identity.end()) {
      meta.identity.push_back(f);
    }
  }
  return Status::OK();
}

// An index's order: its fields, then what of the row's identity makes the
// order total (nothing for a unique SQL index with fields).
void completeOrder(const TableMeta& meta, IndexMeta& ix, bool clustered) {
  ix.order = ix.fields;
  if (!clustered && !ix.sqlIndex.empty() && ix.unique && !ix.fields.empty()) return;
  for (int f : meta.identity) {
    if (std::find(ix.order.begin(), ix.order.end(), f) == ix.order.end()) ix.order.push_back(f);
  }
}

// The layout of table `name` (SQLite name `key`) from its stored definition.
StatusOr<std::unique_ptr<TableMeta>> tableMeta(std::string_view name, const std::string& key, const TableDef& def) {
  auto meta = std::make_unique<TableMeta>();
  meta->name = def.name;
  meta->sqlName = key;
  meta->passwordHash = def.password;
  for (const ColumnDef& c : def.columns) {
    ColumnMeta cm{c.name, upperAscii(c.name), c.type, c.size, false};
    meta->byUpperName[cm.upperName] = static_cast<int>(meta->columns.size());
    meta->columns.push_back(cm);
  }
  IndexMeta primary;
  VISTREL_RETURN_IF_ERROR(keyColumns(*meta, name, def.primaryKey, &primary.fields));
  primary.unique = true;
  meta->withoutRowid = !def.clusteredIndex.empty();
  std::vector<IndexMeta> secondary;
  for (const IndexDef& ix : def.indexes) {
    IndexMeta im;
    im.name = ix.name;
    im.unique = ix.unique;
    VISTREL_RETURN_IF_ERROR(keyColumns(*meta, name, ix.fields, &im.fields));
    secondary.push_back(im);
  }
  VISTREL_RETURN_IF_ERROR(setIdentity(*meta, name, def.clusteredIndex, primary, secondary));
  if (!primary.fields.empty()) primary.sqlIndex = meta->sqlName + "$primary";
  completeOrder(*meta, primary, false);
  meta->indexes.push_back(primary);
  for (IndexMeta& ix : secondary) {
    const bool clustered = meta->withoutRowid && ix.name == def.clusteredIndex;
    if (!clustered) ix.sqlIndex = meta->sqlName + "$" + upperAscii(ix.name);
    completeOrder(*meta, ix, clustered);
    meta->indexes.push_back(ix);
  }
  return meta;
}

// The column list of CREATE TABLE: key fields are NOT NULL with a default,
// key texts compare without letter case.
std::string columnsSql(const TableDef& def) {
  std::vector<std::string> keyFields = def.primaryKey;
  for (const IndexDef& ix : def.indexes) keyFields.insert(keyFields.end(), ix.fields.begin(), ix.fields.end());
  const auto isKey = [&](const std::string& col) {
    return std::any_of(keyFields.begin(), keyFields.end(),
                       [&](const std::string& k) { return equalsIgnoreCase(k, col); });
  };
  std::string sql;
  for (std::size_t i = 0; i < def.columns.size(); ++i) {
    const ColumnDef& c = def.columns[i];
    if (i) sql += ", ";
    sql += quoteIdent(c.name) + " " + sqlType(c.type);
    if (isKey(c.name)) {
      sql += isTextType(c.type) ? " NOT NULL DEFAULT '' COLLATE NOCASE" : " NOT NULL DEFAULT 0";
    }
  }
  return sql;
}

std::string indexSql(const std::string& table, const std::string& ixName, const std::vector<std::string>& fields,
                     bool unique) {
  std::string s = std::string("CREATE ") + (unique ? "UNIQUE " : "") + "INDEX " + quoteIdent(ixName) + " ON " +
                  quoteIdent(table) + " (";
  for (std::size_t i = 0; i < fields.size(); ++i) s += (i ? ", " : "") + quoteIdent(fields[i]);
  return s + ")";
}

// The statements that make table `name` of `def`: CREATE TABLE (clustered:
// WITHOUT ROWID over the clustered index's fields, then the rest of the
// primary key) and its indexes.
StatusOr<std::vector<std::string>> createStatements(const TableDef& def, const std::string& name) {
  std::string sql = "CREATE TABLE " + quoteIdent(name) + " (" + columnsSql(def);
  std::vector<std::string> statements;
  if (!def.clusteredIndex.empty()) {
    const auto it = std::find_if(def.indexes.begin(), def.indexes.end(),
                                 [&](const IndexDef& ix) { return ix.name == def.clusteredIndex; });
    if (it == def.indexes.end()) return Status::InvalidArgument(def.name + ": clustered index missing");
    std::vector<std::string> pk = it->fields;
    for (const std::string& f : def.primaryKey) {
      if (std::none_of(pk.begin(), pk.end(), [&](const std::string& p) { return equalsIgnoreCase(p, f); })) {
        pk.push_back(f);
      }
    }
    sql += ", PRIMARY KEY (";
    for (std::size_t i = 0; i < pk.size(); ++i) sql += (i ? ", " : "") + quoteIdent(pk[i]);
    sql += ")) WITHOUT ROWID";
    if (it->unique) {
      statements.push_back("CREATE UNIQUE INDEX " + quoteIdent(name + "$" + upperAscii(it->name) + "$u") +
                           " ON " + quoteIdent(name) + " (" + joinFields(it->fields) + ")");
    }
  } else {
    sql += ")";
  }
  statements.insert(statements.begin(), sql);
  if (!def.primaryKey.empty()) statements.push_back(indexSql(name, name + "$primary", def.primaryKey, true));
  for (const IndexDef& ix : def.indexes) {
    if (ix.name == def.clusteredIndex) continue;
    statements.push_back(indexSql(name, name + "$" + upperAscii(ix.name), ix.fields, ix.unique));
  }
  return statements;
}

}  // namespace

StatusOr<std::string> Store::readDefinition(std::string_view name) {
  const std::string key = sqlTableName(name);
  Statement st(*this, "SELECT definition FROM " + std::string(kCatalogTable) + " WHERE name = ?1", name);
  st.bindText(1, key);
  auto row = st.step();
  if (!row.ok()) return row.status();
  if (!*row) return Status::NotFound(std::string(name) + ": no such table");
  return std::string(st.text(0));
}

StatusOr<std::unique_ptr<TableMeta>> Store::loadTable(std::string_view name) {
  auto text = readDefinition(name);
  if (!text.ok()) return text.status();
  auto def = parseTableDef(*text);
  if (!def.ok()) return Status::Corrupt(std::string(name) + ": " + def.status().message());
  return tableMeta(name, sqlTableName(name), *def);
}

Status Store::createTable(const TableDef& def) {
  const std::string name = sqlTableName(def.name);
  if (name.empty()) return Status::InvalidArgument("a table needs a name");
  if (!def.clusteredIndex.empty() && def.primaryKey.empty()) {
    return Status::InvalidArgument(def.name + ": a clustered table needs a primary key");
  }
  TableDef stored = def;
  if (!stored.password.empty()) stored.password = passwordHash(def.password);

  // Build the layout first to validate it, from the same text the catalog keeps.
  auto parsed = parseTableDef(serializeTableDef(stored));
  if (!parsed.ok()) return parsed.status();
  auto statements = createStatements(def, name);
  if (!statements.ok()) return statements.status();

  const bool ownTransaction = !transaction_;
  if (ownTransaction) VISTREL_RETURN_IF_ERROR(begin());
  Status result;
  for (const std::string& s : *statements) {
    result = exec(s, def.name);
    if (!result.ok()) break;
  }
  if (result.ok()) result = addCatalogRow(name, serializeTableDef(stored), def.name);
  if (ownTransaction) {
    if (result.ok()) return commit();
    (void)rollback();
  }
  return result;
}

Status Store::addCatalogRow(const std::string& name, const std::string& definition, std::string_view what) {
  Statement st(*this, "INSERT INTO " + std::string(kCatalogTable) + " (name, definition) VALUES (?1, ?2)", what);
  st.bindText(1, name);
  st.bindText(2, definition);
  return st.run();
}

void Store::addCursor(StoreCursor* cursor) { cursors_.push_back(cursor); }

void Store::removeCursor(StoreCursor* cursor) {
  cursors_.erase(std::remove(cursors_.begin(), cursors_.end(), cursor), cursors_.end());
}

void Store::suspendCursors() {
  for (StoreCursor* c : cursors_) c->suspend();
}

Status Store::begin() {
  if (transaction_) return Status::InvalidArgument(directory_.string() + ": a transaction is already open");
  suspendCursors();
  VISTREL_RETURN_IF_ERROR(exec("BEGIN IMMEDIATE", directory_.string()));
  transaction_ = true;
  return Status::OK();
}

Status Store::commit() {
  suspendCursors();
  Status s = exec("COMMIT", directory_.string());
  if (!s.ok()) (void)exec("ROLLBACK", directory_.string());
  transaction_ = false;
  return s;
}

Status Store::rollback() {
  suspendCursors();
  transaction_ = false;
  return exec("ROLLBACK", directory_.string());
}

}  // namespace vistrel::host
