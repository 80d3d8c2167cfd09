#pragma once
// Functions run once when a module is unloaded or the process ends, newest first.
#include <mutex>
#include <vector>

namespace os {

class ModuleExitList {
 public:
  using Function = void (*)();
  ModuleExitList() = default;
  ModuleExitList(const ModuleExitList&) = delete;
  ModuleExitList& operator=(const ModuleExitList&) = delete;
  ~ModuleExitList() { RunAll(); }

  void Add(Function function);
  // Runs every function once, in reverse order of registration, and empties the list.
  void RunAll();
  bool Empty() const;

 private:
  mutable std::mutex mutex_;
  std::vector<Function> functions_;
};

// The exit list of the module this code is linked into. Defined by this_module_exit_list.cpp,
// which every module (shared library or program) compiles in itself, so each has its own list
// that runs when that module's static objects are destroyed.
ModuleExitList& ThisModuleExitList();

}  // namespace os
