#include "browser/all_controls_sheet.h"

#include "browser/dialog_template_202.h"
#include "component/component_module_state.h"
#include "component/rev_manager_sheet.h"
#include "platform/ui/dialog_front_end.h"
#include "platform/ui/module_state.h"

namespace browser {

CAllControlsSheet::CAllControlsSheet(std::string caption, os::WindowHandle parent, int firstPage)
    : PropertySheet(std::move(caption), parent, firstPage) {
  Header().flags |= ui::kSheetNoApplyNow;
  Header().flags &= ~ui::kSheetHasHelp;
  AddPage(&listPage_);
  Map()
      .OnMessage(ui::Message::QueryDragIcon,
                 [this](ui::WParam, ui::LParam) { return reinterpret_cast<ui::LResult>(icon_); })
      .OnMessage(ui::Message::SysCommand, [this](ui::WParam command, ui::LParam lParam) {
        return DefaultSysCommand(command, lParam);
      });
}

CAllControlsSheet::~CAllControlsSheet() = default;

const RuntimeClass& CAllControlsSheet::ClassRecord() {
  static const RuntimeClass record{"CAllControlsSheet", false};
  return record;
}

bool CAllControlsSheet::OnInitDialog() {
  SendMessage(ui::Message::SetIcon, ui::kIconSmall, reinterpret_cast<ui::LParam>(icon_));
  return PropertySheet::OnInitDialog();
}

void RunRevManagerSheet() {
  EnsureListRevisionsTemplate(ui::CurrentModuleState());
  ui::EnableControlContainer();
  CAllControlsSheet sheet(kRevManagerSheetCaption, nullptr, 0);
  sheet.DoModal();
}

void InstallRevManagerSheet() {
  EnsureListRevisionsTemplate(component::ComponentModuleState());
  component::SetRevManagerSheetRunner(&RunRevManagerSheet);
}

}  // namespace browser
