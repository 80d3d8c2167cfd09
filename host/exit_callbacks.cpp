#include "host/exit_callbacks.h"

#include <forward_list>
#include <mutex>

#include "host/module_wide_state.h"
#include "platform/os/module_exit_list.h"

namespace {

struct CallbackList {
  // Guarded so that registrations from two host threads cannot lose a node.
  std::mutex mutex;
  std::forward_list<ExitCallback> callbacks;
};

CallbackList& List() {
  static CallbackList list;
  return list;
}

}  // namespace

void host_detail::TouchExitCallbackList() {
  List();
}

void RegisterExitCallback(ExitCallback callback) {
  CallbackList& list = List();
  std::lock_guard lock(list.mutex);
  if (list.callbacks.empty()) os::ThisModuleExitList().Add(&RunExitCallbacks);
  for (ExitCallback listed : list.callbacks) {
    if (listed == callback) return;
  }
  list.callbacks.push_front(callback);
}

void RunExitCallbacks() {
  for (;;) {
    ExitCallback next;
    {
      CallbackList& list = List();
      std::lock_guard lock(list.mutex);
      if (list.callbacks.empty()) return;
      next = list.callbacks.front();
      list.callbacks.pop_front();
    }
    if (next) next();
  }
}
