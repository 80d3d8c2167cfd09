#include "host/module_wide_state.h"

void PrepareHostModuleState() {
  host_detail::TouchExitCallbackList();
  host_detail::TouchEnvRegistryHolder();
  host_detail::TouchAccessCache();
  host_detail::TouchFunctionNameTable();
}
