// The four entry points of a stand-in server module. Registration runs the module's registry
// script with the module's path and class identities filled in. A stand-in keeps process-wide
// state (open databases, the environment registry), so it stays loaded once it is.
#include "platform/com/module_resource.h"
#include "platform/com/registry_script.h"
#include "servers/modules/server_module.h"

#define SERVER_MODULE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// Any address inside this module, to find the module's file by.
const char kInThisModule = 0;

HRESULT Register(bool doRegister) {
  try {
    auto path = com::ModulePathOf(&kInThisModule);
    if (!path) return E_UNEXPECTED;
    auto script = com::ReadModuleResource(*path, "REGISTRY", 103);
    if (!script) return E_UNEXPECTED;
    com::ScriptReplacements replacements = server_module::Identities();
    replacements["MODULE"] = path->string();
    return com::RunRegistryScript(*script, replacements, doRegister);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

}  // namespace

SERVER_MODULE_EXPORT HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  return server_module::GetClassObject(clsid, iid, object);
}
SERVER_MODULE_EXPORT HRESULT DllCanUnloadNow() {
  return S_FALSE;
}
SERVER_MODULE_EXPORT HRESULT DllRegisterServer() {
  return Register(true);
}
SERVER_MODULE_EXPORT HRESULT DllUnregisterServer() {
  return Register(false);
}
