// Template 202 as data: every control with its kind, text, place, size and style.
#include <gtest/gtest.h>

#include "browser/dialog_template_202.h"

namespace browser {
namespace {

using ui::ControlKind;
namespace st = ui::style;

TEST(ListRevisionsTemplate, DialogFields) {
  const auto t = ListRevisionsTemplate();
  EXPECT_EQ(t->id, 202);
  EXPECT_EQ(t->caption, "List revisions");
  EXPECT_EQ(t->width, 554);
  EXPECT_EQ(t->height, 279);
  EXPECT_EQ(t->fontName, "MS Sans Serif");
  EXPECT_EQ(t->fontPointSize, 8);
  EXPECT_TRUE(t->style & st::kChild);
  EXPECT_TRUE(t->style & st::kCaption);
}

TEST(ListRevisionsTemplate, EveryControlInTemplateOrder) {
  struct Expected {
    int id;
    ControlKind kind;
    const char* text;
    ui::DialogRect rect;
  };
  const Expected expected[] = {
      {201, ControlKind::ComboBox, "", {445, 17, 91, 79}},
      {205, ControlKind::Edit, "", {445, 33, 91, 13}},
      {220, ControlKind::ComboBox, "", {445, 49, 91, 29}},
      {219, ControlKind::ComboBox, "", {445, 66, 91, 30}},
      {209, ControlKind::DefaultPushButton, "&List", {483, 86, 53, 15}},
      {214, ControlKind::Edit, "", {420, 126, 116, 12}},
      {215, ControlKind::Edit, "", {420, 142, 116, 12}},
      {216, ControlKind::PushButton, "&Rename", {483, 159, 53, 15}},
      {234, ControlKind::AutoCheckBox, "Number of revisions to keep", {387, 198, 104, 10}},
      {235, ControlKind::Edit, "", {493, 196, 33, 12}},
      {236, ControlKind::PushButton, "&Delete listed", {476, 216, 60, 16}},
      {213, ControlKind::PushButton, "Delete &selected ", {476, 246, 60, 16}},
      {204, ControlKind::ListView, "List1", {7, 7, 365, 261}},
      {-1, ControlKind::StaticText, "Model type", {387, 20, 35, 10}},
      {-1, ControlKind::StaticText, "Object name", {387, 35, 40, 8}},
      {-1, ControlKind::GroupBox, "List", {378, 7, 169, 101}},
      {-1, ControlKind::GroupBox, "Rename revision", {378, 113, 169, 66}},
      {-1, ControlKind::StaticText, "Name", {387, 130, 22, 8}},
      {-1, ControlKind::StaticText, "Remark", {387, 145, 25, 9}},
      {-1, ControlKind::StaticText, "Created after", {387, 68, 52, 10}},
      {-1, ControlKind::StaticText, "Created before", {387, 52, 50, 8}},
      {-1, ControlKind::GroupBox, "Delete old revision of listed objects", {378, 185, 169, 53}},
  };
  const auto t = ListRevisionsTemplate();
  ASSERT_EQ(t->controls.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const ui::ControlTemplate& c = t->controls[i];
    SCOPED_TRACE(expected[i].text + std::string(" #") + std::to_string(i));
    EXPECT_EQ(c.id, expected[i].id);
    EXPECT_EQ(c.kind, expected[i].kind);
    EXPECT_EQ(c.text, expected[i].text);
    EXPECT_EQ(c.rect, expected[i].rect);
  }
}

TEST(ListRevisionsTemplate, StylesOfTheControls) {
  const auto t = ListRevisionsTemplate();
  for (int combo : {201, 219, 220}) {
    const std::uint32_t style = t->FindControl(combo)->style;
    EXPECT_TRUE((style & st::kDropDown) && (style & st::kSort) && (style & st::kVScroll)) << combo;
  }
  for (int edit : {205, 214, 215, 235}) {
    const std::uint32_t style = t->FindControl(edit)->style;
    EXPECT_TRUE((style & st::kBorder) && (style & st::kAutoHScroll)) << edit;
  }
  const std::uint32_t list = t->FindControl(204)->style;
  EXPECT_TRUE(list & st::kReport);
  EXPECT_TRUE(list & st::kShowSelAlways);
  EXPECT_TRUE(list & st::kBorder);
  EXPECT_FALSE(list & st::kSingleSel) << "several rows may be selected";
}

TEST(ListRevisionsTemplate, EnsureAddsItOnce) {
  ui::ModuleState module("m");
  EnsureListRevisionsTemplate(module);
  const auto first = module.FindDialogTemplate(202);
  ASSERT_NE(first, nullptr);
  EnsureListRevisionsTemplate(module);
  EXPECT_EQ(module.FindDialogTemplate(202), first);
}

}  // namespace
}  // namespace browser
