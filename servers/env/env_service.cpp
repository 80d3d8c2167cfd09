#include "servers/env/env_service.h"

#include <mutex>

#include "platform/com/class_factory.h"
#include "servers/env/environment.h"
#include "servers/env/registry.h"
#include "services/env.h"

namespace env {
namespace {

constexpr com::ServedClass kClasses[] = {
    {CLSID_EnvRegistry, &GetProcessRegistry},
    {CLSID_Env, &com::CreateObject<Environment>},
};

}  // namespace

HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  return com::GetServedClassObject(kClasses, clsid, iid, out);
}

void RegisterInProcess() {
  static std::once_flag once;
  std::call_once(once, [] { com::RegisterServedClasses(kClasses); });
}

}  // namespace env
