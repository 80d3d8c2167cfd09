#include "platform/os/module_exit_list.h"

namespace os {

// One list per module: this file is compiled into each module, with hidden visibility.
__attribute__((visibility("hidden"))) ModuleExitList& ThisModuleExitList() {
  static ModuleExitList list;
  return list;
}

}  // namespace os
