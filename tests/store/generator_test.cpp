#include "servers/store/generator.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <map>

#include "temp_dir.h"

namespace store {
namespace {

// Every row of the three data tables as text, in id order.
std::string Dump(const std::filesystem::path& file) {
  sqlite3* db = nullptr;
  sqlite3_open(file.c_str(), &db);
  std::string out;
  for (const char* sql :
       {"SELECT * FROM databanks ORDER BY code", "SELECT * FROM objects ORDER BY id",
        "SELECT * FROM revisions ORDER BY id"}) {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    while (sqlite3_step(statement) == SQLITE_ROW) {
      for (int c = 0; c < sqlite3_column_count(statement); ++c) {
        const unsigned char* text = sqlite3_column_text(statement, c);
        out += text ? reinterpret_cast<const char*>(text) : "<null>";
        out += '|';
      }
      out += '\n';
    }
    sqlite3_finalize(statement);
  }
  sqlite3_close(db);
  return out;
}

std::int64_t Count(const std::filesystem::path& file, const char* sql) {
  sqlite3* db = nullptr;
  sqlite3_open(file.c_str(), &db);
  sqlite3_stmt* statement = nullptr;
  sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
  std::int64_t count =
      sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : -1;
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return count;
}

std::filesystem::path Generate(const TempDir& dir, const std::string& name, std::uint64_t seed,
                               std::int64_t revisions) {
  auto file = dir.Path() / name;
  auto store = OpenStore("sqlite:" + file.string(), OpenMode::CreateIfMissing);
  EXPECT_TRUE(store);
  GeneratorOptions options;
  options.seed = seed;
  options.revisionCount = revisions;
  GeneratorSummary summary = GenerateRevisions(*store, options);
  EXPECT_EQ(summary.revisions, revisions);
  EXPECT_FALSE(store->InTransaction());
  return file;
}

TEST(Generator, SameSeedSameDataOtherSeedOtherData) {
  TempDir dir;
  auto a = Generate(dir, "a.rvxdb", 42, 3000);
  auto b = Generate(dir, "b.rvxdb", 42, 3000);
  auto c = Generate(dir, "c.rvxdb", 43, 3000);
  EXPECT_EQ(Dump(a), Dump(b));
  EXPECT_NE(Dump(a), Dump(c));
  EXPECT_EQ(Count(a, "SELECT count(*) FROM revisions"), 3000);
}

TEST(Generator, FillsEveryCategoryWithOneToTwentyRevisionsPerObject) {
  TempDir dir;
  auto file = Generate(dir, "g.rvxdb", 7, 20000);
  struct Category {
    const char* what;
    const char* where;  // over objects o joined with databanks d
  } categories[] = {
      {"Plane panels",
       "d.name='PW_OGDB' AND (o.type_code BETWEEN 100 AND 499 OR o.type_code "
       "BETWEEN 700 AND 999) AND o.sub_type_code BETWEEN 100 AND 999"},
      {"Curved panels",
       "d.name='PW_OGDB' AND o.type_code BETWEEN 500 AND 699 AND "
       "o.sub_type_code=501"},
      {"Curved stiffeners",
       "d.name='PW_OGDB' AND o.type_code=9 AND o.sub_type_code BETWEEN 21 "
       "AND 25"},
      {"Unknown panel-databank rows", "d.name='PW_OGDB' AND o.type_code=9 AND o.sub_type_code=30"},
      {"Pipe models", "d.name='PW_PSDB' AND o.type_code BETWEEN 400 AND 499 AND o.sub_type_code=1"},
      {"Vent models", "d.name='PW_PSDB' AND o.type_code BETWEEN 400 AND 499 AND o.sub_type_code=3"},
      {"Pipe spools", "d.name='PW_PPDB' AND o.type_code=305"},
      {"Spool databank type 306", "d.name='PW_PPDB' AND o.type_code=306"},
      {"Drawings", "d.name='PW_PDB' AND o.type_code=100"},
      {"Other drawings", "d.name='PW_PDB' AND o.type_code<>100"},
      {"Equipments", "d.name='PWE_GENEQPDB'"},
      {"Structure models", "d.name='PWF_DB_FSTRU'"},
      {"Cableway models", "d.name='PWC_CAWSTRDB'"},
      {"Volumes", "d.name='PW_MORVOLDB'"},
      {"Unknown databank", "d.name='PW_ASSYDB'"},
  };
  for (const auto& category : categories) {
    std::string sql = std::string(
                          "SELECT count(*) FROM objects o JOIN databanks d ON "
                          "d.code=o.databank_code WHERE ") +
                      category.where;
    EXPECT_GT(Count(file, sql.c_str()), 0) << category.what;
  }
  EXPECT_EQ(Count(file,
                  "SELECT count(*) FROM (SELECT count(*) n FROM revisions GROUP BY "
                  "object_id HAVING n < 1 OR n > 20)"),
            0);
  EXPECT_GT(Count(file, "SELECT count(*) FROM revisions WHERE name IS NULL"), 0);
  EXPECT_GT(Count(file, "SELECT count(*) FROM revisions WHERE name = '  '"), 0);
  EXPECT_GT(Count(file, "SELECT count(*) FROM revisions WHERE remark IS NULL"), 0);
  EXPECT_GT(Count(file, "SELECT count(*) FROM revisions WHERE remark IS NOT NULL"), 0);
  EXPECT_GE(Count(file, "SELECT count(DISTINCT created_by) FROM revisions"), 3);
  EXPECT_GT(Count(file, "SELECT count(*) FROM revisions WHERE modified_at > created_at"), 0);
  // Several years of creation dates.
  EXPECT_GT(Count(file, "SELECT max(created_at) - min(created_at) FROM revisions"),
            3LL * 365 * 86400);
  // Names are unique, so a name and databank name one object.
  EXPECT_EQ(Count(file, "SELECT count(*) FROM objects"),
            Count(file, "SELECT count(DISTINCT name) FROM objects"));
}

}  // namespace
}  // namespace store
