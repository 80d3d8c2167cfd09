#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/ui/app_message_box.h"
#include "platform/ui/headless_driver.h"
#include "platform/ui/module_state.h"
#include "platform/ui/property_sheet.h"

namespace {

using os::MessageBoxAnswer;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr int kPageTemplate = 900;
constexpr int kEdit = 11;
constexpr int kAdd = 12;
constexpr int kArm = 13;
constexpr int kList = 14;

std::shared_ptr<ui::DialogTemplate> PageTemplate() {
  auto t = std::make_shared<ui::DialogTemplate>();
  t->id = kPageTemplate;
  t->caption = "Things";
  t->width = 200;
  t->height = 100;
  t->fontName = "MS Sans Serif";
  t->fontPointSize = 8;
  t->style = ui::style::kChild | ui::style::kCaption;
  auto add = [&](int id, ui::ControlKind kind, std::string text, std::uint32_t style) {
    t->controls.push_back({id, kind, std::move(text), {1, 2, 3, 4}, style});
  };
  add(-1, ui::ControlKind::StaticText, "Label", 0);
  add(kEdit, ui::ControlKind::Edit, "", ui::style::kTabStop | ui::style::kBorder);
  add(kAdd, ui::ControlKind::PushButton, "&Add", ui::style::kTabStop);
  add(kArm, ui::ControlKind::AutoCheckBox, "Arm", ui::style::kTabStop);
  add(kList, ui::ControlKind::ListView, "List1", ui::style::kTabStop | ui::style::kReport);
  return t;
}

// A page that adds the edit text as a row when the user confirms.
class ThingsPage : public ui::PropertyPage {
 public:
  explicit ThingsPage(bool focusFirst = true)
      : PropertyPage(kPageTemplate), focusFirst_(focusFirst) {
    Map().OnClicked(kAdd, [this] { OnAdd(); });
    Map().OnClicked(kArm, [this] {
      ItemAs<ui::Control>(kAdd)->Enable(ItemAs<ui::CheckBox>(kArm)->IsChecked());
    });
    Map().OnListView(kList, ui::kListViewItemChanged, [this](const ui::ListViewNotification& n) {
      if (n.newState & ui::kItemSelected) ItemAs<ui::Edit>(kEdit)->SetText("picked");
      return ui::LResult{0};
    });
  }
  bool OnInitDialog() override {
    ++inits;
    ItemAs<ui::ListView>(kList)->InsertColumn(0, "Thing", 100);
    ItemAs<ui::Control>(kAdd)->Enable(false);
    return focusFirst_;
  }
  int inits = 0;

 private:
  void OnAdd() {
    if (ui::AppMessageBox("Add it?", os::MessageBoxButtons::YesNo) != MessageBoxAnswer::Yes) return;
    auto* list = ItemAs<ui::ListView>(kList);
    list->InsertRow(0, ItemAs<ui::Edit>(kEdit)->Text());
  }
  bool focusFirst_;
};

class ThingsSheet : public ui::PropertySheet {
 public:
  explicit ThingsSheet(bool focusFirst = true)
      : PropertySheet("Sheet of things", nullptr, 0), page(focusFirst) {
    Header().flags |= ui::kSheetNoApplyNow;
    Header().flags &= ~ui::kSheetHasHelp;
    AddPage(&page);
    Map().OnMessage(ui::Message::QueryDragIcon,
                    [this](ui::WParam, ui::LParam) { return reinterpret_cast<ui::LResult>(icon); });
    Map().OnMessage(ui::Message::SysCommand, [this](ui::WParam command, ui::LParam lParam) {
      return DefaultSysCommand(command, lParam);
    });
  }
  bool OnInitDialog() override {
    SendMessage(ui::Message::SetIcon, ui::kIconSmall, reinterpret_cast<ui::LParam>(icon));
    return PropertySheet::OnInitDialog();
  }
  ThingsPage page;
  ui::IconHandle icon = &page;
};

class SheetTest : public ::testing::Test {
 protected:
  SheetTest() : module_("Things module"), scoped_(module_), installed_(driver_) {
    module_.AddDialogTemplate(kPageTemplate, PageTemplate());
  }
  ui::ModuleState module_;
  ui::ScopedModuleState scoped_;
  std::shared_ptr<ui::HeadlessDriver> driver_ = std::make_shared<ui::HeadlessDriver>();
  ui::HeadlessDriver::Installed installed_;
};

TEST_F(SheetTest, HeaderFlagsDecideTheButtons) {
  ThingsSheet sheet;
  EXPECT_THAT(sheet.Buttons(), ElementsAre(ui::kIdOk, ui::kIdCancel));
  ui::PropertySheet plain("Plain", nullptr, 0);
  EXPECT_THAT(plain.Buttons(), ElementsAre(ui::kIdOk, ui::kIdCancel, ui::kIdApplyNow, ui::kIdHelp));
  EXPECT_THAT(sheet.TabLabels(), ElementsAre("Things"));
  EXPECT_EQ(sheet.PageSize().width, 200);
}

struct CloseCase {
  const char* name;
  void (*close)(ui::HeadlessScript&);
  int result;
};

class SheetCloseTest : public SheetTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(SheetCloseTest, EachWayOfClosingEndsTheRunWithItsResult) {
  ThingsSheet sheet;
  GetParam().close(driver_->NextRun());
  EXPECT_EQ(sheet.DoModal(), GetParam().result);
  EXPECT_TRUE(driver_->Failures().empty()) << driver_->Failures().front();
  EXPECT_EQ(sheet.page.inits, 1);
  EXPECT_FALSE(sheet.page.IsCreated());  // the windows are gone after the run
  ASSERT_EQ(driver_->Runs().size(), 1u);
  EXPECT_EQ(driver_->Runs()[0].result, GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, SheetCloseTest,
    ::testing::Values(
        CloseCase{"Ok", [](ui::HeadlessScript& s) { s.CloseWithOk(); }, ui::kIdOk},
        CloseCase{"Cancel", [](ui::HeadlessScript& s) { s.CloseWithCancel(); }, ui::kIdCancel},
        CloseCase{"CloseBox", [](ui::HeadlessScript& s) { s.CloseWithCloseBox(); }, ui::kIdCancel}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SheetTest, ScriptDrivesThePageAndReadsItsControlsBack) {
  ThingsSheet sheet;
  int inspected = 0;
  driver_->NextRun()
      .Inspect([&](ui::PropertySheet& s) {
        ++inspected;
        ui::SheetState state = ui::ReadSheetState(s);
        EXPECT_EQ(state.focusedControl, kEdit);
        EXPECT_FALSE(state.Find(kAdd)->enabled);
        EXPECT_EQ(s.Icon(ui::kIconSmall), &sheet.page);
        EXPECT_EQ(s.SendMessage(ui::Message::QueryDragIcon, 0, 0),
                  reinterpret_cast<ui::LResult>(&sheet.page));
      })
      .Type(kEdit, "first")
      .Tick(kArm, true)
      .Answer(MessageBoxAnswer::Yes)
      .Click(kAdd)
      .Type(kEdit, "second")
      .Answer(MessageBoxAnswer::No)
      .Click(kAdd)
      .SelectRows(kList, {0})
      .CloseWithOk();
  EXPECT_EQ(sheet.DoModal(), ui::kIdOk);
  EXPECT_TRUE(driver_->Failures().empty()) << driver_->Failures().front();
  EXPECT_EQ(inspected, 1);
  const ui::SheetState& end = driver_->Runs().at(0);
  EXPECT_EQ(end.caption, "Sheet of things");
  const ui::ControlState* list = end.Find(kList);
  ASSERT_NE(list, nullptr);
  EXPECT_THAT(list->headings, ElementsAre("Thing"));
  ASSERT_EQ(list->rows.size(), 1u);
  EXPECT_EQ(list->rows[0][0], "first");
  EXPECT_EQ(list->rowStates[0], ui::kItemSelected | ui::kItemFocused);
  EXPECT_EQ(end.Find(kEdit)->text, "picked");
  EXPECT_TRUE(end.Find(kArm)->checked);
  EXPECT_TRUE(end.Find(kAdd)->enabled);
  // Both boxes carried the module's name as caption.
  const auto& boxes = driver_->MessageBoxes().Shown();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].caption, "Things module");
  EXPECT_EQ(boxes[1].text, "Add it?");
}

TEST_F(SheetTest, InitialisationReturningFalseLeavesTheFocusAlone) {
  ThingsSheet sheet(false);
  driver_->NextRun().CloseWithOk();
  sheet.DoModal();
  EXPECT_EQ(driver_->Runs().at(0).focusedControl, ui::kIdStatic);
}

TEST_F(SheetTest, StepsThatCannotBeDoneAreFailuresAndCancelTheSheet) {
  ThingsSheet sheet;
  driver_->NextRun().Click(kAdd).Type(kEdit, "never").CloseWithOk();
  EXPECT_EQ(sheet.DoModal(), ui::kIdCancel);
  ASSERT_EQ(driver_->Failures().size(), 1u);
  EXPECT_THAT(driver_->Failures()[0], HasSubstr("click 12: the control is disabled"));
  EXPECT_EQ(driver_->Runs().at(0).Find(kEdit)->text, "");
}

TEST_F(SheetTest, UnansweredBoxesUnusedAnswersAndOpenEndsAreFailures) {
  {
    ThingsSheet sheet;
    driver_->NextRun().Tick(kArm, true).Click(kAdd).CloseWithOk();
    EXPECT_EQ(sheet.DoModal(), ui::kIdOk);
  }
  {
    ThingsSheet sheet;
    driver_->NextRun().Answer(MessageBoxAnswer::Yes).Type(kEdit, "x");
    EXPECT_EQ(sheet.DoModal(), ui::kIdCancel);
  }
  ASSERT_EQ(driver_->Failures().size(), 3u);
  EXPECT_THAT(driver_->Failures()[0], HasSubstr("message box nobody answered: \"Add it?\""));
  EXPECT_THAT(driver_->Failures()[1], HasSubstr("ended with the sheet \"Sheet of things\" open"));
  EXPECT_THAT(driver_->Failures()[2], HasSubstr("1 message box answers were never used"));
}

TEST_F(SheetTest, StepsAfterTheCloseAndARunWithoutScriptAreFailures) {
  ThingsSheet first;
  driver_->NextRun().CloseWithCancel().Click(kAdd);
  first.DoModal();
  ThingsSheet second;
  EXPECT_EQ(second.DoModal(), ui::kIdCancel);
  ASSERT_EQ(driver_->Failures().size(), 2u);
  EXPECT_THAT(driver_->Failures()[0], HasSubstr("1 steps left after the sheet closed"));
  EXPECT_THAT(driver_->Failures()[1], HasSubstr("no script"));
  EXPECT_EQ(second.page.inits, 0);
}

TEST_F(SheetTest, TwoRunsGetTwoFreshPages) {
  for (int run = 0; run < 2; ++run) {
    ThingsSheet sheet;
    driver_->NextRun()
        .Inspect([](ui::PropertySheet& s) {
          EXPECT_EQ(ui::ReadSheetState(s).Find(kList)->rows.size(), 0u);
        })
        .Tick(kArm, true)
        .Answer(MessageBoxAnswer::Yes)
        .Click(kAdd)
        .CloseWithOk();
    sheet.DoModal();
  }
  EXPECT_TRUE(driver_->Failures().empty());
  EXPECT_EQ(driver_->Runs().at(1).Find(kList)->rows.size(), 1u);
}

TEST(SheetWithoutTemplate, CannotBeShown) {
  auto driver = std::make_shared<ui::HeadlessDriver>();
  ui::HeadlessDriver::Installed installed(driver);
  ui::ModuleState empty("Empty");
  ui::ScopedModuleState scoped(empty);
  ThingsSheet sheet;
  driver->NextRun().CloseWithOk();
  EXPECT_EQ(sheet.DoModal(), -1);
  ASSERT_EQ(driver->Failures().size(), 1u);
  EXPECT_THAT(driver->Failures()[0], HasSubstr("could not be shown"));
}

TEST(ModuleStateTest, ScopedStateIsRestoredAndTemplatesAreFoundById) {
  std::string before = ui::CurrentModuleState().AppName();
  {
    ui::ModuleState state("Inner");
    state.AddDialogTemplate(kPageTemplate, PageTemplate());
    ui::ScopedModuleState scoped(state);
    EXPECT_EQ(ui::CurrentModuleState().AppName(), "Inner");
    ASSERT_NE(ui::CurrentModuleState().FindDialogTemplate(kPageTemplate), nullptr);
    EXPECT_EQ(ui::CurrentModuleState().FindDialogTemplate(kPageTemplate)->controls.size(), 5u);
    EXPECT_EQ(ui::CurrentModuleState().FindDialogTemplate(1), nullptr);
  }
  EXPECT_EQ(ui::CurrentModuleState().AppName(), before);
}

}  // namespace
