// The sheet "Object Revision Manager" as ShowRevManagerDlg shows it, and the road of a typical
// rename through it, step by step, on a real project.
#include "component/rev_manager.h"
#include "tests/browser/list_prop_fixture.h"

namespace page_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using namespace browser;

class SheetTest : public PageTest {
 protected:
  // A class-factory instance, as a host gets it.
  com::ComPtr<IRevManager> NewRevManager() {
    com::ComPtr<IRevManager> manager;
    EXPECT_EQ(
        component::CreateRevManager(nullptr, IRevManager::IID_, manager.ReleaseAndGetVoidAddress()),
        S_OK);
    return manager;
  }
  ListProp* page_ = nullptr;
};

TEST_F(SheetTest, OneTabOkAndCancelAndThePageSize) {
  MakeProject(0);
  Script()
      .Inspect([](ui::PropertySheet& sheet) {
        EXPECT_EQ(sheet.PageSize().width, 554);
        EXPECT_EQ(sheet.PageSize().height, 279);
        EXPECT_EQ(sheet.Parent(), nullptr);
        EXPECT_EQ(sheet.ActiveIndex(), 0);
        EXPECT_EQ(sheet.SendMessage(ui::Message::QueryDragIcon, 0, 0), 0);
        auto& ours = dynamic_cast<CAllControlsSheet&>(sheet);
        EXPECT_EQ(ours.GetRuntimeClass().name, "CAllControlsSheet");
        EXPECT_FALSE(ours.GetRuntimeClass().creatableByName);
        EXPECT_TRUE(ui::IsControlContainerEnabled());
      })
      .CloseWithOk();
  auto manager = NewRevManager();
  ASSERT_TRUE(manager);
  EXPECT_EQ(manager->ShowRevManagerDlg(), S_OK);
  ASSERT_THAT(driver_->Failures(), IsEmpty());
  const ui::SheetState& state = driver_->Runs().at(0);
  EXPECT_EQ(state.caption, "Object Revision Manager");
  EXPECT_THAT(state.tabs, ElementsAre("List revisions"));
  EXPECT_THAT(state.buttons, ElementsAre(ui::kIdOk, ui::kIdCancel));
}

struct CloseCase {
  const char* name;
  void (*close)(ui::HeadlessScript&);
  int result;
};

class SheetCloseTest : public SheetTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(SheetCloseTest, ShowRevManagerDlgReturnsSOkHoweverTheSheetIsClosed) {
  MakeProject(0);
  GetParam().close(Script());
  auto manager = NewRevManager();
  ASSERT_TRUE(manager);
  EXPECT_EQ(manager->ShowRevManagerDlg(), S_OK);
  ASSERT_THAT(driver_->Failures(), IsEmpty());
  EXPECT_EQ(driver_->Runs().at(0).result, GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, SheetCloseTest,
    ::testing::Values(
        CloseCase{"Ok", [](ui::HeadlessScript& s) { s.CloseWithOk(); }, ui::kIdOk},
        CloseCase{"Cancel", [](ui::HeadlessScript& s) { s.CloseWithCancel(); }, ui::kIdCancel},
        CloseCase{"CloseBox", [](ui::HeadlessScript& s) { s.CloseWithCloseBox(); }, ui::kIdCancel}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SheetTest, TwoShowingsAreTwoIndependentSheets) {
  MakeProject(200);
  Script().Type(kIdObjectName, "X*").Click(kIdList).ClickHeading(kIdListView, 0).CloseWithOk();
  Script()
      .Inspect([](ui::PropertySheet& sheet) {
        EXPECT_EQ(PageOf(sheet).SortedColumn(), -1);
        EXPECT_TRUE(PageOf(sheet).HandleList().empty());
      })
      .CloseWithCancel();
  auto manager = NewRevManager();
  EXPECT_EQ(manager->ShowRevManagerDlg(), S_OK);
  EXPECT_EQ(manager->ShowRevManagerDlg(), S_OK);
  ASSERT_THAT(driver_->Failures(), IsEmpty());
  ASSERT_EQ(driver_->Runs().size(), 2u);
  EXPECT_EQ(driver_->Runs()[0].Find(kIdObjectName)->text, "X*");
  EXPECT_EQ(driver_->Runs()[1].Find(kIdObjectName)->text, "*");
  EXPECT_EQ(driver_->Runs()[1].Find(kIdModelType)->text, "Choose models");
  EXPECT_TRUE(driver_->Runs()[1].Find(kIdListView)->rows.empty());
}

// The road of a typical rename, step by step.
TEST_F(SheetTest, TheRoadOfATypicalRename) {
  MakeProject(1500);
  // A plane panel revision that may be renamed (not its object's latest, with a name and a
  // remark), and an object-name pattern that finds its object.
  const auto target = sql_->Rows(
      std::string("SELECT ") + kHandleSql +
      ", o.name, r.name, r.remark FROM revisions r JOIN objects o ON o.id = r.object_id JOIN "
      "databanks d ON d.code = o.databank_code JOIN revisions l ON l.id = (SELECT max(id) FROM "
      "revisions WHERE object_id = o.id) WHERE d.name = 'PW_OGDB' AND (o.type_code BETWEEN 100 "
      "AND 499 OR o.type_code BETWEEN 700 AND 999) AND o.sub_type_code BETWEEN 100 AND 999 AND "
      "r.id <> l.id AND coalesce(r.name,'') NOT IN ('', '  ') AND coalesce(r.remark,'') <> '' AND "
      "coalesce(l.name,'') <> r.name ORDER BY r.id LIMIT 1");
  ASSERT_EQ(target.size(), 1u);
  const std::string handle = target[0][0];
  const std::string objectName = target[0][1];
  const std::string pattern = objectName.substr(0, objectName.size() - 1) + "?";
  int row = -1;

  Script()
      // 1. The sheet opens with the List revisions page.
      .Inspect([&](ui::PropertySheet& sheet) {
        page_ = &PageOf(sheet);
        EXPECT_EQ(sheet.Caption(), "Object Revision Manager");
        EXPECT_EQ(sheet.ActivePage()->Caption(), "List revisions");
        EXPECT_TRUE(sheet.ActivePage()->IsCreated());
      })
      // 2. Plane panels, an object-name pattern, List: the rows of that object, handles kept.
      .Pick(kIdModelType, "Plane panels")
      .Type(kIdObjectName, pattern)
      .Click(kIdList)
      .Inspect([&](ui::PropertySheet& sheet) {
        const ui::ControlState list = *ui::ReadSheetState(sheet).Find(kIdListView);
        const std::int64_t revisions = sql_->Number(
            "SELECT count(*) FROM revisions r JOIN objects o ON o.id = r.object_id WHERE o.name "
            "LIKE '" +
            objectName.substr(0, objectName.size() - 1) +
            "_' AND (r.name IS NULL OR "
            "r.name <> '  ') AND o.databank_code = (SELECT databank_code FROM objects WHERE "
            "printf('%016X', id) = '" +
            handle.substr(0, 16) + "')");
        EXPECT_GE(static_cast<std::int64_t>(list.rows.size()), 2);
        EXPECT_LE(static_cast<std::int64_t>(list.rows.size()), revisions);
        for (const auto& cells : list.rows) EXPECT_EQ(cells[1], "Plane panels");
        const auto& handles = PageOf(sheet).HandleList();
        EXPECT_EQ(handles.size(), list.rows.size());
        EXPECT_NE(std::find(handles.begin(), handles.end(), handle), handles.end());
      })
      // 3. The user selects the row: its name and remark go to the edit fields.
      .SelectRowsWhere(kIdListView,
                       [&](const ui::ListView& list) {
                         const auto& handles = page_->HandleList();
                         for (int r = 0; r < list.RowCount(); ++r) {
                           if (handles.at(static_cast<std::size_t>(list.RowData(r))) == handle) {
                             row = r;
                             return std::vector<int>{r};
                           }
                         }
                         return std::vector<int>{};
                       })
      .Inspect([&](ui::PropertySheet& sheet) {
        ui::SheetState state = ui::ReadSheetState(sheet);
        EXPECT_EQ(state.Find(kIdRevisionName)->text, target[0][2]);
        EXPECT_EQ(state.Find(kIdRevisionRemark)->text, target[0][3]);
        EXPECT_TRUE(state.Find(kIdRevisionName)->enabled);
        EXPECT_TRUE(state.Find(kIdRename)->enabled);
        EXPECT_EQ(PageOf(sheet).SelectedHandle(), handle);
        EXPECT_EQ(PageOf(sheet).SelectedRow(), row);
      })
      // 4. The user edits the name and presses Rename.
      .Type(kIdRevisionName, "Road test")
      .Click(kIdRename)
      // 5. The revision information is updated in the store and the change is audited.
      .Inspect([&](ui::PropertySheet&) {
        EXPECT_EQ(sql_->Text("SELECT name || '|' || remark FROM revisions WHERE printf('%016X', "
                             "id) = '" +
                             handle.substr(16) + "'"),
                  "Road test|" + target[0][3]);
        EXPECT_EQ(sql_->Number("SELECT count(*) FROM audit WHERE action = "
                               "'UPDATE_REVISION_INFO' AND printf('%016X', revision_id) = '" +
                               handle.substr(16) + "'"),
                  1);
      })
      // 6. The row shows the new name and remark.
      .Inspect([&](ui::PropertySheet& sheet) {
        EXPECT_EQ(ListOf(sheet).RowText(row, 2), "Road test");
        EXPECT_EQ(ListOf(sheet).RowText(row, 3), target[0][3]);
      })
      .CloseWithOk();
  auto manager = NewRevManager();
  ASSERT_TRUE(manager);
  EXPECT_EQ(manager->ShowRevManagerDlg(), S_OK);
  EXPECT_THAT(driver_->Failures(), IsEmpty());
  EXPECT_THAT(Boxes(), IsEmpty());
}

}  // namespace
}  // namespace page_test
