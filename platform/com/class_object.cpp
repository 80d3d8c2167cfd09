#include "platform/com/class_object.h"

#include <map>
#include <mutex>
#include <string>

#include "platform/com/guid.h"

namespace {

struct ClassTable {
  std::mutex mutex;
  std::map<std::uint32_t, std::pair<CLSID, com::ComPtr<IUnknown>>> byCookie;
  std::map<std::u16string, CLSID> progIds;
  std::uint32_t nextCookie = 1;
};

ClassTable& Table() {
  static ClassTable table;
  return table;
}

}  // namespace

HRESULT CoRegisterClassObject(REFCLSID clsid, IUnknown* classObject, std::uint32_t /*context*/,
                              std::uint32_t /*flags*/, std::uint32_t* cookie) {
  if (!classObject || !cookie) return E_INVALIDARG;
  ClassTable& table = Table();
  std::lock_guard lock(table.mutex);
  *cookie = table.nextCookie++;
  table.byCookie.emplace(*cookie, std::make_pair(clsid, com::ComPtr<IUnknown>(classObject)));
  return S_OK;
}

HRESULT CoRevokeClassObject(std::uint32_t cookie) {
  com::ComPtr<IUnknown> released;
  ClassTable& table = Table();
  std::lock_guard lock(table.mutex);
  auto it = table.byCookie.find(cookie);
  if (it == table.byCookie.end()) return E_INVALIDARG;
  released = std::move(it->second.second);  // released after the lock is let go
  table.byCookie.erase(it);
  return S_OK;
}

HRESULT CoGetClassObject(REFCLSID clsid, std::uint32_t /*context*/, void* /*reserved*/, REFIID iid,
                         void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  com::ComPtr<IUnknown> registered;
  {
    ClassTable& table = Table();
    std::lock_guard lock(table.mutex);
    // The newest registration of a class wins.
    for (auto it = table.byCookie.rbegin(); it != table.byCookie.rend(); ++it) {
      if (it->second.first == clsid) {
        registered = it->second.second;
        break;
      }
    }
  }
  if (registered) return registered->QueryInterface(iid, object);
  return com::GetInstalledClassObject(clsid, iid, object);
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, std::uint32_t context, REFIID iid,
                         void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (outer && iid != IUnknown::IID_) return CLASS_E_NOAGGREGATION;
  com::ComPtr<IClassFactory> factory;
  HRESULT hr = CoGetClassObject(clsid, context, nullptr, IClassFactory::IID_,
                                factory.ReleaseAndGetVoidAddress());
  if (FAILED(hr)) return hr;
  if (!factory) return REGDB_E_CLASSNOTREG;
  return factory->CreateInstance(outer, iid, object);
}

HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid) {
  if (!progId || !clsid) return E_INVALIDARG;
  std::u16string key(progId);
  {
    ClassTable& table = Table();
    std::lock_guard lock(table.mutex);
    auto it = table.progIds.find(key);
    if (it != table.progIds.end()) {
      *clsid = it->second;
      return S_OK;
    }
  }
  return com::InstalledClsidFromProgId(key, clsid);
}

HRESULT OleRun(IUnknown* object) {
  if (!object) return E_INVALIDARG;
  com::ComPtr<IRunnableObject> runnable;
  if (FAILED(object->QueryInterface(IRunnableObject::IID_, runnable.ReleaseAndGetVoidAddress())) ||
      !runnable) {
    return S_OK;
  }
  return runnable->Run();
}

namespace com {

HRESULT RegisterProgId(std::u16string_view progId, REFCLSID clsid) {
  ClassTable& table = Table();
  std::lock_guard lock(table.mutex);
  table.progIds[std::u16string(progId)] = clsid;
  return S_OK;
}

void UnregisterProgId(std::u16string_view progId) {
  ClassTable& table = Table();
  std::lock_guard lock(table.mutex);
  table.progIds.erase(std::u16string(progId));
}

}  // namespace com
