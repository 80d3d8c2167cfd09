#include "platform/os/module_exit_list.h"

namespace os {

void ModuleExitList::Add(Function function) {
  std::lock_guard lock(mutex_);
  functions_.push_back(function);
}

void ModuleExitList::RunAll() {
  // A function may register further functions while it runs; those run too.
  for (;;) {
    Function next;
    {
      std::lock_guard lock(mutex_);
      if (functions_.empty()) return;
      next = functions_.back();
      functions_.pop_back();
    }
    next();
  }
}

bool ModuleExitList::Empty() const {
  std::lock_guard lock(mutex_);
  return functions_.empty();
}

}  // namespace os
