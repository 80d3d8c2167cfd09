// The revision store against plain SQLite in the same run: generating revisions against inserting
// as many plain rows, and reading the eleven-column listing join through a store cursor against
// stepping the same join with bare SQLite calls.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "bench/support/ratio_main.h"
#include "servers/store/generator.h"
#include "servers/store/revision_store.h"

namespace {

constexpr std::int64_t kMillion = 1000000;

class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "revmgr-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    path_ = pattern;
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

void BM_GenerateRevisions(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    TempDir dir;
    auto store =
        store::OpenStore("sqlite:" + dir.File("gen.rvxdb"), store::OpenMode::CreateIfMissing);
    store::GeneratorOptions options;
    options.revisionCount = state.range(0);
    state.ResumeTiming();
    store::GenerateRevisions(*store, options);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_GenerateRevisions)->Arg(kMillion)->Unit(benchmark::kMillisecond)->Iterations(1);

// As many rows of about the same width, one prepared insert in one transaction, no index.
void BM_BaselineRawInsert(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    TempDir dir;
    sqlite3* db = nullptr;
    sqlite3_open(dir.File("raw.db").c_str(), &db);
    sqlite3_exec(db,
                 "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA cache_size=-65536;"
                 "CREATE TABLE t(id INTEGER PRIMARY KEY, object INTEGER, name TEXT, remark TEXT, "
                 "created_by TEXT, created_at INTEGER, modified_by TEXT, modified_at INTEGER)",
                 nullptr, nullptr, nullptr);
    state.ResumeTiming();
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO t VALUES(NULL, ?1, ?2, ?3, ?4, ?5, ?4, ?5)", -1, &insert,
                       nullptr);
    for (std::int64_t i = 0; i < state.range(0); ++i) {
      sqlite3_bind_int64(insert, 1, i / 10);
      sqlite3_bind_text(insert, 2, "Rev 3", -1, SQLITE_STATIC);
      sqlite3_bind_text(insert, 3, "Frame spacing changed", -1, SQLITE_STATIC);
      sqlite3_bind_text(insert, 4, "anna", -1, SQLITE_STATIC);
      sqlite3_bind_int64(insert, 5, 1500000000 + i);
      sqlite3_step(insert);
      sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_BaselineRawInsert)->Arg(kMillion)->Unit(benchmark::kMillisecond)->Iterations(1);

// One generated store shared by the reading benchmarks.
const std::string& ListingFile() {
  static TempDir dir;
  static const std::string file = [] {
    std::string path = dir.File("listing.rvxdb");
    auto store = store::OpenStore("sqlite:" + path, store::OpenMode::CreateIfMissing);
    store::GeneratorOptions options;
    options.revisionCount = kMillion;
    store::GenerateRevisions(*store, options);
    return path;
  }();
  return file;
}

void BM_ListingThroughStore(benchmark::State& state) {
  using store::Attribute;
  auto store = store::OpenStore("sqlite:" + ListingFile(), store::OpenMode::OpenExisting);
  store::RevisionQuery query{
      {Attribute::Handle, Attribute::ObjectName, Attribute::RevisionRemark, Attribute::RevisionName,
       Attribute::CreatedBy, Attribute::CreationDate, Attribute::ModifiedBy,
       Attribute::ModifiedDate, Attribute::DatabankName, Attribute::TypeCode,
       Attribute::SubTypeCode},
      {{Attribute::ObjectName, store::Operator::Like, std::string("%"), store::Null{}},
       {Attribute::RevisionName, store::Operator::NotEqual, std::string("  "), store::Null{}},
       {Attribute::DatabankName, store::Operator::NotEqual, std::string("PW_MORVOLDB"),
        store::Null{}}}};
  std::int64_t rows = 0;
  for (auto _ : state) {
    for (auto cursor = store->OpenRevisionQuery(query); !cursor->AtEnd(); cursor->MoveNext()) {
      for (std::size_t i = 0; i < 11; ++i) benchmark::DoNotOptimize(cursor->Get(i));
      ++rows;
    }
  }
  state.SetItemsProcessed(rows);
}
BENCHMARK(BM_ListingThroughStore)->Unit(benchmark::kMillisecond)->Iterations(1);

// The same join and columns, stepped with bare SQLite calls and a literal statement.
void BM_BaselineRawListing(benchmark::State& state) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(ListingFile().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_exec(db, "PRAGMA case_sensitive_like=ON", nullptr, nullptr, nullptr);
  sqlite3_stmt* select = nullptr;
  sqlite3_prepare_v2(db,
                     "SELECT printf('%016X%016X', o.id, r.id), o.name, r.remark, r.name, "
                     "r.created_by, r.created_at, r.modified_by, r.modified_at, d.name, "
                     "o.type_code, o.sub_type_code FROM revisions r JOIN objects o ON o.id = "
                     "r.object_id JOIN databanks d ON d.code = o.databank_code WHERE o.name LIKE "
                     "'%' AND r.name IS NOT '  ' AND d.name <> 'PW_MORVOLDB' ORDER BY r.id",
                     -1, &select, nullptr);
  std::int64_t rows = 0;
  for (auto _ : state) {
    while (sqlite3_step(select) == SQLITE_ROW) {
      for (int c = 0; c < 11; ++c) {
        if (c == 5 || c == 7 || c >= 9) {
          benchmark::DoNotOptimize(sqlite3_column_int64(select, c));
        } else {
          benchmark::DoNotOptimize(sqlite3_column_text(select, c));
        }
      }
      ++rows;
    }
    sqlite3_reset(select);
  }
  sqlite3_finalize(select);
  sqlite3_close(db);
  state.SetItemsProcessed(rows);
}
BENCHMARK(BM_BaselineRawListing)->Unit(benchmark::kMillisecond)->Iterations(1);

constexpr bench_support::Ratio kRatios[] = {
    {"generate revisions vs insert plain rows", "BM_GenerateRevisions", "BM_BaselineRawInsert"},
    {"11-column listing via cursor vs bare statement", "BM_ListingThroughStore",
     "BM_BaselineRawListing"},
};

}  // namespace

int main(int argc, char** argv) {
  return bench_support::RunWithRatios(
      argc, argv, "Ratios (store / bare SQLite), 1,000,000 revisions:", kRatios);
}
