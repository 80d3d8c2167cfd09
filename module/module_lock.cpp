#include "module/module_lock.h"

#include <atomic>

namespace module {

namespace {
std::atomic<std::int32_t> g_lockCount{0};
}  // namespace

void LockModule() {
  g_lockCount.fetch_add(1);
}

void UnlockModule() {
  g_lockCount.fetch_sub(1);
}

std::int32_t ModuleLockCount() {
  return g_lockCount.load();
}

}  // namespace module
