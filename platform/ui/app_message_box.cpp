#include "platform/ui/app_message_box.h"

#include "platform/ui/module_state.h"

namespace ui {

os::MessageBoxAnswer AppMessageBox(std::string_view text, os::MessageBoxButtons buttons,
                                   os::MessageBoxIcon icon) {
  os::MessageBoxRequest request;
  request.text = std::string(text);
  request.caption = CurrentModuleState().AppName();
  request.buttons = buttons;
  request.icon = icon;
  return os::ShowMessageBox(request);
}

}  // namespace ui
