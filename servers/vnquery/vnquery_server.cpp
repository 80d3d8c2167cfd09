#include "servers/vnquery/vnquery_server.h"

#include <mutex>

#include "platform/com/class_object.h"
#include "platform/com/object.h"
#include "servers/vnquery/vnquery.h"
#include "services/vnquery.h"

namespace vnquery {
namespace {

// Makes a new, unaggregated query object per request.
class ClassFactory : public com::Implements<IClassFactory> {
 public:
  HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return CreateVnQuery(iid, out);
  }
  HRESULT LockServer(BOOL /*lock*/) override { return S_OK; }
};

}  // namespace

HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (clsid != CLSID_VNQuery) return CLASS_E_CLASSNOTAVAILABLE;
  com::ComPtr<ClassFactory> factory;
  HRESULT hr = com::Object<ClassFactory>::Create(&factory);
  if (FAILED(hr)) return hr;
  return factory->QueryInterface(iid, out);
}

void RegisterInProcess() {
  static std::once_flag once;
  std::call_once(once, [] {
    com::ComPtr<IUnknown> factory;
    if (FAILED(GetClassObject(CLSID_VNQuery, IUnknown::IID_, factory.ReleaseAndGetVoidAddress()))) {
      return;
    }
    std::uint32_t cookie = 0;
    CoRegisterClassObject(CLSID_VNQuery, factory.Get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                          &cookie);
    com::RegisterProgId(kVnQueryProgId, CLSID_VNQuery);
  });
}

}  // namespace vnquery
