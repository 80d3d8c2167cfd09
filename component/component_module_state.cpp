#include "component/component_module_state.h"

namespace component {

ui::ModuleState& ComponentModuleState() {
  static ui::ModuleState state(kComponentAppName);
  return state;
}

}  // namespace component
