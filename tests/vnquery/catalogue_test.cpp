// End to end on a generated project: the listing queries of the model type catalogue list exactly
// the revisions they should.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <map>
#include <memory>
#include <set>

#include "servers/store/generator.h"
#include "servers/store/project_list.h"
#include "small_project.h"
#include "tests/support/temporary_home.h"

namespace vnquery_test {
namespace {

constexpr std::int64_t kRevisions = 100000;
constexpr std::int32_t kEqual = 0, kNotEqual = 1, kLike = 2, kLess = 3, kGreater = 4, kBetween = 7;
const std::vector<std::int32_t> kListingSelect = {1, 2, 9, 8, 20, 21, 18, 19, 4, 5, 6};

struct Entry {
  const char* display;
  std::vector<Cond> conditions;  // attribute 4 first, then the further ones, in order
  const char* sql;               // the same rows, written independently over o and d
};

std::vector<Entry> Catalogue() {
  return {
      {"All models", {{4, kNotEqual, Text("PW_MORVOLDB")}}, "d.name <> 'PW_MORVOLDB'"},
      {"Equipments", {{4, kEqual, Text("PWE_GENEQPDB")}}, "d.name = 'PWE_GENEQPDB'"},
      {"Structure models", {{4, kEqual, Text("PWF_DB_FSTRU")}}, "d.name = 'PWF_DB_FSTRU'"},
      {"Cableway models", {{4, kEqual, Text("PWC_CAWSTRDB")}}, "d.name = 'PWC_CAWSTRDB'"},
      {"Vent models",
       {{4, kEqual, Text("PW_PSDB")}, {5, kBetween, Int(400), Int(499)}, {6, kEqual, Int(3)}},
       "d.name = 'PW_PSDB' AND o.type_code >= 400 AND o.type_code <= 499 AND o.sub_type_code = 3"},
      {"Pipe spools",
       {{4, kEqual, Text("PW_PPDB")}, {5, kEqual, Int(305)}},
       "d.name = 'PW_PPDB' AND o.type_code = 305"},
      {"Pipe models",
       {{4, kEqual, Text("PW_PSDB")}, {5, kBetween, Int(400), Int(499)}, {6, kEqual, Int(1)}},
       "d.name = 'PW_PSDB' AND o.type_code >= 400 AND o.type_code <= 499 AND o.sub_type_code = 1"},
      {"Curved panels",
       {{4, kEqual, Text("PW_OGDB")}, {5, kBetween, Int(500), Int(699)}, {6, kEqual, Int(501)}},
       "d.name = 'PW_OGDB' AND o.type_code >= 500 AND o.type_code <= 699 AND "
       "o.sub_type_code = 501"},
      {"Drawings",
       {{4, kEqual, Text("PW_PDB")}, {5, kEqual, Int(100)}},
       "d.name = 'PW_PDB' AND o.type_code = 100"},
      {"Plane panels",
       {{4, kEqual, Text("PW_OGDB")},
        {5, kBetween, Int(100), Int(499)},
        {5, kBetween, Int(700), Int(999)},
        {6, kBetween, Int(100), Int(999)}},
       "d.name = 'PW_OGDB' AND ((o.type_code >= 100 AND o.type_code <= 499) OR "
       "(o.type_code >= 700 AND o.type_code <= 999)) AND o.sub_type_code >= 100 AND "
       "o.sub_type_code <= 999"},
  };
}

// The classification of "All models" rows, written here from the table of model types.
std::string Classify(const std::string& databank, std::int16_t type, std::int16_t sub) {
  auto in = [](int value, int low, int high) { return value >= low && value <= high; };
  if (databank == "PWE_GENEQPDB") return "Equipments";
  if (databank == "PWF_DB_FSTRU") return "Structure models";
  if (databank == "PWC_CAWSTRDB") return "Cableway models";
  if (databank == "PW_PPDB") return type == 305 ? "Pipe spools" : "Unknown";
  if (databank == "PW_PSDB" && in(type, 400, 499) && sub == 3) return "Vent models";
  if (databank == "PW_PSDB" && in(type, 400, 499) && sub == 1) return "Pipe models";
  if (databank == "PW_OGDB") {
    if (type == 9) return in(sub, 21, 25) ? "Curved stiffeners" : "Unknown";
    if ((in(type, 100, 499) || in(type, 700, 999)) && in(sub, 100, 999)) return "Plane panels";
    if (in(type, 500, 699) && sub == 501) return "Curved panels";
    return "Unknown";
  }
  if (databank == "PW_PDB") return "Drawing";
  return "Unknown";
}

class GeneratedProject : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    home_ = std::make_unique<test_support::TemporaryHome>("revmgr-vnquery");
    std::string error;
    auto store = store::SetUpProject("GEN", store::kExtendedRvx, {}, {}, &error);
    ASSERT_TRUE(store) << error;
    store::GeneratorOptions options;
    options.seed = 2024;
    options.revisionCount = kRevisions;
    store::GenerateRevisions(*store, options);
    file_ = new std::string(store::FindProjectLocation("GEN")->substr(7));
  }
  static void TearDownTestSuite() {
    delete file_;
    home_.reset();
  }

  // A count over revisions r, objects o and databanks d, straight from the database file.
  static std::int64_t SqlCount(const std::string& where) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(file_->c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    std::string sql =
        "SELECT count(*) FROM revisions r JOIN objects o ON o.id = r.object_id JOIN databanks d "
        "ON d.code = o.databank_code WHERE " +
        where;
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr);
    std::int64_t count =
        sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : -1;
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return count;
  }

  // The listing's conditions for an entry: name pattern, hidden names, the entry, dates.
  static std::vector<Cond> Listing(const Entry& entry, const char* namePattern,
                                   std::vector<Cond> dates = {}) {
    std::vector<Cond> conditions;
    conditions.push_back({2, kLike, Text(namePattern)});
    conditions.push_back({8, kNotEqual, Text("  ")});
    for (const Cond& c : entry.conditions) conditions.push_back(c);
    for (Cond& c : dates) conditions.push_back(std::move(c));
    return conditions;
  }

  static std::set<std::string> Handles(const QueryResult& result) {
    auto texts = Texts(result, 0);
    return {texts.begin(), texts.end()};
  }

  ScopedEnv project_{"_#INT#_PROJECT", "GEN"};
  ScopedTimeZone zone_{"UTC0"};
  static std::unique_ptr<test_support::TemporaryHome> home_;
  static std::string* file_;
};

std::unique_ptr<test_support::TemporaryHome> GeneratedProject::home_;
std::string* GeneratedProject::file_ = nullptr;

TEST_F(GeneratedProject, CatalogueEntriesListExactlyTheirRevisions) {
  const std::string visible = "(r.name IS NULL OR r.name <> '  ') AND ";
  std::map<std::string, std::set<std::string>> listed;
  std::map<std::string, std::set<std::string>> classified;
  for (const Entry& entry : Catalogue()) {
    SCOPED_TRACE(entry.display);
    QueryResult result = RunQuery(kListingSelect, Listing(entry, "%"));
    ASSERT_EQ(result.executeResult, S_OK);
    EXPECT_EQ(static_cast<std::int64_t>(result.rows.size()), SqlCount(visible + entry.sql));
    EXPECT_GT(result.rows.size(), 0u);
    listed[entry.display] = Handles(result);
    EXPECT_EQ(listed[entry.display].size(), result.rows.size());  // no row twice
    if (std::string(entry.display) != "All models") continue;
    for (const auto& row : result.rows) {
      const std::string databank = row[8].TextUtf8();
      EXPECT_NE(databank, "PW_MORVOLDB");
      EXPECT_NE(row[3].Type() == VT_BSTR ? row[3].TextUtf8() : "", "  ");
      const auto type = static_cast<std::int16_t>(row[9].Get().lVal);
      const auto sub = static_cast<std::int16_t>(row[10].Get().lVal);
      std::string text = Classify(databank, type, sub);
      if (text == "Drawing" && type == 100) text = "Drawings";
      classified[text].insert(row[0].TextUtf8());
    }
  }
  // Every entry lists exactly the rows "All models" classifies as its type.
  for (const Entry& entry : Catalogue()) {
    if (std::string(entry.display) == "All models") continue;
    EXPECT_EQ(listed[entry.display], classified[entry.display]) << entry.display;
  }
  EXPECT_GT(classified["Curved stiffeners"].size(), 0u);
  EXPECT_GT(classified["Unknown"].size(), 0u);
  EXPECT_GT(classified["Drawing"].size(), 0u);  // drawings of another type
  EXPECT_GT(SqlCount("d.name = 'PW_MORVOLDB'"), 0);
  EXPECT_GT(SqlCount("r.name = '  '"), 0);
}

TEST_F(GeneratedProject, NamePatternsAndCreationDatesNarrowTheListing) {
  const Entry plane = Catalogue().back();
  const std::string where = std::string("(r.name IS NULL OR r.name <> '  ') AND ") + plane.sql;
  // 2018-01-01 00:00:00 and 2019-06-30 12:00:00 UTC (the zone is UTC here).
  const std::string from = "1514764800", to = "1561896000";
  struct Case {
    const char* what;
    const char* pattern;
    std::vector<Cond> dates;
    std::string sql;
  };
  const std::vector<Case> cases = {
      {"name prefix", "B2%", {}, " AND o.name GLOB 'B2*'"},
      {"one character wildcard", "B1_4-PLP-%", {}, " AND o.name GLOB 'B1?4-PLP-*'"},
      {"lower case matches nothing", "b2%", {}, " AND 0"},
      {"created between",
       "%",
       {{21, kBetween, LocalDate(2018, 1, 1, 0, 0, 0), LocalDate(2019, 6, 30, 12, 0, 0)}},
       " AND r.created_at >= " + from + " AND r.created_at <= " + to},
      {"created after",
       "%",
       {{21, kGreater, LocalDate(2018, 1, 1, 0, 0, 0)}},
       " AND r.created_at > " + from},
      {"created before",
       "B3%",
       {{21, kLess, LocalDate(2019, 6, 30, 12, 0, 0)}},
       " AND o.name GLOB 'B3*' AND r.created_at < " + to},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<Cond> dates;
    for (const Cond& d : c.dates) dates.push_back(d);
    QueryResult result = RunQuery(kListingSelect, Listing(plane, c.pattern, std::move(dates)));
    ASSERT_EQ(result.executeResult, S_OK);
    EXPECT_EQ(static_cast<std::int64_t>(result.rows.size()), SqlCount(where + c.sql));
  }
}

}  // namespace
}  // namespace vnquery_test
