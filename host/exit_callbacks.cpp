#include "host/exit_callbacks.h"

#include <forward_list>
#include <mutex>

#include "platform/os/module_exit_list.h"

namespace {

// Guarded so that registrations from two host threads cannot lose a node.
std::mutex g_mutex;
std::forward_list<ExitCallback> g_callbacks;

}  // namespace

void RegisterExitCallback(ExitCallback callback) {
  std::lock_guard lock(g_mutex);
  if (g_callbacks.empty()) os::ThisModuleExitList().Add(&RunExitCallbacks);
  for (ExitCallback listed : g_callbacks) {
    if (listed == callback) return;
  }
  g_callbacks.push_front(callback);
}

void RunExitCallbacks() {
  for (;;) {
    ExitCallback next;
    {
      std::lock_guard lock(g_mutex);
      if (g_callbacks.empty()) return;
      next = g_callbacks.front();
      g_callbacks.pop_front();
    }
    if (next) next();
  }
}
