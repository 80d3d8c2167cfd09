#include "browser/dialog_template_202.h"

namespace browser {

namespace {

using ui::ControlKind;
namespace st = ui::style;

constexpr std::uint32_t kComboStyle = st::kDropDown | st::kSort | st::kVScroll | st::kTabStop;
constexpr std::uint32_t kEditStyle = st::kBorder | st::kAutoHScroll | st::kTabStop;

ui::DialogTemplate Build() {
  ui::DialogTemplate t;
  t.id = kListRevisionsTemplateId;
  t.caption = "List revisions";
  t.width = 554;
  t.height = 279;
  t.fontName = "MS Sans Serif";
  t.fontPointSize = 8;
  t.style = st::kChild | st::kCaption;
  t.controls = {
      {kIdModelType, ControlKind::ComboBox, "", {445, 17, 91, 79}, kComboStyle},
      {kIdObjectName, ControlKind::Edit, "", {445, 33, 91, 13}, kEditStyle},
      {kIdCreatedBefore, ControlKind::ComboBox, "", {445, 49, 91, 29}, kComboStyle},
      {kIdCreatedAfter, ControlKind::ComboBox, "", {445, 66, 91, 30}, kComboStyle},
      {kIdList, ControlKind::DefaultPushButton, "&List", {483, 86, 53, 15}, st::kTabStop},
      {kIdRevisionName, ControlKind::Edit, "", {420, 126, 116, 12}, kEditStyle},
      {kIdRevisionRemark, ControlKind::Edit, "", {420, 142, 116, 12}, kEditStyle},
      {kIdRename, ControlKind::PushButton, "&Rename", {483, 159, 53, 15}, st::kTabStop},
      {kIdKeepCheck,
       ControlKind::AutoCheckBox,
       "Number of revisions to keep",
       {387, 198, 104, 10},
       st::kTabStop},
      {kIdKeepCount, ControlKind::Edit, "", {493, 196, 33, 12}, kEditStyle},
      {kIdDeleteListed,
       ControlKind::PushButton,
       "&Delete listed",
       {476, 216, 60, 16},
       st::kTabStop},
      {kIdDeleteSelected,
       ControlKind::PushButton,
       "Delete &selected ",
       {476, 246, 60, 16},
       st::kTabStop},
      {kIdListView,
       ControlKind::ListView,
       "List1",
       {7, 7, 365, 261},
       st::kReport | st::kShowSelAlways | st::kBorder | st::kTabStop},
      {-1, ControlKind::StaticText, "Model type", {387, 20, 35, 10}, 0},
      {-1, ControlKind::StaticText, "Object name", {387, 35, 40, 8}, 0},
      {-1, ControlKind::GroupBox, "List", {378, 7, 169, 101}, 0},
      {-1, ControlKind::GroupBox, "Rename revision", {378, 113, 169, 66}, 0},
      {-1, ControlKind::StaticText, "Name", {387, 130, 22, 8}, 0},
      {-1, ControlKind::StaticText, "Remark", {387, 145, 25, 9}, 0},
      {-1, ControlKind::StaticText, "Created after", {387, 68, 52, 10}, 0},
      {-1, ControlKind::StaticText, "Created before", {387, 52, 50, 8}, 0},
      {-1, ControlKind::GroupBox, "Delete old revision of listed objects", {378, 185, 169, 53}, 0},
  };
  return t;
}

}  // namespace

std::shared_ptr<const ui::DialogTemplate> ListRevisionsTemplate() {
  static const std::shared_ptr<const ui::DialogTemplate> instance =
      std::make_shared<const ui::DialogTemplate>(Build());
  return instance;
}

void EnsureListRevisionsTemplate(ui::ModuleState& module) {
  if (!module.FindDialogTemplate(kListRevisionsTemplateId)) {
    module.AddDialogTemplate(kListRevisionsTemplateId, ListRevisionsTemplate());
  }
}

}  // namespace browser
