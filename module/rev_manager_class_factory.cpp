#include "module/rev_manager_class_factory.h"

#include <new>

#include "component/rev_manager.h"
#include "module/module_lock.h"

namespace module {

namespace {

std::mutex g_cacheMutex;
RevManagerClassFactory* g_cached = nullptr;

}  // namespace

IClassFactory* RevManagerClassFactory::Cached() {
  std::lock_guard lock(g_cacheMutex);
  if (!g_cached) {
    g_cached = new (std::nothrow) RevManagerClassFactory();
    if (!g_cached) return nullptr;
    g_cached->references_ = 1;  // the module's own reference
  }
  return g_cached;
}

void RevManagerClassFactory::ReleaseCached() {
  RevManagerClassFactory* cached = nullptr;
  {
    std::lock_guard lock(g_cacheMutex);
    cached = std::exchange(g_cached, nullptr);
  }
  if (cached) cached->Release();
}

HRESULT RevManagerClassFactory::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (iid != IUnknown::IID_ && iid != IClassFactory::IID_) return E_NOINTERFACE;
  *object = static_cast<IClassFactory*>(this);
  AddRef();
  return S_OK;
}

// The module's own reference is the first; a client's references lock the module.
ULONG RevManagerClassFactory::AddRef() {
  std::lock_guard lock(mutex_);
  if (++references_ == 2) LockModule();
  return references_;
}

ULONG RevManagerClassFactory::Release() {
  ULONG remaining;
  {
    std::lock_guard lock(mutex_);
    remaining = --references_;
    if (remaining == 1) UnlockModule();
  }
  if (remaining == 0) delete this;
  return remaining;
}

HRESULT RevManagerClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
  return component::CreateRevManager(outer, iid, object);
}

HRESULT RevManagerClassFactory::LockServer(BOOL lock) {
  if (lock) {
    LockModule();
  } else {
    UnlockModule();
  }
  return S_OK;
}

}  // namespace module
