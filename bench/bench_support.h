// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <sqlite3.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// Small helpers the benchmark programs share: timing a piece of work over a
// few runs, the bare SQLite scan every figure is compared with, peak memory.
namespace vistrel::bench {

struct Timing {
  double min = 0;
  double median = 0;
  long rows = 0;
  double ratio = 0;  // median over rounds of this work's time over the first work's (measureRounds)
};

// Runs `work` once to warm the caches, then `repeat` times; `work` returns
// the number of rows it read.
inline Timing measure(int repeat, const std::function<long()>& work) {
  Timing t;
  t.rows = work();
  std::vector<double> seconds;
  for (int i = 0; i < repeat; ++i) {
    const auto start = std::chrono::steady_clock::now();
    t.rows = work();
    seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(seconds.begin(), seconds.end());
  t.min = seconds.front();
  t.median = seconds[seconds.size() / 2];
  return t;
}

// Runs each of `works` once to warm the caches, then `repeat` rounds running
// each in turn, so that a machine whose speed drifts slows them alike; the
// ratios are taken round by round.
inline std::vector<Timing> measureRounds(int repeat, const std::vector<std::function<long()>>& works) {
  std::vector<Timing> out(works.size());
  std::vector<std::vector<double>> seconds(works.size());
  for (std::size_t w = 0; w < works.size(); ++w) out[w].rows = works[w]();
  for (int i = 0; i < repeat; ++i) {
    for (std::size_t w = 0; w < works.size(); ++w) {
      const auto start = std::chrono::steady_clock::now();
      out[w].rows = works[w]();
      seconds[w].push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
  }
  const auto median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  for (std::size_t w = 0; w < works.size(); ++w) {
    std::vector<double> ratios;
    for (int i = 0; i < repeat; ++i) ratios.push_back(seconds[w][i] / seconds[0][i]);
    out[w].min = *std::min_element(seconds[w].begin(), seconds[w].end());
    out[w].median = median(seconds[w]);
    out[w].ratio = median(ratios);
  }
  return out;
}

inline void print(const char* name, const Timing& t) {
  std::printf("%-34s %9ld rows  min %7.3f s  median %7.3f s  %6.2f M rows/s", name, t.rows, t.min, t.median,
              t.rows / t.median / 1e6);
  if (t.ratio > 0) std::printf("  ratio %.2f", t.ratio);
  std::printf("\n");
}

inline long peakRssMb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss / 1024;
}

// The database with the most contacts in the data directory.
inline std::string largestDatabase(const std::filesystem::path& dir) {
  sqlite3* db = nullptr;
  sqlite3_open_v2((dir / "tallis.db").c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, "SELECT DB FROM contact GROUP BY DB COLLATE NOCASE ORDER BY count(*) DESC LIMIT 1", -1, &st,
                     nullptr);
  std::string name;
  if (sqlite3_step(st) == SQLITE_ROW) name = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
  sqlite3_finalize(st);
  sqlite3_close(db);
  return name;
}

// The arguments every contact benchmark takes: DATA_DIR [DATABASE] [REPEAT];
// an empty or missing DATABASE means the largest one. False after printing
// the usage when DATA_DIR is missing.
struct ContactArgs {
  std::filesystem::path dir;
  std::string database;
  int repeat = 0;
};

inline bool readContactArgs(int argc, char** argv, int defaultRepeat, ContactArgs& out) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s DATA_DIR [DATABASE] [REPEAT]\n", argv[0]);
    return false;
  }
  out.dir = argv[1];
  out.database = argc > 2 && *argv[2] ? argv[2] : largestDatabase(out.dir);
  out.repeat = argc > 3 ? std::max(1, std::atoi(argv[3])) : defaultRepeat;
  return true;
}

// The floor: a bare sqlite3_step loop over the whole contact table, without
// an index, reading DB of every row and `fields` of the rows of `database`.
inline long bareScan(const std::filesystem::path& dir, const std::string& database,
                     const std::vector<std::string>& fields) {
  sqlite3* db = nullptr;
  sqlite3_open_v2((dir / "tallis.db").c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  std::string sql = "SELECT DB";
  for (const std::string& f : fields) sql += ", \"" + f + "\"";
  sql += " FROM contact NOT INDEXED";
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
  long rows = 0;
  std::size_t bytes = 0;
  const int n = static_cast<int>(fields.size());
  while (sqlite3_step(st) == SQLITE_ROW) {
    const char* d = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    if (d == nullptr || sqlite3_stricmp(d, database.c_str()) != 0) continue;
    ++rows;
    for (int i = 1; i <= n; ++i) {
      sqlite3_column_text(st, i);
      bytes += static_cast<std::size_t>(sqlite3_column_bytes(st, i));
    }
  }
  sqlite3_finalize(st);
  sqlite3_close(db);
  return rows + static_cast<long>(bytes * 0);
}

}  // namespace vistrel::bench
