// A small in-process server module for the tests of installation through the registry: one
// class, a lock count, a registry script among its resources.
#include <atomic>

#include "platform/com/class_object.h"
#include "platform/com/module_resource.h"
#include "platform/com/object.h"
#include "platform/com/registry_script.h"
#include "tests/com/registry_test_server/ping.h"

#define EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr const CLSID& kClsid = com_test::kPingClsid;
using com_test::IPing;

REVMGR_MODULE_RESOURCE(kScript, "REGISTRY", 103, R"(
HKCR
{
  ComTest.Thing = s 'Thing'
  {
    CLSID = s '{7D3E0C11-5A1B-4C2D-9E3F-00000000B001}'
  }
  NoRemove CLSID
  {
    ForceRemove {7D3E0C11-5A1B-4C2D-9E3F-00000000B001} = s 'Thing'
    {
      InprocServer32 = s '%MODULE%'
    }
  }
})");

std::atomic<int> g_locks{0};

class Pinger : public com::Implements<IPing> {
 public:
  Pinger() { ++g_locks; }
  ~Pinger() override { --g_locks; }
  int Ping() override { return 7; }
};

class Factory final : public IClassFactory {
 public:
  HRESULT QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IUnknown::IID_ && iid != IClassFactory::IID_) return E_NOINTERFACE;
    *out = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return static_cast<ULONG>(++g_locks); }
  ULONG Release() override { return static_cast<ULONG>(--g_locks); }
  HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    com::ComPtr<Pinger> pinger;
    HRESULT hr = com::Object<Pinger>::Create(&pinger);
    if (FAILED(hr)) return hr;
    return pinger->QueryInterface(iid, out);
  }
  HRESULT LockServer(BOOL lock) override {
    g_locks += lock ? 1 : -1;
    return S_OK;
  }
};

Factory g_factory;

}  // namespace

EXPORT HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (clsid != kClsid) return CLASS_E_CLASSNOTAVAILABLE;
  return g_factory.QueryInterface(iid, out);
}

EXPORT HRESULT DllCanUnloadNow() {
  return g_locks == 0 ? S_OK : S_FALSE;
}

EXPORT HRESULT DllRegisterServer() {
  auto path = com::ModulePathOf(&kScript);
  if (!path) return E_FAIL;
  auto script = com::ReadModuleResource(*path, "REGISTRY", 103);
  if (!script) return E_FAIL;
  return com::RunRegistryScript(*script, {{"MODULE", path->string()}}, true);
}
