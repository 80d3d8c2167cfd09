#pragma once
// What the stand-in server modules have in common: registration from the module's registry
// script (resource 103) with the module's path and the class identities filled in. A stand-in
// keeps process-wide state (open databases, the environment registry), so it stays loaded once
// it is.
#include <filesystem>
#include <optional>

#include "platform/com/module_resource.h"
#include "platform/com/registry_script.h"

#define SERVER_MODULE_EXPORT extern "C" __attribute__((visibility("default")))

namespace server_module {

inline HRESULT Register(const void* addressInModule, com::ScriptReplacements replacements,
                        bool doRegister) {
  try {
    auto path = com::ModulePathOf(addressInModule);
    if (!path) return E_UNEXPECTED;
    auto script = com::ReadModuleResource(*path, "REGISTRY", 103);
    if (!script) return E_UNEXPECTED;
    replacements["MODULE"] = path->string();
    return com::RunRegistryScript(*script, replacements, doRegister);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

}  // namespace server_module
