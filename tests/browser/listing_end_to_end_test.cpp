// The listing against the real query server over a generated store of 100,000 revisions,
// compared with what plain SQL on the store's file says each listing must hold.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "browser/listing_query.h"
#include "browser/model_type_catalogue.h"
#include "servers/store/generator.h"
#include "servers/store/project_list.h"
#include "servers/store/project_setup.h"
#include "servers/store/revision_store.h"
#include "servers/vnquery/vnquery_server.h"
#include "tests/support/temporary_home.h"
#include "tests/support/variable_scope.h"

namespace browser {
namespace {

constexpr char kProject[] = "LISTING_E2E";
constexpr std::int64_t kRevisions = 100000;

// Every listed field of a revision, with the type text the listing must show for it.
constexpr char kRowsSql[] = R"sql(
SELECT printf('%016X%016X', o.id, r.id), o.name,
       CASE
         WHEN d.name = 'PWE_GENEQPDB' THEN 'Equipments'
         WHEN d.name = 'PWF_DB_FSTRU' THEN 'Structure models'
         WHEN d.name = 'PWC_CAWSTRDB' THEN 'Cableway models'
         WHEN d.name = 'PW_PPDB' AND o.type_code = 305 THEN 'Pipe spools'
         WHEN d.name = 'PW_PSDB' AND o.type_code BETWEEN 400 AND 499 AND o.sub_type_code = 3
           THEN 'Vent models'
         WHEN d.name = 'PW_PSDB' AND o.type_code BETWEEN 400 AND 499 AND o.sub_type_code = 1
           THEN 'Pipe models'
         WHEN d.name = 'PW_OGDB' AND o.type_code = 9 AND o.sub_type_code BETWEEN 21 AND 25
           THEN 'Curved stiffeners'
         WHEN d.name = 'PW_OGDB' AND o.type_code <> 9
              AND (o.type_code BETWEEN 100 AND 499 OR o.type_code BETWEEN 700 AND 999)
              AND o.sub_type_code BETWEEN 100 AND 999 THEN 'Plane panels'
         WHEN d.name = 'PW_OGDB' AND o.type_code BETWEEN 500 AND 699 AND o.sub_type_code = 501
           THEN 'Curved panels'
         WHEN d.name = 'PW_PDB' THEN 'Drawing'
         ELSE 'Unknown'
       END,
       coalesce(r.name, ''), coalesce(r.remark, ''), r.created_by,
       strftime('%Y-%m-%d %H:%M:%S', r.created_at, 'unixepoch', 'localtime'), r.modified_by,
       strftime('%Y-%m-%d %H:%M:%S', r.modified_at, 'unixepoch', 'localtime')
FROM revisions r JOIN objects o ON o.id = r.object_id JOIN databanks d ON d.code = o.databank_code
WHERE (r.name IS NULL OR r.name <> '  ') AND )sql";

struct EntryCase {
  const char* modelType;
  // What the entry selects, in plain SQL over d (databank), o (object) and r (revision).
  const char* where;
};

const EntryCase kEntries[] = {
    {"All models", "d.name <> 'PW_MORVOLDB'"},
    {"Equipments", "d.name = 'PWE_GENEQPDB'"},
    {"Structure models", "d.name = 'PWF_DB_FSTRU'"},
    {"Cableway models", "d.name = 'PWC_CAWSTRDB'"},
    {"Vent models",
     "d.name = 'PW_PSDB' AND o.type_code BETWEEN 400 AND 499 AND o.sub_type_code = 3"},
    {"Pipe spools", "d.name = 'PW_PPDB' AND o.type_code = 305"},
    {"Pipe models",
     "d.name = 'PW_PSDB' AND o.type_code BETWEEN 400 AND 499 AND o.sub_type_code = 1"},
    {"Curved panels",
     "d.name = 'PW_OGDB' AND o.type_code BETWEEN 500 AND 699 AND o.sub_type_code = 501"},
    {"Drawings", "d.name = 'PW_PDB' AND o.type_code = 100"},
    {"Plane panels",
     "d.name = 'PW_OGDB' AND (o.type_code BETWEEN 100 AND 499 OR o.type_code BETWEEN 700 AND "
     "999) AND o.sub_type_code BETWEEN 100 AND 999"},
};

std::string Column(sqlite3_stmt* statement, int column) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
  return text ? text : "";
}

class StoreFile {
 public:
  explicit StoreFile(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
      ADD_FAILURE() << "cannot open " << path << ": " << sqlite3_errmsg(db_);
    }
  }
  ~StoreFile() { sqlite3_close(db_); }
  StoreFile(const StoreFile&) = delete;
  StoreFile& operator=(const StoreFile&) = delete;

  // Rows of kRowsSql + where, by handle. typeText: the entry's name, or the classification.
  std::vector<RevisionRow> Rows(const std::string& where, const std::string& entryName) {
    std::vector<RevisionRow> rows;
    sqlite3_stmt* statement = nullptr;
    const std::string sql = std::string(kRowsSql) + "(" + where + ")";
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
      ADD_FAILURE() << sqlite3_errmsg(db_) << "\n" << sql;
      return rows;
    }
    while (sqlite3_step(statement) == SQLITE_ROW) {
      RevisionRow row{Column(statement, 0), Column(statement, 1), Column(statement, 2),
                      Column(statement, 3), Column(statement, 4), Column(statement, 5),
                      Column(statement, 6), Column(statement, 7), Column(statement, 8)};
      if (entryName != kAllModels) row.typeText = entryName;
      rows.push_back(std::move(row));
    }
    sqlite3_finalize(statement);
    return rows;
  }

  // The first column of the first row; empty when there is none.
  std::string Text(const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    std::string text;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
      text = Column(statement, 0);
    }
    sqlite3_finalize(statement);
    return text;
  }

  std::int64_t Count(const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    std::int64_t count = -1;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
      count = sqlite3_column_int64(statement, 0);
    }
    sqlite3_finalize(statement);
    return count;
  }

 private:
  sqlite3* db_ = nullptr;
};

bool ByHandle(const RevisionRow& a, const RevisionRow& b) {
  return a.handle < b.handle;
}

// Compares as sets of rows; reports the first few differences rather than 100,000 lines.
void ExpectSameRows(std::vector<RevisionRow> listed, std::vector<RevisionRow> expected) {
  std::sort(listed.begin(), listed.end(), ByHandle);
  std::sort(expected.begin(), expected.end(), ByHandle);
  ASSERT_EQ(listed.size(), expected.size());
  int reported = 0;
  for (std::size_t i = 0; i < listed.size() && reported < 5; ++i) {
    if (listed[i] == expected[i]) continue;
    ++reported;
    ADD_FAILURE() << "row " << i << " listed " << testing::PrintToString(listed[i]) << "\nexpected "
                  << testing::PrintToString(expected[i]);
  }
}

class ListingEndToEndTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    home_ = std::make_unique<test_support::TemporaryHome>("revmgr-listing-e2e");
    project_ = std::make_unique<test_support::ScopedVariable>("_#INT#_PROJECT", kProject);
    std::string error;
    auto store = store::SetUpProject(kProject, store::kExtendedRvx, {}, {}, &error);
    ASSERT_TRUE(store) << error;
    store::GeneratorOptions options;
    options.seed = 20040301;
    options.revisionCount = kRevisions;
    store::GenerateRevisions(*store, options);
    const std::optional<std::string> location = store::FindProjectLocation(kProject);
    ASSERT_TRUE(location && location->starts_with("sqlite:")) << location.value_or("none");
    file_ = new StoreFile(location->substr(7));
    vnquery::RegisterInProcess();
  }
  static void TearDownTestSuite() {
    delete file_;
    file_ = nullptr;
    project_.reset();
    home_.reset();
  }

  static ListingOutcome List(const char* modelType, const char* name = "*", const char* after = "",
                             const char* before = "") {
    return RunListingQuery({modelType, name, after, before});
  }

  static inline std::unique_ptr<test_support::TemporaryHome> home_;
  static inline std::unique_ptr<test_support::ScopedVariable> project_;
  static inline StoreFile* file_ = nullptr;
};

// The All models listing is the largest; it is checked here once for everything it must show.
void ExpectAllModelsShowsEveryKindButNoVolumes(const ListingOutcome& outcome) {
  std::map<std::string, int> counts;
  for (const RevisionRow& row : outcome.rows) {
    ++counts[row.typeText];
    EXPECT_FALSE(row.objectName.starts_with("VOL-")) << row.objectName;
    EXPECT_NE(row.revisionName, "  ") << row.handle;
  }
  for (const char* type : {"Equipments", "Structure models", "Cableway models", "Pipe spools",
                           "Vent models", "Pipe models", "Curved stiffeners", "Plane panels",
                           "Curved panels", "Drawing", "Unknown"}) {
    EXPECT_GT(counts[type], 0) << type;
  }
  EXPECT_EQ(counts.size(), 11u);
}

TEST_F(ListingEndToEndTest, EveryCatalogueEntryListsExactlyItsRevisions) {
  ASSERT_NE(file_, nullptr);
  ASSERT_EQ(file_->Count("SELECT count(*) FROM revisions"), kRevisions);
  // The store holds what the listing must leave out.
  ASSERT_GT(file_->Count("SELECT count(*) FROM objects o JOIN databanks d ON d.code = "
                         "o.databank_code WHERE d.name = 'PW_MORVOLDB'"),
            0);
  ASSERT_GT(file_->Count("SELECT count(*) FROM revisions WHERE name = '  '"), 0);
  ASSERT_GT(file_->Count("SELECT count(*) FROM revisions WHERE name IS NULL"), 0);

  for (const EntryCase& entry : kEntries) {
    SCOPED_TRACE(entry.modelType);
    const ListingOutcome outcome = List(entry.modelType);
    ASSERT_TRUE(outcome.serverCreated);
    ASSERT_FALSE(outcome.executeFailed);
    EXPECT_EQ(outcome.modelTypeUsed, entry.modelType);
    EXPECT_FALSE(outcome.rows.empty());
    ExpectSameRows(outcome.rows, file_->Rows(entry.where, entry.modelType));
    if (entry.modelType == kAllModels) ExpectAllModelsShowsEveryKindButNoVolumes(outcome);
  }
}

struct FilteredCase {
  std::string modelType;
  std::string name;
  std::string after;
  std::string before;
  std::string where;
};

TEST_F(ListingEndToEndTest, NamePatternsAndDateBoundsSelectWhatSqlSelects) {
  ASSERT_NE(file_, nullptr);
  // An object with several revisions, listed by its exact name.
  const std::string exact = file_->Text(
      "SELECT o.name FROM objects o JOIN databanks d ON d.code = o.databank_code "
      "WHERE d.name = 'PW_OGDB' AND o.type_code BETWEEN 100 AND 499 "
      "AND o.sub_type_code BETWEEN 100 AND 999 "
      "AND (SELECT count(*) FROM revisions r WHERE r.object_id = o.id) > 3 ORDER BY o.id LIMIT 1");
  ASSERT_FALSE(exact.empty());
  ASSERT_EQ(exact.find_first_of("*%?'"), std::string::npos);
  const FilteredCase cases[] = {
      {"Plane panels", exact, "", "", "d.name = 'PW_OGDB' AND o.name = '" + exact + "'"},
      {"Plane panels", "B1?0-PLP-*", "", "", "d.name = 'PW_OGDB' AND o.name GLOB 'B1?0-PLP-*'"},
      {"All models", "ES1*-PP-*", "", "", "d.name <> 'PW_MORVOLDB' AND o.name GLOB 'ES1*-PP-*'"},
      {"Pipe spools", "*", "2018-01-01 00:00:00", "2018-06-30 23:59:59",
       "d.name = 'PW_PPDB' AND o.type_code = 305 AND r.created_at BETWEEN "
       "CAST(strftime('%s', '2018-01-01 00:00:00', 'utc') AS INTEGER) AND "
       "CAST(strftime('%s', '2018-06-30 23:59:59', 'utc') AS INTEGER)"},
      {"Equipments", "*", "2022-06-01 12:00:00", "",
       "d.name = 'PWE_GENEQPDB' AND r.created_at > CAST(strftime('%s', '2022-06-01 12:00:00', "
       "'utc') AS INTEGER)"},
      {"Drawings", "*", "", "2015-09-01 00:00:00",
       "d.name = 'PW_PDB' AND o.type_code = 100 AND "
       "r.created_at < CAST(strftime('%s', '2015-09-01 00:00:00', 'utc') AS INTEGER)"},
  };
  for (const FilteredCase& c : cases) {
    SCOPED_TRACE(c.modelType + " " + c.name + " " + c.after + " / " + c.before);
    const ListingOutcome outcome = RunListingQuery({c.modelType, c.name, c.after, c.before});
    ASSERT_FALSE(outcome.executeFailed);
    EXPECT_FALSE(outcome.rows.empty());
    ExpectSameRows(outcome.rows, file_->Rows(c.where, c.modelType));
  }
}

}  // namespace
}  // namespace browser
