#include "servers/rvx/rvx_server.h"

#include <mutex>

#include "platform/com/class_factory.h"
#include "servers/rvx/command.h"
#include "servers/rvx/server.h"
#include "services/rvx.h"

namespace rvx {
namespace {

constexpr com::ServedClass kClasses[] = {
    {CLSID_RvxServer, &com::CreateObject<Server>},
    {CLSID_RvxCommand, &com::CreateObject<Command>},
};

}  // namespace

HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  return com::GetServedClassObject(kClasses, clsid, iid, out);
}

void RegisterInProcess() {
  static std::once_flag once;
  std::call_once(once, [] { com::RegisterServedClasses(kClasses); });
}

}  // namespace rvx
