#include "servers/env/env_service.h"

#include <mutex>

#include "platform/com/class_object.h"
#include "servers/env/class_factory.h"
#include "servers/env/environment.h"
#include "servers/env/registry.h"
#include "services/env.h"

namespace env {
namespace {

HRESULT CreateEnvironment(REFIID iid, void** out) {
  com::ComPtr<Environment> environment;
  HRESULT hr = com::Object<Environment>::Create(&environment);
  if (FAILED(hr)) return hr;
  return environment->QueryInterface(iid, out);
}

}  // namespace

HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  CreateInstanceFunction create = nullptr;
  if (clsid == CLSID_EnvRegistry) {
    create = &GetProcessRegistry;
  } else if (clsid == CLSID_Env) {
    create = &CreateEnvironment;
  } else {
    return CLASS_E_CLASSNOTAVAILABLE;
  }
  com::ComPtr<ClassFactory> factory;
  HRESULT hr = com::Object<ClassFactory>::Create(&factory, create);
  if (FAILED(hr)) return hr;
  return factory->QueryInterface(iid, out);
}

void RegisterInProcess() {
  static std::once_flag once;
  std::call_once(once, [] {
    for (const CLSID* clsid : {&CLSID_EnvRegistry, &CLSID_Env}) {
      com::ComPtr<IUnknown> factory;
      if (FAILED(GetClassObject(*clsid, IUnknown::IID_, factory.ReleaseAndGetVoidAddress()))) {
        continue;
      }
      std::uint32_t cookie = 0;
      CoRegisterClassObject(*clsid, factory.Get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                            &cookie);
    }
  });
}

}  // namespace env
