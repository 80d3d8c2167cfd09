#include "servers/vnquery/vnquery_server.h"

#include <mutex>

#include "platform/com/class_factory.h"
#include "servers/vnquery/vnquery.h"
#include "services/vnquery.h"

namespace vnquery {
namespace {

constexpr com::ServedClass kClasses[] = {{CLSID_VNQuery, &CreateVnQuery}};

}  // namespace

HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  return com::GetServedClassObject(kClasses, clsid, iid, out);
}

void RegisterInProcess() {
  static std::once_flag once;
  std::call_once(once, [] {
    // The ProgID names the class only once its class object is there to answer it.
    if (FAILED(com::RegisterServedClasses(kClasses))) return;
    com::RegisterProgId(kVnQueryProgId, CLSID_VNQuery);
  });
}

}  // namespace vnquery
