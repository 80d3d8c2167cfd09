#include "platform/ui/module_state.h"

namespace ui {

namespace {
thread_local ModuleState* t_current = nullptr;

ModuleState& ProcessDefaultState() {
  static ModuleState state("revmgr");
  return state;
}
}  // namespace

ModuleState::ModuleState(std::string appName) : appName_(std::move(appName)) {}
ModuleState::~ModuleState() = default;

void ModuleState::AddDialogTemplate(int id, std::shared_ptr<const DialogTemplate> dialogTemplate) {
  templates_[id] = std::move(dialogTemplate);
}

std::shared_ptr<const DialogTemplate> ModuleState::FindDialogTemplate(int id) const {
  auto it = templates_.find(id);
  return it == templates_.end() ? nullptr : it->second;
}

ModuleState& CurrentModuleState() {
  return t_current ? *t_current : ProcessDefaultState();
}

ScopedModuleState::ScopedModuleState(ModuleState& state) : previous_(t_current) {
  t_current = &state;
}

ScopedModuleState::~ScopedModuleState() {
  t_current = previous_;
}

}  // namespace ui
