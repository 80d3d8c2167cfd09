// The page's actions on a real project: rename, delete selected (with failing rows), the keep
// check box and delete listed.
#include <set>

#include "browser/list_page_actions.h"
#include "tests/browser/list_prop_fixture.h"

namespace page_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using namespace browser;
using os::MessageBoxAnswer;

constexpr char kPlanePanels[] = "Plane panels";
const std::string kAskDeleteSelectedText = kAskDeleteSelected;
const std::string kAskDeleteListedText = kAskDeleteListed;

class ActionsTest : public PageTest {
 protected:
  void SetUp() override {
    PageTest::SetUp();
    MakeProject(1500);
  }

  // Handles of every object's latest revision.
  std::set<std::string> LatestHandles() {
    std::set<std::string> handles;
    for (auto& row : sql_->Rows(std::string("SELECT ") + kHandleSql +
                                " FROM revisions r JOIN objects o ON o.id = r.object_id WHERE r.id "
                                "= (SELECT max(id) FROM revisions WHERE object_id = o.id)")) {
      handles.insert(row[0]);
    }
    return handles;
  }
  // Handles of revisions a rename may change: not the latest, with a name that differs from the
  // latest's, and a name and a remark to show.
  std::set<std::string> RenameableHandles() {
    std::set<std::string> handles;
    for (auto& row : sql_->Rows(
             std::string("SELECT ") + kHandleSql +
             " FROM revisions r JOIN objects o ON o.id = r.object_id JOIN revisions l ON l.id = "
             "(SELECT max(id) FROM revisions WHERE object_id = o.id) WHERE r.id <> l.id AND "
             "coalesce(r.name,'') <> '' AND coalesce(r.remark,'') <> '' AND r.name <> '  ' AND "
             "coalesce(l.name,'') <> r.name")) {
      handles.insert(row[0]);
    }
    return handles;
  }
  bool RevisionExists(const std::string& handle) {
    return sql_->Number("SELECT count(*) FROM revisions WHERE printf('%016X', id) = '" +
                        handle.substr(16) + "'") == 1;
  }

  // Picks, from what the list shows, rows whose handles satisfy the predicates in order.
  ui::HeadlessScript::RowChooser Choose(std::vector<std::function<bool(const std::string&)>> wants,
                                        std::vector<std::string>* chosen) {
    return [this, wants, chosen](const ui::ListView& list) {
      const auto& handles = page_->HandleList();
      std::vector<int> rows;
      std::size_t next = 0;
      for (int r = 0; r < list.RowCount() && next < wants.size(); ++r) {
        const std::string& handle = handles.at(static_cast<std::size_t>(list.RowData(r)));
        if (wants[next](handle)) {
          rows.push_back(r);
          chosen->push_back(handle);
          ++next;
        }
      }
      EXPECT_EQ(next, wants.size()) << "not enough rows to choose from";
      return rows;
    };
  }
  ui::HeadlessScript& ListPlanePanels() {
    return Script()
        .Inspect([this](ui::PropertySheet& sheet) { page_ = &PageOf(sheet); })
        .Pick(kIdModelType, kPlanePanels)
        .Click(kIdList);
  }

  ListProp* page_ = nullptr;
};

TEST_F(ActionsTest, RenameWritesTheNewNameAndRemarkIntoTheRowAndTheStore) {
  const auto renameable = RenameableHandles();
  std::vector<std::string> chosen;
  int row = -1;
  ListPlanePanels()
      .SelectRowsWhere(
          kIdListView,
          Choose({[&](const std::string& h) { return renameable.count(h) > 0; }}, &chosen))
      .Inspect([&](ui::PropertySheet& s) { row = PageOf(s).SelectedRow(); })
      .Type(kIdRevisionName, "NEW NAME")
      .Type(kIdRevisionRemark, "new remark")
      .Click(kIdRename)
      .Inspect([&](ui::PropertySheet& s) {
        EXPECT_EQ(ListOf(s).RowText(row, 2), "NEW NAME");
        EXPECT_EQ(ListOf(s).RowText(row, 3), "new remark");
      })
      .CloseWithOk();
  RunSheet();
  ASSERT_EQ(chosen.size(), 1u);
  EXPECT_EQ(sql_->Text("SELECT name || '|' || remark FROM revisions WHERE printf('%016X', id) = '" +
                       chosen[0].substr(16) + "'"),
            "NEW NAME|new remark");
  EXPECT_THAT(Boxes(), IsEmpty());
}

TEST_F(ActionsTest, RenameWithAnEmptyNameChangesOnlyTheRemarkColumn) {
  const auto renameable = RenameableHandles();
  std::vector<std::string> chosen;
  std::string nameBefore;
  int row = -1;
  ListPlanePanels()
      .SelectRowsWhere(
          kIdListView,
          Choose({[&](const std::string& h) { return renameable.count(h) > 0; }}, &chosen))
      .Inspect([&](ui::PropertySheet& s) {
        row = PageOf(s).SelectedRow();
        nameBefore = std::string(ListOf(s).RowText(row, 2));
      })
      .Type(kIdRevisionName, "")
      .Type(kIdRevisionRemark, "only the remark")
      .Click(kIdRename)
      .Inspect([&](ui::PropertySheet& s) {
        EXPECT_EQ(ListOf(s).RowText(row, 2), nameBefore);
        EXPECT_EQ(ListOf(s).RowText(row, 3), "only the remark");
      })
      .CloseWithOk();
  RunSheet();
}

TEST_F(ActionsTest, RenameOfTheLatestRevisionIsRefusedAndTheRowStays) {
  const auto latest = LatestHandles();
  std::vector<std::string> chosen;
  ui::SheetState before;
  ListPlanePanels()
      .SelectRowsWhere(kIdListView,
                       Choose({[&](const std::string& h) { return latest.count(h) > 0; }}, &chosen))
      .Inspect([&](ui::PropertySheet& s) { before = ui::ReadSheetState(s); })
      .Answer(MessageBoxAnswer::Ok)
      .Click(kIdRename)
      .CloseWithOk();
  const ui::SheetState& after = RunSheet();
  EXPECT_THAT(Boxes(), ElementsAre("You must not alter latest revision"));
  EXPECT_EQ(after.Find(kIdListView)->rows, before.Find(kIdListView)->rows);
}

TEST_F(ActionsTest, DeleteSelectedRemovesTheDeletedRowsAndKeepsAFailingOne) {
  const auto latest = LatestHandles();
  auto notLatest = [&](const std::string& h) { return latest.count(h) == 0; };
  auto isLatest = [&](const std::string& h) { return latest.count(h) > 0; };
  std::vector<std::string> chosen;
  std::size_t rowsBefore = 0;
  ListPlanePanels()
      .Inspect([&](ui::PropertySheet& s) { rowsBefore = ListOf(s).RowCount(); })
      .SelectRowsWhere(kIdListView, Choose({notLatest, isLatest, notLatest}, &chosen))
      .Answer(MessageBoxAnswer::Yes)
      .Answer(MessageBoxAnswer::Ok)
      .Click(kIdDeleteSelected)
      .Inspect([&](ui::PropertySheet& s) {
        EXPECT_EQ(PageOf(s).DeletedRows().size(), 2u);
        // What stays listed: the failing row, and every row still names its own handle.
        std::set<std::string> listed;
        for (int r = 0; r < ListOf(s).RowCount(); ++r) {
          listed.insert(PageOf(s).HandleList().at(static_cast<std::size_t>(ListOf(s).RowData(r))));
        }
        EXPECT_EQ(listed.count(chosen[0]) + listed.count(chosen[2]), 0u);
        EXPECT_EQ(listed.count(chosen[1]), 1u);
        EXPECT_EQ(PageOf(s).HandleList().size(), rowsBefore) << "the handle list is not shortened";
      })
      .CloseWithOk();
  const ui::SheetState& state = RunSheet();
  EXPECT_THAT(Boxes(), ElementsAre(kAskDeleteSelectedText, "Unable to delete..."));
  const ui::ControlState* list = state.Find(kIdListView);
  EXPECT_EQ(list->rows.size(), rowsBefore - 2);
  ASSERT_EQ(chosen.size(), 3u);
  EXPECT_FALSE(RevisionExists(chosen[0]));
  EXPECT_TRUE(RevisionExists(chosen[1]));
  EXPECT_FALSE(RevisionExists(chosen[2]));
}

TEST_F(ActionsTest, WhenTheFirstSelectedRowFailsTheMessageNamesItsObjectAndRevision) {
  const auto latest = LatestHandles();
  std::vector<std::string> chosen;
  std::string object, revision;
  ListPlanePanels()
      .SelectRowsWhere(kIdListView,
                       Choose({[&](const std::string& h) { return latest.count(h) > 0; },
                               [&](const std::string& h) { return latest.count(h) == 0; }},
                              &chosen))
      .Inspect([&](ui::PropertySheet& s) {
        const int first = ListOf(s).NextSelected(-1);
        object = std::string(ListOf(s).RowText(first, 0));
        revision = std::string(ListOf(s).RowText(first, 2));
      })
      .Answer(MessageBoxAnswer::Yes)
      .Answer(MessageBoxAnswer::Ok)
      .Click(kIdDeleteSelected)
      .CloseWithOk();
  RunSheet();
  EXPECT_THAT(Boxes(), ElementsAre(kAskDeleteSelectedText,
                                   "Unable to delete: " + object + ", Revision name: " + revision));
  EXPECT_FALSE(RevisionExists(chosen[1]));
}

TEST_F(ActionsTest, DeleteSelectedAnsweredNoDeletesNothing) {
  std::vector<std::string> chosen;
  ListPlanePanels()
      .SelectRowsWhere(kIdListView, Choose({[](const std::string&) { return true; }}, &chosen))
      .Answer(MessageBoxAnswer::No)
      .Click(kIdDeleteSelected)
      .CloseWithOk();
  const auto count = sql_->Number("SELECT count(*) FROM revisions");
  RunSheet();
  EXPECT_EQ(sql_->Number("SELECT count(*) FROM revisions"), count);
}

TEST_F(ActionsTest, DeleteSelectedOnTheNoItemsRowTriesTheHandleNoItems) {
  Script()
      .Type(kIdObjectName, "NOTHING-LIKE-THIS")
      .Click(kIdList)
      .SelectRows(kIdListView, {0})
      .Answer(MessageBoxAnswer::Yes)
      .Answer(MessageBoxAnswer::Ok)
      .Click(kIdDeleteSelected)
      .CloseWithOk();
  const ui::SheetState& state = RunSheet();
  EXPECT_THAT(Boxes(), ElementsAre(kAskDeleteSelectedText,
                                   "Unable to delete: No items found, Revision name: "));
  EXPECT_EQ(state.Find(kIdListView)->rows.size(), 1u);
}

TEST_F(ActionsTest, KeepCheckBoxArmsAndDisarmsDeleteListed) {
  Script()
      .Click(kIdList)
      .Click(kIdKeepCheck)
      .Inspect([](ui::PropertySheet& s) {
        ui::SheetState state = ui::ReadSheetState(s);
        EXPECT_TRUE(state.Find(kIdKeepCount)->enabled);
        EXPECT_TRUE(state.Find(kIdDeleteListed)->enabled);
      })
      .Click(kIdKeepCheck)
      .CloseWithOk();
  const ui::SheetState& state = RunSheet();
  EXPECT_FALSE(state.Find(kIdKeepCount)->enabled);
  EXPECT_FALSE(state.Find(kIdDeleteListed)->enabled);
}

TEST_F(ActionsTest, KeepingFewerThanOneIsRefused) {
  const auto count = sql_->Number("SELECT count(*) FROM revisions");
  ui::HeadlessScript& script = ListPlanePanels().Tick(kIdKeepCheck, true);
  for (const char* keep : {"0", "-2", "abc", "", " +0"}) {
    script.Type(kIdKeepCount, keep).Answer(MessageBoxAnswer::Ok).Click(kIdDeleteListed);
  }
  script.CloseWithOk();
  RunSheet();
  EXPECT_THAT(Boxes(), ::testing::Each(std::string("Must keep latest revision")));
  EXPECT_EQ(Boxes().size(), 5u);
  EXPECT_EQ(sql_->Number("SELECT count(*) FROM revisions"), count);
}

TEST_F(ActionsTest, DeleteListedKeepsTheNewestRevisionsOfEveryListedObject) {
  // Revisions per object and each object's latest revision, before.
  struct ObjectState {
    std::int64_t count;
    std::string latest;
  };
  std::map<std::string, ObjectState> before;
  for (auto& r : sql_->Rows("SELECT printf('%016X', object_id), count(*), printf('%016X', "
                            "max(id)) FROM revisions GROUP BY object_id")) {
    before[r[0]] = {std::stoll(r[1]), r[2]};
  }
  std::set<std::string> listedObjects;
  ListPlanePanels()
      .Inspect([&](ui::PropertySheet& s) {
        for (const std::string& handle : PageOf(s).HandleList()) {
          listedObjects.insert(handle.substr(0, 16));
        }
      })
      .Tick(kIdKeepCheck, true)
      .Type(kIdKeepCount, "2")
      .Answer(MessageBoxAnswer::Yes)
      .Click(kIdDeleteListed)
      .CloseWithOk();
  const ui::SheetState& state = RunSheet();
  EXPECT_THAT(Boxes(), ElementsAre(kAskDeleteListedText));
  ASSERT_GT(listedObjects.size(), 10u);
  int reduced = 0;
  for (const auto& [object, old] : before) {
    const std::int64_t now = sql_->Number(
        "SELECT count(*) FROM revisions WHERE printf('%016X', object_id) = '" + object + "'");
    const std::string latest = sql_->Text(
        "SELECT printf('%016X', max(id)) FROM revisions WHERE printf('%016X', object_id) = '" +
        object + "'");
    if (listedObjects.count(object)) {
      EXPECT_EQ(now, std::min<std::int64_t>(old.count, 2)) << object;
      EXPECT_EQ(latest, old.latest) << object;
      if (old.count > 2) ++reduced;
    } else {
      EXPECT_EQ(now, old.count) << "not listed: " << object;
    }
  }
  EXPECT_GT(reduced, 0);
  // The list was made again: it shows what the store holds now.
  const std::int64_t listedNow = sql_->Number(
      "SELECT count(*) FROM revisions r JOIN objects o ON o.id = r.object_id JOIN databanks d ON "
      "d.code = o.databank_code WHERE (r.name IS NULL OR r.name <> '  ') AND d.name = 'PW_OGDB' "
      "AND (o.type_code BETWEEN 100 AND 499 OR o.type_code BETWEEN 700 AND 999) AND "
      "o.sub_type_code BETWEEN 100 AND 999");
  EXPECT_EQ(static_cast<std::int64_t>(state.Find(kIdListView)->rows.size()), listedNow);
}

TEST_F(ActionsTest, DeleteListedOnTheNoItemsRowDeletesNothing) {
  const auto count = sql_->Number("SELECT count(*) FROM revisions");
  Script()
      .Type(kIdObjectName, "NOTHING-LIKE-THIS")
      .Click(kIdList)
      .Tick(kIdKeepCheck, true)
      .Answer(MessageBoxAnswer::Yes)
      .Click(kIdDeleteListed)
      .CloseWithOk();
  RunSheet();
  EXPECT_EQ(sql_->Number("SELECT count(*) FROM revisions"), count);
}

}  // namespace
}  // namespace page_test
