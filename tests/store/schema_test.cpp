#include <gtest/gtest.h>
#include <sqlite3.h>

#include "servers/store/revision_store.h"
#include "servers/store/sqlite_store.h"
#include "temp_dir.h"

namespace store {
namespace {

constexpr int kCurrentVersion = 2;

int UserVersion(const std::filesystem::path& file) {
  sqlite3* db = nullptr;
  sqlite3_open(file.c_str(), &db);
  sqlite3_stmt* statement = nullptr;
  sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &statement, nullptr);
  int version = sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int(statement, 0) : -1;
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return version;
}

void SetUserVersion(const std::filesystem::path& file, int version) {
  sqlite3* db = nullptr;
  sqlite3_open(file.c_str(), &db);
  std::string sql = "PRAGMA user_version = " + std::to_string(version);
  sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

TEST(Schema, NewDatabaseGetsTheCurrentSchema) {
  TempDir dir;
  std::string error;
  auto store = OpenStore(dir.Location("new.rvxdb"), OpenMode::CreateIfMissing, &error);
  ASSERT_TRUE(store) << error;
  EXPECT_EQ(store->SchemaVersion(), kCurrentVersion);
  EXPECT_EQ(UserVersion(dir.Path() / "new.rvxdb"), kCurrentVersion);
  EXPECT_TRUE(store->AuditTrailAll().empty());
}

TEST(Schema, OpenExistingRefusesAMissingFile) {
  TempDir dir;
  std::string error;
  EXPECT_FALSE(OpenStore(dir.Location("missing.rvxdb"), OpenMode::OpenExisting, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "missing.rvxdb"));
}

TEST(Schema, PlainPathIsSqliteAndPostgresIsNotBuiltYet) {
  TempDir dir;
  std::string error;
  EXPECT_TRUE(OpenStore((dir.Path() / "plain.rvxdb").string(), OpenMode::CreateIfMissing, &error));
  EXPECT_FALSE(OpenStore("postgresql:host=x", OpenMode::OpenExisting, &error));
  EXPECT_NE(error.find("PostgreSQL"), std::string::npos);
}

TEST(Schema, OldDatabaseIsUpgradedAndKeepsItsData) {
  TempDir dir;
  auto file = dir.Path() / "old.rvxdb";
  sqlite::CreateSchemaUpTo(file.string(), 1);
  ASSERT_EQ(UserVersion(file), 1);
  {
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    ASSERT_EQ(sqlite3_exec(db,
                           "INSERT INTO databanks VALUES(1, 'PW_OGDB');"
                           "INSERT INTO objects VALUES(5, 1, 'B1', 120, 150);"
                           "INSERT INTO revisions VALUES(9, 5, 'A', NULL, 'anna', 0, 'anna', 0);"
                           "INSERT INTO revisions VALUES(10, 5, 'B', NULL, 'anna', 1, 'anna', 1);",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
  }
  std::string error;
  auto store = OpenStore("sqlite:" + file.string(), OpenMode::OpenExisting, &error);
  ASSERT_TRUE(store) << error;
  EXPECT_EQ(store->SchemaVersion(), kCurrentVersion);
  EXPECT_EQ(store->GetRevisionCount("00000000000000050000000000000000"), 2);
  // The audit table of the new version works on the old data.
  EXPECT_EQ(store->DeleteRevision("00000000000000050000000000000009", "anna"), 1);
  store->Commit();
  EXPECT_EQ(store->AuditTrail("00000000000000050000000000000009").size(), 1u);
}

TEST(Schema, NewerSchemaThanTheProgramIsRefused) {
  TempDir dir;
  auto file = dir.Path() / "future.rvxdb";
  { ASSERT_TRUE(OpenStore("sqlite:" + file.string(), OpenMode::CreateIfMissing)); }
  SetUserVersion(file, kCurrentVersion + 1);
  std::string error;
  EXPECT_FALSE(OpenStore("sqlite:" + file.string(), OpenMode::OpenExisting, &error));
  EXPECT_NE(error.find("newer"), std::string::npos) << error;
}

TEST(Schema, ConnectionUsesWalAndCaseSensitiveLike) {
  TempDir dir;
  auto file = dir.Path() / "wal.rvxdb";
  auto store = OpenStore("sqlite:" + file.string(), OpenMode::CreateIfMissing);
  ASSERT_TRUE(store);
  // WAL is a property of the file, visible to any other connection.
  sqlite3* db = nullptr;
  sqlite3_open(file.c_str(), &db);
  sqlite3_stmt* statement = nullptr;
  sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &statement, nullptr);
  ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
  EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)), "wal");
  sqlite3_finalize(statement);
  sqlite3_close(db);

  store->EnsureDatabank(1, "PW_OGDB");
  auto object = store->AddObject(1, "Abc", 100, 100);
  store->AddRevision(object, {std::nullopt, std::nullopt, "anna", TimePoint{}, {}, {}});
  RevisionQuery query{{Attribute::ObjectName},
                      {{Attribute::ObjectName, Operator::Like, std::string("abc"), Null{}}}};
  EXPECT_TRUE(store->OpenRevisionQuery(query)->AtEnd());
  query.conditions[0].first = std::string("Ab_");
  EXPECT_FALSE(store->OpenRevisionQuery(query)->AtEnd());
}

}  // namespace
}  // namespace store
