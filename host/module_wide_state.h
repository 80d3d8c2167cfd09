#pragma once
// The host services keep their module-wide state in objects made on first use. A module makes
// them at load, before its own start-up object is complete, so that they are destroyed after it:
// its unload runs the exit callbacks, which still use them.
void PrepareHostModuleState();

namespace host_detail {
void TouchExitCallbackList();
void TouchEnvRegistryHolder();
void TouchAccessCache();
void TouchFunctionNameTable();
}  // namespace host_detail
