// The List button: on a real project (every model type, type texts, reversed order, item data,
// "No items found") and against a fake query server (missing server, failing Execute, date texts).
#include "browser/model_type_catalogue.h"
#include "browser/model_type_classification.h"
#include "platform/com/date.h"
#include "tests/browser/list_prop_fixture.h"
#include "tests/fakes/fake_vnquery.h"

namespace page_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using namespace browser;

constexpr char kMalformed[] =
    "Erroneous created between date, please use format: YYYY-MM-DD HH:MM:SS ";

// What a listing of the real project must show for each revision, by handle.
struct SqlRow {
  std::vector<std::string> texts;  // the eight columns
};

std::map<std::string, SqlRow> ExpectedRows(StoreSql& sql, const std::string& where,
                                           const std::string& entry) {
  const std::string query = std::string("SELECT ") + kHandleSql +
                            ", o.name, d.name, o.type_code, o.sub_type_code, "
                            "coalesce(r.name,''), coalesce(r.remark,''), r.created_by, "
                            "strftime('%Y-%m-%d %H:%M:%S', r.created_at, 'unixepoch', "
                            "'localtime'), r.modified_by, strftime('%Y-%m-%d %H:%M:%S', "
                            "r.modified_at, 'unixepoch', 'localtime') FROM revisions r JOIN "
                            "objects o ON o.id = r.object_id JOIN databanks d ON d.code = "
                            "o.databank_code WHERE (r.name IS NULL OR r.name <> '  ') AND (" +
                            where + ")";
  std::map<std::string, SqlRow> rows;
  for (auto& r : sql.Rows(query)) {
    std::string type =
        entry == kAllModels
            ? std::string(ClassifyModelType(r[2], static_cast<std::int16_t>(std::stoi(r[3])),
                                            static_cast<std::int16_t>(std::stoi(r[4]))))
            : entry;
    rows[r[0]] = {{r[1], type, r[5], r[6], r[7], r[8], r[9], r[10]}};
  }
  return rows;
}

// Checks the shown rows against SQL: every revision once, texts right, newest-read first, item
// data the reading order, handle list in reading order.
void ExpectListing(const ui::ControlState& list, const std::vector<std::string>& handles,
                   const std::map<std::string, SqlRow>& expected) {
  ASSERT_EQ(list.rows.size(), expected.size());
  ASSERT_EQ(handles.size(), expected.size());
  std::set<std::string> seen;
  const std::size_t n = list.rows.size();
  for (std::size_t i = 0; i < n; ++i) {
    ASSERT_EQ(list.rowData[i], static_cast<ui::LParam>(n - 1 - i)) << "row " << i;
    const std::string& handle = handles[n - 1 - i];
    auto it = expected.find(handle);
    ASSERT_NE(it, expected.end()) << handle;
    ASSERT_EQ(list.rows[i], it->second.texts) << "row " << i << " handle " << handle;
    seen.insert(handle);
  }
  EXPECT_EQ(seen.size(), n);
}

TEST_F(PageTest, FirstListWithTheStartUpValuesListsAllModelsWithClassifiedTypes) {
  MakeProject(1500);
  std::vector<std::string> handles;
  Script()
      .Click(kIdList)
      .Inspect([&](ui::PropertySheet& sheet) { handles = PageOf(sheet).HandleList(); })
      .CloseWithOk();
  const ui::SheetState& state = RunSheet();
  EXPECT_EQ(state.Find(kIdModelType)->text, "All models");
  EXPECT_TRUE(state.Find(kIdKeepCheck)->enabled);
  const auto expected = ExpectedRows(*sql_, "d.name <> 'PW_MORVOLDB'", "All models");
  ASSERT_GT(expected.size(), 1000u);
  ExpectListing(*state.Find(kIdListView), handles, expected);
  const std::vector<std::string> typeColumn = ColumnOf(*state.Find(kIdListView), 1);
  const std::set<std::string> types(typeColumn.begin(), typeColumn.end());
  EXPECT_TRUE(types.count("Drawing") && types.count("Unknown") && types.count("Plane panels"));
  EXPECT_THAT(Boxes(), IsEmpty());
}

struct EntryCase {
  const char* modelType;
  const char* where;
};

TEST_F(PageTest, EveryModelTypeListsItsRevisionsUnderItsName) {
  MakeProject(1500);
  const EntryCase cases[] = {
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
  ui::HeadlessScript& script = Script();
  for (const EntryCase& c : cases) {
    script.Pick(kIdModelType, c.modelType).Click(kIdList).Inspect([&, c](ui::PropertySheet& sheet) {
      SCOPED_TRACE(c.modelType);
      ui::SheetState state = ui::ReadSheetState(sheet);
      EXPECT_EQ(state.Find(kIdModelType)->text, c.modelType);
      const auto expected = ExpectedRows(*sql_, c.where, c.modelType);
      ASSERT_FALSE(expected.empty());
      ExpectListing(*state.Find(kIdListView), PageOf(sheet).HandleList(), expected);
    });
  }
  script.CloseWithOk();
  RunSheet();
}

TEST_F(PageTest, NoRowsShowNoItemsFound) {
  MakeProject(300);
  Script()
      .Type(kIdObjectName, "NO-SUCH-OBJECT")
      .Click(kIdList)
      .Inspect([](ui::PropertySheet& sheet) {
        EXPECT_THAT(PageOf(sheet).HandleList(), ElementsAre("No items"));
      })
      .CloseWithOk();
  const ui::SheetState& state = RunSheet();
  const ui::ControlState* list = state.Find(kIdListView);
  ASSERT_EQ(list->rows.size(), 1u);
  EXPECT_THAT(list->rows[0], ElementsAre("No items found", "", "", "", "", "", "", ""));
  EXPECT_EQ(list->rowData[0], 0);
  EXPECT_TRUE(state.Find(kIdKeepCheck)->enabled);
}

TEST_F(PageTest, AListingAfterASelectionKeepsRenameAndTheRememberedRow) {
  MakeProject(300);
  std::string handle;
  Script()
      .Click(kIdList)
      .SelectRows(kIdListView, {2})
      .Inspect([&](ui::PropertySheet& sheet) { handle = PageOf(sheet).SelectedHandle(); })
      .Pick(kIdModelType, "Equipments")
      .Click(kIdList)
      .Inspect([&](ui::PropertySheet& sheet) {
        EXPECT_EQ(PageOf(sheet).SelectedHandle(), handle);
        EXPECT_EQ(PageOf(sheet).SelectedRow(), 2);
        ui::SheetState state = ui::ReadSheetState(sheet);
        EXPECT_TRUE(state.Find(kIdRename)->enabled);
        EXPECT_FALSE(state.Find(kIdRevisionName)->enabled);
        EXPECT_EQ(state.Find(kIdRevisionName)->text, "");
      })
      .CloseWithOk();
  RunSheet();
  EXPECT_FALSE(handle.empty());
}

// --- against a fake query server (no RVX project: access is granted without asking) ---

com::Variant Date(int year, int month, int day) {
  DATE date = 0;
  com::DateFromFields({year, month, day, 8, 30, 5, 0}, &date);
  return com::Variant(com::DateTag{date});
}

fakes::FakeRow Row(const char16_t* handle, const char16_t* name, const char16_t* revision,
                   const char16_t* remark, int day) {
  fakes::FakeRow row;
  row.values = {com::Variant(handle),         com::Variant(name),
                com::Variant(remark),         com::Variant(revision),
                com::Variant(u"anna"),        Date(2004, 3, day),
                com::Variant(u"bjorn"),       Date(2004, 4, day),
                com::Variant(u"PW_PDB"),      com::Variant(std::int16_t{100}),
                com::Variant(std::int16_t{0})};
  return row;
}

class FakeQueryPageTest : public PageTest {
 protected:
  fakes::FakeVnQueryServer server_;
};

TEST_F(FakeQueryPageTest, RowsShowInReverseWithItemDataNamingTheReadingOrder) {
  server_.Query().SetRows({Row(u"HA", u"A", u"ra", u"ma", 1), Row(u"HB", u"B", u"rb", u"mb", 2),
                           Row(u"HC", u"C", u"rc", u"mc", 3)});
  Script()
      .Click(kIdList)
      .Inspect([](ui::PropertySheet& sheet) {
        EXPECT_THAT(PageOf(sheet).HandleList(), ElementsAre("HA", "HB", "HC"));
      })
      .CloseWithOk();
  const ui::SheetState& state = RunSheet();
  const ui::ControlState* list = state.Find(kIdListView);
  EXPECT_THAT(ColumnOf(*list, 0), ElementsAre("C", "B", "A"));
  EXPECT_THAT(list->rowData, ElementsAre(2, 1, 0));
  EXPECT_THAT(list->rows[2], ElementsAre("A", "Drawing", "ra", "ma", "anna", "2004-03-01 08:30:05",
                                         "bjorn", "2004-04-01 08:30:05"));
}

TEST_F(FakeQueryPageTest, MissingQueryServerEndsSilentlyWithAnEmptyList) {
  server_.Query().SetRows({Row(u"HA", u"A", u"ra", u"ma", 1)});
  server_.FailCreation(REGDB_E_CLASSNOTREG);
  Script().Click(kIdList).CloseWithOk();
  const ui::SheetState& state = RunSheet();
  EXPECT_TRUE(state.Find(kIdListView)->rows.empty());
  EXPECT_EQ(state.Find(kIdModelType)->text, "Choose models") << "no fall-back shown";
  EXPECT_FALSE(state.Find(kIdKeepCheck)->enabled);
  EXPECT_THAT(Boxes(), IsEmpty());
}

TEST_F(FakeQueryPageTest, FailingExecuteShowsTheErrorAfterTheDateWarnings) {
  server_.Query().Fail(fakes::VnQueryOp::Execute, E_FAIL);
  Script()
      .Type(kIdCreatedAfter, "2004-3-1")
      .Type(kIdCreatedBefore, "2004-13")
      .Answer(os::MessageBoxAnswer::Ok)
      .Answer(os::MessageBoxAnswer::Ok)
      .Answer(os::MessageBoxAnswer::Ok)
      .Click(kIdList)
      .CloseWithOk();
  const ui::SheetState& state = RunSheet();
  EXPECT_THAT(Boxes(), ElementsAre(kMalformed, kMalformed, "Error executing VNQuerySrv"));
  EXPECT_EQ(driver_->MessageBoxes().Shown()[0].caption, "VNMORMgr");
  EXPECT_TRUE(state.Find(kIdListView)->rows.empty());
  EXPECT_FALSE(state.Find(kIdKeepCheck)->enabled) << "234 keeps its state";
  EXPECT_EQ(state.Find(kIdModelType)->text, "All models");
}

struct DateCase {
  const char* after;
  const char* before;
  int warnings;
  const char* condition;  // the creation-date condition sent, or "" for none
};

TEST_F(FakeQueryPageTest, DateTextsGiveWarningsOnlyWhenMalformed) {
  const DateCase cases[] = {
      {"2004-3-1", "", 1, ""},
      {"", "2004-3-1", 1, ""},
      {"1969-12-31 23:59:59", "2004-13-01 00:00:00", 0, ""},
      {"2004-03-01 08:00:00", "", 0, "AddCondition(21,4,"},
      {"2004/03/01 08.00.00", "2004-03-02 08:00:00 tail", 0, "AddCondition(21,7,"},
      {"bad", "2004-03-02 08:00:00", 1, "AddCondition(21,3,"},
  };
  ui::HeadlessScript& script = Script();
  int answers = 0;
  for (const DateCase& c : cases) {
    script.Type(kIdCreatedAfter, c.after).Type(kIdCreatedBefore, c.before);
    for (int i = 0; i < c.warnings; ++i) script.Answer(os::MessageBoxAnswer::Ok);
    answers += c.warnings;
    script.Click(kIdList).Inspect([this, c](ui::PropertySheet&) {
      SCOPED_TRACE(std::string(c.after) + " / " + c.before);
      std::vector<std::string> dateConditions;
      for (const std::string& call : server_.Query().CallLog()) {
        if (call.starts_with("AddCondition(21,")) dateConditions.push_back(call);
      }
      if (*c.condition) {
        ASSERT_EQ(dateConditions.size(), 1u);
        EXPECT_TRUE(dateConditions[0].starts_with(c.condition)) << dateConditions[0];
      } else {
        EXPECT_THAT(dateConditions, IsEmpty());
      }
      server_.Query().ClearCalls();
    });
  }
  script.CloseWithOk();
  RunSheet();
  EXPECT_EQ(static_cast<int>(Boxes().size()), answers);
  for (const std::string& text : Boxes()) EXPECT_EQ(text, kMalformed);
}

}  // namespace
}  // namespace page_test
