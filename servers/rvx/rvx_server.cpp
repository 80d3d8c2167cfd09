#include "servers/rvx/rvx_server.h"

#include <mutex>

#include "platform/com/class_object.h"
#include "servers/rvx/class_factory.h"
#include "servers/rvx/command.h"
#include "servers/rvx/server.h"
#include "services/rvx.h"

namespace rvx {
namespace {

template <class T>
HRESULT CreateObject(REFIID iid, void** out) {
  com::ComPtr<T> object;
  HRESULT hr = com::Object<T>::Create(&object);
  if (FAILED(hr)) return hr;
  return object->QueryInterface(iid, out);
}

}  // namespace

HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  CreateInstanceFunction create = nullptr;
  if (clsid == CLSID_RvxServer) {
    create = &CreateObject<Server>;
  } else if (clsid == CLSID_RvxCommand) {
    create = &CreateObject<Command>;
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
    for (const CLSID* clsid : {&CLSID_RvxServer, &CLSID_RvxCommand}) {
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

}  // namespace rvx
