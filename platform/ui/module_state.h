#pragma once
// Per-module state of the dialog framework: each module (the component, the host program) has
// its own application name and resources; the state in force decides which are used.
#include <map>
#include <memory>
#include <string>

namespace ui {

struct DialogTemplate;

class ModuleState {
 public:
  // appName is the caption of the module's own message boxes.
  explicit ModuleState(std::string appName);
  ~ModuleState();
  ModuleState(const ModuleState&) = delete;
  ModuleState& operator=(const ModuleState&) = delete;

  const std::string& AppName() const { return appName_; }

  // Dialog templates built into the module, by id.
  void AddDialogTemplate(int id, std::shared_ptr<const DialogTemplate> dialogTemplate);
  std::shared_ptr<const DialogTemplate> FindDialogTemplate(int id) const;

 private:
  std::string appName_;
  std::map<int, std::shared_ptr<const DialogTemplate>> templates_;
};

// The state in force on the calling thread (the process's default state when none was set).
ModuleState& CurrentModuleState();

// Puts a module's state in force for a scope and restores the caller's on every way out.
class ScopedModuleState {
 public:
  explicit ScopedModuleState(ModuleState& state);
  ~ScopedModuleState();
  ScopedModuleState(const ScopedModuleState&) = delete;
  ScopedModuleState& operator=(const ScopedModuleState&) = delete;

 private:
  ModuleState* previous_;
};

}  // namespace ui
