// Start-up of the List revisions page, with access granted and refused.
#include <algorithm>
#include <regex>

#include "browser/model_type_catalogue.h"
#include "tests/browser/list_prop_fixture.h"

namespace page_test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using namespace browser;

TEST_F(PageTest, StartUpState) {
  MakeProject(200);
  Script()
      .Inspect([](ui::PropertySheet& sheet) {
        EXPECT_TRUE(ListOf(sheet).ExtendedStyle() & ui::list_view_ex::kFullRowSelect);
        EXPECT_EQ(PageOf(sheet).SortedColumn(), -1);
      })
      .CloseWithOk();
  const ui::SheetState& state = RunSheet();

  std::vector<std::string> names;
  for (const ModelTypeEntry& entry : ModelTypeCatalogue::Entries()) {
    names.emplace_back(entry.displayName);
  }
  std::sort(names.begin(), names.end());
  const ui::ControlState* modelType = state.Find(kIdModelType);
  EXPECT_THAT(modelType->entries, ElementsAreArray(names));
  EXPECT_EQ(modelType->text, "Choose models");
  EXPECT_EQ(state.Find(kIdObjectName)->text, "*");

  const ui::ControlState* list = state.Find(kIdListView);
  EXPECT_THAT(list->headings,
              ElementsAre("Objectname", "Type", "Revision name", "Remark", "Created by",
                          "Creation date", "Modified by", "Modified date"));
  EXPECT_TRUE(list->rows.empty());

  const std::regex dateText(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)");
  for (int id : {kIdCreatedAfter, kIdCreatedBefore}) {
    const ui::ControlState* date = state.Find(id);
    ASSERT_EQ(date->entries.size(), 1u) << id;
    EXPECT_TRUE(std::regex_match(date->entries[0], dateText)) << date->entries[0];
    EXPECT_EQ(date->text, "") << id;
  }
  EXPECT_EQ(state.Find(kIdKeepCount)->text, "1");

  std::map<int, bool> enabled;
  for (int id : kIdsOfAllControls) enabled[id] = state.Find(id)->enabled;
  const std::map<int, bool> expected = {
      {216, false}, {209, true},  {219, true}, {220, true},  {201, true},  {204, true}, {205, true},
      {214, false}, {215, false}, {213, true}, {234, false}, {236, false}, {235, false}};
  EXPECT_EQ(enabled, expected);
  EXPECT_EQ(state.focusedControl, kIdModelType);
  EXPECT_THAT(Boxes(), ::testing::IsEmpty());
}

TEST_F(PageTest, ColumnsAreLeftAlignedWithTheirWidths) {
  MakeProject(0);
  Script()
      .Inspect([](ui::PropertySheet& sheet) {
        const ui::ListView& list = ListOf(sheet);
        const int widths[] = {150, 150, 115, 115, 80, 135, 80, 135};
        ASSERT_EQ(list.ColumnCount(), 8);
        for (int c = 0; c < 8; ++c) {
          EXPECT_EQ(list.GetColumn(c).width, widths[c]) << c;
          EXPECT_EQ(list.GetColumn(c).alignment, ui::Alignment::Left) << c;
        }
      })
      .CloseWithOk();
  RunSheet();
}

TEST_F(PageTest, RefusedAccessDisablesAllThirteenControls) {
  MakeProject(50, /*granted=*/false);
  Script().CloseWithOk();
  const ui::SheetState& state = RunSheet();
  for (int id : kIdsOfAllControls) EXPECT_FALSE(state.Find(id)->enabled) << id;
  // Labels and frames are left alone; the texts are set up as usual.
  for (const ui::ControlState& control : state.controls) {
    if (control.id == -1) {
      EXPECT_TRUE(control.enabled) << control.text;
    }
  }
  EXPECT_EQ(state.Find(kIdModelType)->text, "Choose models");
  EXPECT_EQ(state.focusedControl, ui::kIdStatic);  // nothing can take the focus
}

}  // namespace
}  // namespace page_test
