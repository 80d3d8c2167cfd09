#include "servers/env/registry.h"

#include <new>

#include "servers/env/error.h"

namespace env {

HRESULT Registry::RegisterEnv(std::uint32_t threadId, IEnvVariables* env) {
  if (!env) {
    return Fail(E_POINTER, kSourceRegistry, u"No environment object to register",
                IEnvRegistry::IID_);
  }
  try {
    std::lock_guard lock(mutex_);
    byThread_[threadId].emplace_back(env);
  } catch (const std::bad_alloc&) {
    return Fail(E_OUTOFMEMORY, kSourceRegistry, u"Out of memory", IEnvRegistry::IID_);
  }
  return S_OK;
}

HRESULT Registry::UnregisterEnv(std::uint32_t threadId) {
  com::ComPtr<IEnvVariables> dropped;  // released once the lock is let go
  std::lock_guard lock(mutex_);
  auto it = byThread_.find(threadId);
  if (it == byThread_.end()) return S_FALSE;
  dropped = std::move(it->second.back());
  it->second.pop_back();
  if (it->second.empty()) byThread_.erase(it);
  return S_OK;
}

HRESULT Registry::FindEnv(std::uint32_t threadId, IUnknown** env) {
  if (!env) return Fail(E_POINTER, kSourceRegistry, u"No place for the object", IEnvRegistry::IID_);
  *env = nullptr;
  com::ComPtr<IEnvVariables> found;
  {
    std::lock_guard lock(mutex_);
    auto it = byThread_.find(threadId);
    if (it == byThread_.end()) return S_FALSE;
    found = it->second.back();
  }
  return found->QueryInterface(IUnknown::IID_, reinterpret_cast<void**>(env));
}

HRESULT Registry::InterfaceSupportsErrorInfo(REFIID iid) {
  return iid == IEnvRegistry::IID_ ? S_OK : S_FALSE;
}

HRESULT GetProcessRegistry(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  // Made once, thread-safe by the language; lives until the process ends.
  static const com::ComPtr<Registry> registry = [] {
    com::ComPtr<Registry> made;
    com::Object<Registry>::Create(&made);
    return made;
  }();
  if (!registry) return E_OUTOFMEMORY;
  return registry->QueryInterface(iid, out);
}

}  // namespace env
