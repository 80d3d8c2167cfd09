// The module's exports and its life: started when it is loaded, stopped when it is unloaded.
#include <filesystem>
#include <string>

#include "browser/all_controls_sheet.h"
#include "component/component_module_state.h"
#include "component/rev_manager.h"
#include "component/rev_manager_ids.h"
#include "host/module_wide_state.h"
#include "module/module_lock.h"
#include "module/module_resources.h"
#include "module/rev_manager_class_factory.h"
#include "platform/com/module_resource.h"
#include "platform/com/registry_script.h"
#include "platform/com/type_library.h"
#include "platform/com/utf.h"
#include "platform/os/module_exit_list.h"
#include "platform/ui/module_state.h"

#define MODULE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// Starts the component module at load and stops it at unload: the exit callbacks of the
// module's host services run first, then the cached class object goes.
class ModuleLife {
 public:
  ModuleLife() {
    // Made before this object is complete, the host services' state and the exit list outlive
    // it, so the destructor may still run the exit callbacks, which use that state.
    PrepareHostModuleState();
    os::ThisModuleExitList();
    ui::ScopedModuleState state(component::ComponentModuleState());
    component::SetRevManagerModuleLock(&module::LockModule, &module::UnlockModule);
    browser::InstallRevManagerSheet();
  }
  ~ModuleLife() {
    os::ThisModuleExitList().RunAll();
    module::RevManagerClassFactory::ReleaseCached();
    component::SetRevManagerModuleLock(nullptr, nullptr);
  }
  ModuleLife(const ModuleLife&) = delete;
  ModuleLife& operator=(const ModuleLife&) = delete;
};

ModuleLife g_moduleLife;

std::optional<std::filesystem::path> ThisModule() {
  return com::ModulePathOf(module::AddressInModule());
}

HRESULT RunRegistration(bool doRegister) {
  auto path = ThisModule();
  if (!path) return E_UNEXPECTED;
  auto script = com::ReadModuleResource(*path, "REGISTRY", module::kRegistryScriptId);
  if (!script) return E_UNEXPECTED;
  return com::RunRegistryScript(*script, {{"MODULE", path->string()}}, doRegister);
}

}  // namespace

MODULE_EXPORT HRESULT DllCanUnloadNow() {
  ui::ScopedModuleState state(component::ComponentModuleState());
  return module::ModuleLockCount() == 0 ? S_OK : S_FALSE;
}

MODULE_EXPORT HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (clsid != CLSID_RevManager) return CLASS_E_CLASSNOTAVAILABLE;
  IClassFactory* factory = module::RevManagerClassFactory::Cached();
  if (!factory) return E_OUTOFMEMORY;
  return factory->QueryInterface(iid, object);
}

MODULE_EXPORT HRESULT DllRegisterServer() {
  try {
    HRESULT hr = RunRegistration(true);
    if (FAILED(hr)) return hr;
    auto path = ThisModule();
    if (!path) return E_UNEXPECTED;
    const std::u16string file = com::ToUtf16(path->string());
    const std::u16string folder = com::ToUtf16(path->parent_path().string());
    com::ComPtr<ITypeLib> lib;
    hr = LoadTypeLib(file.c_str(), &lib);
    if (FAILED(hr)) return hr;
    return RegisterTypeLib(lib.Get(), file.c_str(), folder.c_str());
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

MODULE_EXPORT HRESULT DllUnregisterServer() {
  try {
    HRESULT hr = RunRegistration(false);
    if (FAILED(hr)) return hr;
    hr = UnRegisterTypeLib(LIBID_VNMORMGRLib, kVnmorMgrLibMajor, kVnmorMgrLibMinor, 0, SYS_LINUX64);
    // A library that is not registered (any more) is what unregistration wants.
    return hr == TYPE_E_LIBNOTREGISTERED ? S_OK : hr;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}
