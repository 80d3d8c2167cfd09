#include "platform/ui/list_view.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ::testing::ElementsAre;

// Records what the list view tells its owner.
class RecordingHost : public ui::ControlHost {
 public:
  void OnControlCommand(int controlId, int code) override { commands.push_back({controlId, code}); }
  ui::LResult OnControlNotify(const ui::NotifyHeader& notification) override {
    notifications.push_back(static_cast<const ui::ListViewNotification&>(notification));
    return 0;
  }
  std::vector<std::pair<int, int>> commands;
  std::vector<ui::ListViewNotification> notifications;
};

class ListViewTest : public ::testing::Test {
 protected:
  ListViewTest() : list_(Template(), &host_) {
    list_.InsertColumn(0, "Name", 100);
    list_.InsertColumn(1, "Remark", 80, ui::Alignment::Right);
  }
  static ui::ControlTemplate Template() {
    ui::ControlTemplate t;
    t.id = 204;
    t.kind = ui::ControlKind::ListView;
    t.text = "List1";
    t.style = ui::style::kReport | ui::style::kShowSelAlways;
    return t;
  }
  // Inserts rows "r0".."r<n-1>" in this order at the end, item data = index.
  void Fill(int n) {
    for (int i = 0; i < n; ++i) {
      int row = list_.InsertRow(list_.RowCount(), "r" + std::to_string(i));
      list_.SetRowText(row, 1, "m" + std::to_string(i));
      list_.SetRowData(row, i);
    }
  }
  std::vector<std::string> Column0() const {
    std::vector<std::string> texts;
    for (int r = 0; r < list_.RowCount(); ++r) texts.emplace_back(list_.RowText(r, 0));
    return texts;
  }

  RecordingHost host_;
  ui::ListView list_;
};

TEST_F(ListViewTest, ColumnsKeepHeadingWidthAndAlignment) {
  ASSERT_EQ(list_.ColumnCount(), 2);
  EXPECT_EQ(list_.GetColumn(0).heading, "Name");
  EXPECT_EQ(list_.GetColumn(1).width, 80);
  EXPECT_EQ(list_.GetColumn(1).alignment, ui::Alignment::Right);
  EXPECT_EQ(list_.InsertColumn(99, "Last", 10), 2);
}

TEST_F(ListViewTest, RowsInsertedAtTheTopShowInReverseWithTheirTextsAndData) {
  for (int i = 0; i < 3; ++i) {
    list_.InsertRow(0, std::string(1, static_cast<char>('A' + i)));
    list_.SetRowData(0, i);
  }
  EXPECT_THAT(Column0(), ElementsAre("C", "B", "A"));
  EXPECT_EQ(list_.RowData(0), 2);
  EXPECT_EQ(list_.RowData(2), 0);
  // A column never set reads empty; a later column can be set before an earlier one.
  EXPECT_EQ(list_.RowText(0, 1), "");
  EXPECT_TRUE(list_.SetRowText(0, 3, "fourth"));
  EXPECT_EQ(list_.RowText(0, 3), "fourth");
  EXPECT_EQ(list_.RowText(0, 2), "");
  EXPECT_TRUE(list_.SetRowText(0, 1, "second"));
  EXPECT_EQ(list_.RowText(0, 1), "second");
  EXPECT_EQ(list_.RowText(0, 3), "fourth");
  EXPECT_EQ(list_.RowText(0, 0), "C");
  // Out of range reads empty and writes fail.
  EXPECT_EQ(list_.RowText(3, 0), "");
  EXPECT_FALSE(list_.SetRowText(-1, 0, "x"));
  EXPECT_EQ(list_.InsertRow(100, "end"), 3);
}

TEST_F(ListViewTest, DeletingRowsKeepsTheOthersAndReusesSlots) {
  Fill(5);
  EXPECT_TRUE(list_.DeleteRow(3));
  EXPECT_TRUE(list_.DeleteRow(1));
  EXPECT_FALSE(list_.DeleteRow(3));
  EXPECT_THAT(Column0(), ElementsAre("r0", "r2", "r4"));
  EXPECT_EQ(list_.RowData(2), 4);
  list_.InsertRow(1, "new");
  EXPECT_THAT(Column0(), ElementsAre("r0", "new", "r2", "r4"));
  EXPECT_EQ(list_.RowText(1, 1), "");  // a reused slot carries nothing over
  EXPECT_EQ(list_.RowData(1), 0);
  list_.DeleteAllRows();
  EXPECT_EQ(list_.RowCount(), 0);
  EXPECT_TRUE(host_.notifications.empty());
}

TEST_F(ListViewTest, StateChangesAreReportedWithOldAndNewState) {
  Fill(3);
  list_.SetRowState(1, ui::kItemSelected, ui::kItemSelected);
  list_.SetRowState(1, ui::kItemSelected, ui::kItemSelected);  // no change, no report
  list_.SetRowState(1, 0, ui::kItemSelected);
  ASSERT_EQ(host_.notifications.size(), 2u);
  const auto& first = host_.notifications[0];
  EXPECT_EQ(first.controlId, 204);
  EXPECT_EQ(first.code, ui::kListViewItemChanged);
  EXPECT_EQ(first.item, 1);
  EXPECT_EQ(first.oldState, 0u);
  EXPECT_EQ(first.newState, ui::kItemSelected);
  EXPECT_EQ(first.param, 1);
  EXPECT_EQ(host_.notifications[1].oldState, ui::kItemSelected);
  EXPECT_EQ(host_.notifications[1].newState, 0u);
}

TEST_F(ListViewTest, FocusingARowTakesTheFocusFromTheOther) {
  Fill(3);
  list_.SetRowState(0, ui::kItemFocused, ui::kItemFocused);
  list_.SetRowState(2, ui::kItemFocused, ui::kItemFocused);
  EXPECT_EQ(list_.RowState(0), 0u);
  EXPECT_EQ(list_.RowState(2), ui::kItemFocused);
}

TEST_F(ListViewTest, SwapExchangesEverythingAndReportsBothRowsFirstThenSecond) {
  Fill(3);
  list_.SetRowImage(0, 7);
  list_.SetRowState(2, ui::kItemSelected | ui::kItemFocused, ~0u);
  host_.notifications.clear();
  ASSERT_TRUE(list_.SwapRows(0, 2));
  EXPECT_THAT(Column0(), ElementsAre("r2", "r1", "r0"));
  EXPECT_EQ(list_.RowText(0, 1), "m2");
  EXPECT_EQ(list_.RowText(2, 1), "m0");
  EXPECT_EQ(list_.RowData(0), 2);
  EXPECT_EQ(list_.RowData(2), 0);
  EXPECT_EQ(list_.RowImage(2), 7);
  EXPECT_EQ(list_.RowState(0), ui::kItemSelected | ui::kItemFocused);
  EXPECT_EQ(list_.RowState(2), 0u);
  ASSERT_EQ(host_.notifications.size(), 2u);
  EXPECT_EQ(host_.notifications[0].item, 0);
  EXPECT_EQ(host_.notifications[0].oldState, 0u);
  EXPECT_EQ(host_.notifications[0].newState, ui::kItemSelected | ui::kItemFocused);
  EXPECT_EQ(host_.notifications[0].param, 2);
  EXPECT_EQ(host_.notifications[1].item, 2);
  EXPECT_EQ(host_.notifications[1].oldState, ui::kItemSelected | ui::kItemFocused);
  EXPECT_EQ(host_.notifications[1].newState, 0u);
  EXPECT_FALSE(list_.SwapRows(0, 3));
}

TEST_F(ListViewTest, UserSelectionLeavesExactlyTheRowsSelectedAndTheLastFocused) {
  Fill(8);
  int rows1[] = {1, 4};
  list_.UserSelect(rows1);
  host_.notifications.clear();
  int rows2[] = {2, 5, 7};
  list_.UserSelect(rows2);
  EXPECT_THAT(list_.SelectedRows(), ElementsAre(2, 5, 7));
  EXPECT_EQ(list_.SelectedCount(), 3);
  EXPECT_EQ(list_.RowState(7), ui::kItemSelected | ui::kItemFocused);
  EXPECT_EQ(list_.RowState(4), 0u);
  std::vector<std::pair<int, bool>> reported;  // row, selected afterwards
  for (const auto& n : host_.notifications) {
    reported.push_back({n.item, (n.newState & ui::kItemSelected) != 0});
  }
  EXPECT_THAT(reported, ElementsAre(std::pair{1, false}, std::pair{4, false}, std::pair{2, true},
                                    std::pair{5, true}, std::pair{7, true}));
  EXPECT_EQ(list_.NextSelected(2), 5);
  EXPECT_EQ(list_.NextSelected(7), -1);
}

TEST_F(ListViewTest, HeadingClickIsReportedWithItsColumn) {
  list_.UserClickHeading(1);
  ASSERT_EQ(host_.notifications.size(), 1u);
  EXPECT_EQ(host_.notifications[0].code, ui::kListViewColumnClick);
  EXPECT_EQ(host_.notifications[0].subItem, 1);
  EXPECT_EQ(host_.notifications[0].item, -1);
}

TEST_F(ListViewTest, TextsStopAtAnEmbeddedNul) {
  Fill(1);
  list_.SetRowText(0, 0, std::string_view("ab\0cd", 5));
  EXPECT_EQ(list_.RowText(0, 0), "ab");
  EXPECT_EQ(list_.RowText(0, 1), "m0");
}

}  // namespace
