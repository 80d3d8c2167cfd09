#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/ui/control.h"

namespace {

using ::testing::ElementsAre;

class CommandLog : public ui::ControlHost {
 public:
  void OnControlCommand(int controlId, int code) override { commands.push_back({controlId, code}); }
  ui::LResult OnControlNotify(const ui::NotifyHeader&) override { return 0; }
  std::vector<std::pair<int, int>> commands;
};

ui::ControlTemplate Make(int id, ui::ControlKind kind, std::uint32_t style = 0,
                         std::string text = "") {
  ui::ControlTemplate t;
  t.id = id;
  t.kind = kind;
  t.style = style;
  t.text = std::move(text);
  return t;
}

TEST(Controls, SortedComboKeepsItsListInByteOrderAndShowsThePickInItsEditField) {
  CommandLog log;
  ui::ComboBox combo(Make(201, ui::ControlKind::ComboBox, ui::style::kDropDown | ui::style::kSort),
                     &log);
  for (const char* entry : {"Plane panels", "All models", "Drawings", "Vent models", "equip"}) {
    combo.AddString(entry);
  }
  EXPECT_THAT(combo.Entries(),
              ElementsAre("All models", "Drawings", "Plane panels", "Vent models", "equip"));
  EXPECT_EQ(combo.FindExact("Drawings"), 1);
  EXPECT_EQ(combo.FindExact("drawings"), -1);
  combo.UserPick(2);
  EXPECT_EQ(combo.Text(), "Plane panels");
  EXPECT_EQ(combo.CurSel(), 2);
  // An entry added before the selection moves the selection with its entry.
  combo.AddString("Cableway models");
  EXPECT_EQ(combo.CurSel(), 3);
  combo.UserType("typed");
  EXPECT_EQ(combo.Text(), "typed");
  EXPECT_EQ(combo.CurSel(), -1);
  EXPECT_THAT(log.commands, ElementsAre(std::pair{201, ui::kComboSelChange},
                                        std::pair{201, ui::kComboEditChange}));
  combo.ResetContent();
  EXPECT_EQ(combo.Count(), 0);
  EXPECT_EQ(combo.Text(), "");
}

TEST(Controls, UnsortedComboAppends) {
  ui::ComboBox combo(Make(1, ui::ControlKind::ComboBox, ui::style::kDropDown), nullptr);
  combo.AddString("b");
  EXPECT_EQ(combo.AddString("a"), 1);
}

TEST(Controls, CheckBoxClickTogglesAndReports) {
  CommandLog log;
  ui::CheckBox box(Make(234, ui::ControlKind::AutoCheckBox, 0, "keep"), &log);
  EXPECT_FALSE(box.IsChecked());
  box.Click();
  EXPECT_TRUE(box.IsChecked());
  box.Click();
  EXPECT_FALSE(box.IsChecked());
  EXPECT_THAT(log.commands,
              ElementsAre(std::pair{234, ui::kButtonClicked}, std::pair{234, ui::kButtonClicked}));
}

TEST(Controls, TextEnabledStateAndTemplateFieldsOfEveryKind) {
  ui::Button button(Make(209, ui::ControlKind::DefaultPushButton, ui::style::kDisabled, "&List"),
                    nullptr);
  EXPECT_EQ(button.Text(), "&List");
  EXPECT_TRUE(button.IsDefault());
  EXPECT_FALSE(button.IsEnabled());
  button.Enable();
  EXPECT_TRUE(button.IsEnabled());
  ui::Edit edit(Make(205, ui::ControlKind::Edit), nullptr);
  edit.SetText("*");
  EXPECT_EQ(edit.Text(), "*");
  edit.Enable(false);
  EXPECT_FALSE(edit.IsEnabled());
  ui::Button plain(Make(216, ui::ControlKind::PushButton), nullptr);
  EXPECT_FALSE(plain.IsDefault());
}

}  // namespace
