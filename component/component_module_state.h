#pragma once
// The component module's own dialog-framework state (application name "VNMORMgr"): every member
// and export puts it in force for its duration.
#include "platform/ui/module_state.h"

namespace component {

inline constexpr char kComponentAppName[] = "VNMORMgr";

ui::ModuleState& ComponentModuleState();

}  // namespace component
