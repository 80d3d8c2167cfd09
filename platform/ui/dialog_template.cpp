#include "platform/ui/dialog_template.h"

namespace ui {

const ControlTemplate* DialogTemplate::FindControl(int controlId) const {
  for (const ControlTemplate& control : controls) {
    if (control.id == controlId) return &control;
  }
  return nullptr;
}

const char* ControlKindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::StaticText:
      return "static text";
    case ControlKind::GroupBox:
      return "group box";
    case ControlKind::Edit:
      return "edit";
    case ControlKind::PushButton:
      return "push button";
    case ControlKind::DefaultPushButton:
      return "default push button";
    case ControlKind::AutoCheckBox:
      return "automatic check box";
    case ControlKind::ComboBox:
      return "combo box";
    case ControlKind::ListView:
      return "list view";
  }
  return "?";
}

}  // namespace ui
