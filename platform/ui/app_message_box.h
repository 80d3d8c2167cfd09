#pragma once
// The message boxes of a module's own dialogs and members: captioned with the application name
// of the module state in force, owned by the active dialog if there is one.
#include <string_view>

#include "platform/os/message_box.h"

namespace ui {

os::MessageBoxAnswer AppMessageBox(std::string_view text,
                                   os::MessageBoxButtons buttons = os::MessageBoxButtons::Ok,
                                   os::MessageBoxIcon icon = os::MessageBoxIcon::None);

}  // namespace ui
